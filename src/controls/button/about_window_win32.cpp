#include "controls/button/about_window_win32.h"

#include <string>

#include "controls/button/about_layout.h"
#include "controls/button/button_paint_win32.h"
#include "winmsg/font_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/system_colour_win32.h"

namespace lumadex::button {
namespace {

constexpr Colour kBlue = Rgb(0, 0, 255);

void Text(HDC dc, HFONT font, Colour colour, const std::wstring& text, const Rect& where, UINT format) {
  const ScopedSelect selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const COLORREF old = SetTextColor(dc, colour);
  RECT r{where.left, where.top, where.right, where.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
  SetTextColor(dc, old);
}

}  // namespace

std::unique_ptr<AboutWindow> AboutWindow::Create(HWND button) {
  std::unique_ptr<AboutWindow> about(new AboutWindow());
  WindowClass windowClass;
  windowClass.name = L"LumadexButtonAbout";
  if (!about->CreateWindowFor(windowClass, 0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, kAboutWidth, kAboutHeight, button,
                              nullptr)) {
    return nullptr;
  }
  about->styleAtCreation_ = GetWindowLongPtrW(about->hwnd(), GWL_STYLE);
  about->nameFont_ = CreateFontOf(AboutNameFont());
  about->textFont_ = CreateFontOf(AboutTextFont());
  about->underlinedFont_ = CreateFontOf(AboutUnderlinedFont());
  return about;
}

void AboutWindow::Show() {
  HWND owner = GetAncestor(GetParent(hwnd()) ? GetParent(hwnd()) : hwnd(), GA_ROOT);
  if (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD) {
    SetParent(hwnd(), nullptr);
    const DWORD style = AboutShownStyle(static_cast<std::uint32_t>(styleAtCreation_));
    SetWindowLongPtrW(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(style));
    // Owned by the form: it goes behind no window of the form and hides with it.
    if (owner && owner != hwnd()) SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  }
  SetWindowTextW(hwnd(), AboutTitle().c_str());
  RECT frame{0, 0, kAboutWidth, kAboutHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT over{};
  HWND centre = GetWindow(hwnd(), GW_OWNER);
  if (!centre || !GetWindowRect(centre, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  const int x = (over.left + over.right - width) / 2, y = (over.top + over.bottom - height) / 2;
  SetPressed(false);
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, width, height, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void AboutWindow::Hide() {
  SetPressed(false);
  ShowWindow(hwnd(), SW_HIDE);
}

void AboutWindow::SetPressed(bool pressed) {
  if (pressed_ == pressed) return;
  pressed_ = pressed;
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

LRESULT AboutWindow::HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      SetPressed(true);
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      RECT client;
      GetClientRect(hwnd(), &client);
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ReleaseCapture();
      // Only a press and release both on the window close it; one dragged off it does not.
      if (PtInRect(&client, at)) Hide();
      else SetPressed(false);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) SetPressed(false);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE || wp == VK_RETURN || wp == VK_SPACE) Hide();
      return 0;
    case WM_CLOSE:
      Hide();  // the button keeps its window for the next time
      return 0;
    case WM_SIZE:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
  }
  return DefaultHandling(msg, wp, lp);
}

void AboutWindow::PaintTo(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  Surface s(client.right, client.bottom);
  if (!s.ok()) return;
  const SystemColours sys = CurrentSystemColours();
  const Colour face = sys[kSysButtonFace], text = sys[kSysButtonText];
  s.Fill(face);
  const AboutLayout l = LayOutAbout(s.width(), s.height());
  const int mode = SetBkMode(s.dc(), TRANSPARENT);
  constexpr UINT kLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  Text(s.dc(), nameFont_.get(), text, kAboutName, l.name, kLine);
  Text(s.dc(), textFont_.get(), text, AboutVersionLine(), l.version, kLine);
  Text(s.dc(), textFont_.get(), text, kAboutCredit, l.credit, kLine);
  Text(s.dc(), underlinedFont_.get(), kBlue, kAboutLink, l.link, kLine);
  SetBkMode(s.dc(), mode);

  const int cw = l.close.right - l.close.left, ch = l.close.bottom - l.close.top;
  Surface close(cw, ch);
  if (!pressed_) {
    // The button's own gradient style, as a button of the form would draw it.
    ButtonProperties props;
    props.Style = kStyleGradient;
    props.Caption = kAboutClose;
    PaintInput in;
    in.props = &props;
    in.system = &sys;
    in.drawnStyle = kStyleGradient;
    in.captionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    in.window = hwnd();
    in.font = textFont_.get();
    PaintButton(close, in);
  } else {
    close.Fill(face);
    close.Gradient(ShadeColor(face, -15), ShadeColor(face, 15), 0, 0, cw, ch - 1);
    close.Outline(0, 0, cw - 1, ch - 1, sys[kSysButtonShadow]);
    const int closeMode = SetBkMode(close.dc(), TRANSPARENT);
    Text(close.dc(), underlinedFont_.get(), kBlue, kAboutClose, Rect{0, 0, cw, ch}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(close.dc(), closeMode);
  }
  GdiFlush();
  BitBlt(s.dc(), l.close.left, l.close.top, cw, ch, close.dc(), 0, 0, SRCCOPY);
  BitBlt(dc, 0, 0, s.width(), s.height(), s.dc(), 0, 0, SRCCOPY);
}

}  // namespace lumadex::button
