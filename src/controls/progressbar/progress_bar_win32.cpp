#include "controls/progressbar/progress_bar_win32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/host/window_text_win32.h"

namespace lumadex {
namespace {

COLOR16 Channel16(int channel) { return static_cast<COLOR16>(channel << 8); }

TRIVERTEX Vertex(int x, int y, Colour c) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = Channel16(RedOf(c));
  v.Green = Channel16(GreenOf(c));
  v.Blue = Channel16(BlueOf(c));
  v.Alpha = 0;
  return v;
}

LOGFONTW LogFontOf(const StoredFont& font) {
  LOGFONTW lf{};
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  lf.lfHeight = -static_cast<LONG>(RoundHalfEven(font.points * dpi / 72.0));
  lf.lfWeight = font.weight;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(font.charset);
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, font.face.c_str(), LF_FACESIZE);
  return lf;
}

}  // namespace

Colour ProgressBar::TranslateColour(Colour c) {
  if (c & 0x80000000u) return static_cast<Colour>(GetSysColor(static_cast<int>(c & 0xFF)));
  return c & 0xFFFFFFu;
}

void ProgressBar::GradientTwoColour(HDC dc, int direction, Colour start, Colour end, int left, int top, int right,
                                    int bottom) {
  if (!dc || right <= left || bottom <= top) return;
  TRIVERTEX vertices[2] = {Vertex(left, top, TranslateColour(start)), Vertex(right, bottom, TranslateColour(end))};
  GRADIENT_RECT rect{0, 1};
  GradientFill(dc, vertices, 2, &rect, 1, direction == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void ProgressBar::DrawGradientFourColour(HDC dc, int left, int top, int width, int height, Colour topLeft,
                                         Colour topRight, Colour bottomLeft, Colour bottomRight) {
  if (!dc || width <= 0 || height <= 0) return;
  const std::vector<Channels> leftEdge =
      BuildColourRamp(height, ChannelsOf(TranslateColour(topLeft)), ChannelsOf(TranslateColour(bottomLeft)));
  const std::vector<Channels> rightEdge =
      BuildColourRamp(height, ChannelsOf(TranslateColour(topRight)), ChannelsOf(TranslateColour(bottomRight)));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<BYTE> row(stride, 0);
  for (int r = 0; r < height; ++r) {
    const std::vector<Channels> ramp = BuildColourRamp(width, leftEdge[static_cast<size_t>(r)],
                                                       rightEdge[static_cast<size_t>(r)]);
    for (int i = 0; i < width; ++i) std::copy(ramp[static_cast<size_t>(i)].begin(), ramp[static_cast<size_t>(i)].end(),
                                              row.begin() + static_cast<std::ptrdiff_t>(i) * 3);
    SetDIBitsToDevice(dc, left, top + r, static_cast<DWORD>(width), 1, 0, 0, 0, 1, row.data(), &info,
                      DIB_RGB_COLORS);
  }
}

ProgressBar::ProgressBar(std::wstring name, const StoredFont& hostFont) : name_(std::move(name)), hostFont_(hostFont) {}

std::unique_ptr<ProgressBar> ProgressBar::Create(HWND parent, int id, const RECT& place, const std::wstring& name,
                                                 const PropertyBag* stored, const StoredFont& hostFont) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kProgressBarClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  std::unique_ptr<ProgressBar> bar(new ProgressBar(name, hostFont));
  // Loaded before the window exists, so that the first size draws the loaded bar once
  // instead of once per property.
  if (stored) {
    bar->model_.ReadProperties(*stored, name, hostFont);
  } else {
    bar->model_.InitNew(hostFont);
  }
  bar->model_.SetChangeHandler([raw = bar.get()](std::wstring_view property) { raw->OnPropertyChanged(property); });
  const HWND hwnd = CreateWindowExW(0, kProgressBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left,
                                    place.top, place.right - place.left, place.bottom - place.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                    bar.get());
  if (!hwnd) return nullptr;
  return bar;
}

ProgressBar::~ProgressBar() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

LRESULT CALLBACK ProgressBar::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* bar = static_cast<ProgressBar*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    bar->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar));
  }
  auto* bar = reinterpret_cast<ProgressBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!bar) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    bar->buffer_.reset();
    bar->font_.reset();
    bar->hwnd_ = nullptr;
    return result;
  }
  return bar->HandleMessage(msg, wp, lp);
}

LRESULT ProgressBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      PaintBar();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      if (dc) CopyTo(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      CopyTo(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SETFONT:
      // The text's font is the TextFont property; the form's font is only its default.
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void ProgressBar::OnPropertyChanged(std::wstring_view property) {
  if (propertyChanged_) propertyChanged_(property);
  PaintBar();
}

void ProgressBar::CopyTo(HDC dc) const {
  if (!dc || !buffer_ || !*buffer_) return;
  BitBlt(dc, 0, 0, buffer_->width(), buffer_->height(), buffer_->dc(), 0, 0, SRCCOPY);
}

bool ProgressBar::LooksEnabled() const {
  if (!model_.Enabled()) return false;
  // A disabled box around the bar greys it too; the top-level window being disabled (a
  // message box is up) does not.
  for (HWND w = hwnd_; w && (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

void ProgressBar::UpdateRegion(int width, int height) {
  const int rounding = model_.RoundedValue();
  if (width == regionWidth_ && height == regionHeight_ && rounding == regionRounding_) return;
  WatchedObject<HRGN> region(CreateRoundRectRgn(0, 0, width, height, rounding, rounding));
  if (!region) return;
  // Once set, the region is the window's to delete; a refused one stays ours and goes here.
  if (SetWindowRgn(hwnd_, region.get(), TRUE)) {
    region.handOver();
    regionWidth_ = width;
    regionHeight_ = height;
    regionRounding_ = rounding;
  }
}

void ProgressBar::UpdateFont() {
  if (font_ && fontMadeFrom_ == model_.TextFont()) return;
  const LOGFONTW lf = LogFontOf(model_.TextFont());
  WatchedObject<HFONT> font(CreateFontIndirectW(&lf));
  if (!font) return;
  font_ = std::move(font);
  fontMadeFrom_ = model_.TextFont();
}

void ProgressBar::DrawBarText(HDC dc, const std::wstring& text, const std::vector<TextPrint>& prints) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = GetTextColor(dc);
  for (const TextPrint& print : prints) {
    SetTextColor(dc, print.colour);
    TextOutW(dc, print.x, print.y, text.c_str(), static_cast<int>(text.size()));
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void ProgressBar::PaintBar() {
  if (!hwnd_ || painting_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  painting_ = true;

  UpdateRegion(width, height);
  palette_ = ApplyTheme(palette_, model_, TranslateColour);
  if (!buffer_ || buffer_->width() != width || buffer_->height() != height) {
    buffer_.reset();
    buffer_ = std::make_unique<BackBuffer>(width, height);
  }
  UpdateFont();
  const std::optional<std::wstring> text = BarText(model_);
  if (*buffer_) {
    HDC dc = buffer_->dc();
    HGDIOBJ oldFont = font_ ? SelectObject(dc, font_.get()) : nullptr;
    SIZE extent{};
    if (text) GetTextExtentPoint32W(dc, text->c_str(), static_cast<int>(text->size()), &extent);
    const BarPicture picture =
        PlanBar(model_, BarLook{palette_, LooksEnabled()}, width, height, extent.cx, extent.cy, TranslateColour);

    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (const GradientBand& band : picture.bands) {
      GradientTwoColour(dc, band.topToBottom ? 1 : 0, band.from, band.to, band.left, band.top, band.right,
                        band.bottom);
    }
    {
      WatchedObject<HPEN> pen(CreatePen(PS_SOLID, 1, picture.border));
      if (pen) {
        HGDIOBJ oldPen = SelectObject(dc, pen.get());
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 0, 0, width - 1, height - 1, model_.RoundedValue(), model_.RoundedValue());
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
      }
    }
    if (text) DrawBarText(dc, *text, picture.prints);
    if (oldFont) SelectObject(dc, oldFont);
  }
  // Screen readers read the bar's text as the window's.
  const std::wstring shown = text.value_or(std::wstring());
  if (GetText(hwnd_) != shown) SetWindowTextW(hwnd_, shown.c_str());
  InvalidateRect(hwnd_, nullptr, FALSE);
  painting_ = false;
}

}  // namespace lumadex
