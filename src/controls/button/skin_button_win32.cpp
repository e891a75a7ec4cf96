#include "controls/button/skin_button_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <array>
#include <cmath>
#include <cwctype>
#include <vector>

#include "controls/button/button_geometry.h"
#include "controls/button/button_paint_win32.h"

namespace lumadex {
namespace {

using namespace button;

// Checks, while the pointer is thought to be inside, that it still is: a leave notice can be
// lost when another window (the tooltip among them) asks the window manager for leave notices
// at the same time, and a lost one would leave the button hot for good.
constexpr UINT_PTR kLeaveCheckTimer = 1;
constexpr UINT kLeaveCheckInterval = 100;

void RegisterButtonClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = SkinButton::kClassName;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
}

int ScreenDpi() {
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

bool LeaveTrackingAvailable() {
  if (HMODULE user = GetModuleHandleW(L"user32.dll"); user && GetProcAddress(user, "TrackMouseEvent")) return true;
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  return comctl && GetProcAddress(comctl, "_TrackMouseEvent");
}

// The host's standard pointer set by number; numbers outside it give the arrow.
LPCWSTR CursorFor(std::int16_t pointer) {
  static const std::array<LPCWSTR, 16> kCursors = {
      IDC_ARROW,  IDC_ARROW,    IDC_CROSS,    IDC_IBEAM, IDC_ARROW, IDC_SIZEALL,     IDC_SIZENESW, IDC_SIZENS,
      IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_WAIT,  IDC_NO,    IDC_APPSTARTING, IDC_HELP,     IDC_SIZEALL};
  return pointer >= 0 && pointer < static_cast<int>(kCursors.size()) ? kCursors[static_cast<size_t>(pointer)] : IDC_ARROW;
}

BOOL CALLBACK CollectWindow(HWND w, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(w);
  return TRUE;
}

bool HasPrefix(const std::wstring& text, const wchar_t* prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size() || std::towlower(text[i]) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

button::SystemPalette CurrentSystemPalette() {
  button::SystemPalette palette;
  for (int i = 0; i < button::SystemPalette::kCount; ++i) palette.colors[static_cast<size_t>(i)] = GetSysColor(i);
  return palette;
}

SkinButton::SkinButton() : palette_(CurrentSystemPalette()) {}

SkinButton::~SkinButton() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (icon_) DestroyIcon(icon_);
}

std::unique_ptr<SkinButton> SkinButton::Load(HWND parent, int id, int x, int y, int width, int height,
                                             const PropertyBag& stored) {
  std::unique_ptr<SkinButton> b(new SkinButton());
  b->props_ = ReadButtonProperties(stored, b->palette_, StoredFont{L"Verdana", 8.25, 400});
  if (!b->CreateWindowIn(parent, id, x, y, width, height)) return nullptr;
  return b;
}

std::unique_ptr<SkinButton> SkinButton::CreateNew(HWND parent, int id, const std::wstring& name, int x, int y,
                                                  int width, int height) {
  std::unique_ptr<SkinButton> b(new SkinButton());
  b->props_ = NewButtonProperties(name, b->palette_);
  if (!b->CreateWindowIn(parent, id, x, y, width, height)) return nullptr;
  return b;
}

bool SkinButton::CreateWindowIn(HWND parent, int id, int x, int y, int width, int height) {
  RegisterButtonClass(&SkinButton::WndProc);
  RebuildFont();
  RebuildIcon();
  trackingAvailable_ = LeaveTrackingAvailable();
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
  if (!CreateWindowExW(0, kClassName, props_.Caption.c_str(), style, x, y, width, height, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this)) {
    return false;
  }
  if (!props_.Enabled) EnableWindow(hwnd_, FALSE);
  Resize();
  return true;
}

SkinButton* SkinButton::FromWindow(HWND hwnd) {
  wchar_t cls[32] = {};
  if (!hwnd || !GetClassNameW(hwnd, cls, 32) || lstrcmpW(cls, kClassName) != 0) return nullptr;
  return reinterpret_cast<SkinButton*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void SkinButton::SetCaption(const std::wstring& caption) {
  Change(L"Caption", [&](ButtonProperties& p) { p.Caption = caption; }, true);
  if (hwnd_) SetWindowTextW(hwnd_, caption.c_str());
}

void SkinButton::Change(const wchar_t* name, const std::function<void(ButtonProperties&)>& change, bool resize) {
  change(props_);
  if (onPropertyChanged_) onPropertyChanged_(name);
  if (resize) Resize();
  Refresh();
}

void SkinButton::SetEnabled(bool enabled) {
  Change(L"Enabled", [=](ButtonProperties& p) { p.Enabled = enabled; });
  if (hwnd_) EnableWindow(hwnd_, enabled);
  Apply(input_.EnabledChanged());
}

void SkinButton::SetToolTipText(const std::wstring& text) {
  Change(L"ToolTipText", [&](ButtonProperties& p) { p.ToolTipText = text; });
  // A tip on show is rebuilt with the new text; the old window goes first.
  if (tooltip_ || input_.MouseInside()) {
    RemoveToolTip();
    CreateToolTip();
  }
}

void SkinButton::SetFont(const StoredFont& font) {
  props_.Font = font;
  RebuildFont();
  Change(L"Font", [](ButtonProperties&) {});
}

void SkinButton::SetIcon(const StoredPicture& icon) {
  props_.Icon = icon;
  RebuildIcon();
  Change(L"Icon", [](ButtonProperties&) {}, true);
}

void SkinButton::Save(PropertyBag& bag) const { WriteButtonProperties(props_, bag, palette_); }

void SkinButton::SetUserMode(bool userMode) {
  userMode_ = userMode;
  Refresh();
}

void SkinButton::SetDisplayAsDefault(bool isDefault) {
  displayAsDefault_ = isDefault;
  Refresh();
}

void SkinButton::RebuildFont() {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(props_.Font.points * ScreenDpi() / 72.0));
  lf.lfWeight = props_.Font.weight;
  lf.lfItalic = props_.Font.italic;
  lf.lfUnderline = props_.Font.underline;
  lf.lfStrikeOut = props_.Font.strikeout;
  lf.lfCharSet = static_cast<BYTE>(props_.Font.charset);
  lstrcpynW(lf.lfFaceName, props_.Font.face.c_str(), LF_FACESIZE);
  font_.reset(CreateFontIndirectW(&lf));
}

void SkinButton::RebuildIcon() {
  if (icon_) DestroyIcon(icon_);
  icon_ = nullptr;
  if (!props_.Icon.empty()) {
    icon_ = IconFromFileBytes(props_.Icon.bytes.data(), props_.Icon.bytes.size(), std::max<int>(props_.IconSize, 1));
  }
}

bool SkinButton::ChainEnabled() const {
  for (HWND w = hwnd_; w; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return false;
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return true;
}

void SkinButton::Resize() {
  if (!hwnd_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const int dpi = ScreenDpi();
  const int w = AtLeastMinimum(client.right, dpi), h = AtLeastMinimum(client.bottom, dpi);
  if (w != client.right || h != client.bottom) {
    // Grows the window; its WM_SIZE comes back here with the settled size.
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  captionFormat_ = CaptionFormat(props_.CaptionAlign, captionFormat_);
  const std::int32_t drawn = DrawnStyle(props_.Style, props_.NonThemeStyle, themeFailed_);
  HRGN region = nullptr;
  switch (const RegionShape shape = RegionOf(drawn)) {
    case RegionShape::Rectangle:
      region = CreateRectRgn(0, 0, w, h);
      break;
    case RegionShape::RoundedRectangle:
      region = CreateRoundRectRgn(0, 0, w + 1, h + 1, kRoundedCorner, kRoundedCorner);
      break;
    default: {
      std::vector<POINT> points;
      for (const Point& p : RegionPolygon(shape, w, h)) points.push_back({p.x, p.y});
      region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE);
      break;
    }
  }
  // The window owns a region it has accepted; one it refused is still ours.
  if (region && !SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
  Refresh();
}

void SkinButton::Refresh() {
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void SkinButton::PaintTo(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  Surface surface(client.right, client.bottom);
  if (!surface.ok()) return;
  // Colours set at run time may still name system colours; the painter does channel
  // arithmetic, so it gets plain values only.
  ButtonProperties drawn = props_;
  for (Rgb* c : {&drawn.BackColor, &drawn.HighlightColor, &drawn.FontColor, &drawn.FontHighlightColor, &drawn.MaskColor}) {
    *c = TranslateColor(*c, palette_) & 0xFFFFFF;
  }
  PaintInput in;
  in.props = &drawn;
  in.palette = &palette_;
  in.drawnStyle = DrawnStyle(props_.Style, props_.NonThemeStyle, themeFailed_);
  in.state = input_.Settle(userMode_, in.drawnStyle == kStyleBlueFrame, props_.IsCheckButton() && props_.Value,
                           props_.Enabled, ChainEnabled());
  in.hasFocus = input_.HasFocus();
  in.displayAsDefault = displayAsDefault_;
  in.captionFormat = captionFormat_;
  in.window = hwnd_;
  in.font = font_.get();
  in.icon = icon_;
  const PaintResult result = PaintButton(surface, in);
  BitBlt(dc, 0, 0, surface.width(), surface.height(), surface.dc(), 0, 0, SRCCOPY);
  if (result.themeFailed && !themeFailed_) {
    // From now on the fallback style is drawn, with its own outline; the stored Style stays.
    themeFailed_ = true;
    PostMessageW(hwnd_, WM_SIZE, 0, 0);
  }
}

void SkinButton::TrackLeave() {
  if (!trackingAvailable_) return;
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = hwnd_;
  request.dwHoverTime = 0;
  TrackMouseEvent(&request);
}

void SkinButton::CreateToolTip() {
  RemoveToolTip();
  if (!hwnd_ || props_.ToolTipText.empty()) return;
  DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX;
  if (props_.ToolTipType == 1) style |= TTS_BALLOON;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = 0;
  GetClientRect(hwnd_, &info.rect);
  info.hinst = GetModuleHandleW(nullptr);
  info.lpszText = const_cast<wchar_t*>(props_.ToolTipText.c_str());
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  // The tip watches the moves from now on; the one that brought the pointer in starts its delay.
  MSG move{};
  move.hwnd = hwnd_;
  move.message = WM_MOUSEMOVE;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd_, &cursor);
  move.lParam = MAKELPARAM(cursor.x, cursor.y);
  move.pt = cursor;
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  const int icon = ToolTipIconOrNone(props_.ToolTipIcon);
  if (!props_.ToolTipTitle.empty() || icon != 0) {
    SendMessageW(tooltip_, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(props_.ToolTipTitle.c_str()));
  }
  // Black (0) leaves the tooltip's own colours.
  if (props_.ToolTipForeColor != 0) {
    SendMessageW(tooltip_, TTM_SETTIPTEXTCOLOR, TranslateColor(props_.ToolTipForeColor, palette_) & 0xFFFFFF, 0);
  }
  if (props_.ToolTipBackColor != 0) {
    SendMessageW(tooltip_, TTM_SETTIPBKCOLOR, TranslateColor(props_.ToolTipBackColor, palette_) & 0xFFFFFF, 0);
  }
}

void SkinButton::RemoveToolTip() {
  if (!tooltip_) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = hwnd_;
  info.uId = 0;
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

void SkinButton::Apply(unsigned effects) {
  if (!hwnd_) return;
  if ((effects & kTakeFocus) && GetFocus() != hwnd_) SetFocus(hwnd_);
  if (effects & kCapture) SetCapture(hwnd_);
  if ((effects & kReleaseCapture) && GetCapture() == hwnd_) ReleaseCapture();
  if (effects & kHideTip) RemoveToolTip();
  if (effects & kShowTip) CreateToolTip();
  if (effects & kTrackLeave) {
    TrackLeave();
    SetTimer(hwnd_, kLeaveCheckTimer, kLeaveCheckInterval, nullptr);
  }
  if (effects & kMouseLeave) KillTimer(hwnd_, kLeaveCheckTimer);
  if (effects & kRepaint) Refresh();
  if (effects & (kFocusPrevious | kFocusNext)) {
    const bool backwards = (effects & kFocusPrevious) != 0;
    if (focusMover_) {
      focusMover_(backwards);
    } else if (HWND next = GetNextDlgTabItem(GetParent(hwnd_), hwnd_, backwards)) {
      SetFocus(next);
    }
  }
  if ((effects & kMouseEnter) && onMouseEnter_) onMouseEnter_();
  if ((effects & kMouseLeave) && onMouseLeave_) onMouseLeave_();
  // Last: the handler may run a nested message loop, or even destroy the button.
  if (effects & kClick) Click();
}

bool SkinButton::HandleAccessKey(HWND root, wchar_t ch) {
  std::vector<HWND> windows;
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  const wchar_t key = static_cast<wchar_t>(std::towupper(ch));
  for (HWND w : windows) {
    SkinButton* b = FromWindow(w);
    if (!b || !IsWindowVisible(w) || !b->ChainEnabled()) continue;
    const auto own = AccessKeyOf(b->props_.Caption);
    if (own && static_cast<wchar_t>(std::towupper(*own)) == key) {
      b->Apply(b->input_.AccessKey(b->Check()));
      return true;
    }
  }
  return false;
}

INT_PTR SkinButton::OpenLink(const std::wstring& link) const {
  if (!HasPrefix(link, L"http://") && !HasPrefix(link, L"https://") && !HasPrefix(link, L"mailto:")) return 0;
  return reinterpret_cast<INT_PTR>(ShellExecuteW(hwnd_, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

LRESULT CALLBACK SkinButton::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<SkinButton*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    created->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<SkinButton*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->Handle(msg, wp, lp);
}

LRESULT SkinButton::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  auto inside = [this](LPARAM at) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    return PtInRect(&client, p) != FALSE;
  };
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      PaintTo(paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SIZE:
      Resize();
      return 0;
    case WM_MOUSEMOVE:
      if (!trackingAvailable_) return 0;
      Apply(input_.MouseMove(inside(lp)));
      return 0;
    case WM_MOUSELEAVE:
      Apply(input_.MouseLeave());
      return 0;
    case WM_TIMER:
      if (wp == kLeaveCheckTimer) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (!input_.MouseInside()) {
          KillTimer(hwnd_, kLeaveCheckTimer);
        } else if (GetCapture() != hwnd_ && WindowFromPoint(cursor) != hwnd_) {
          Apply(input_.MouseLeave());
        }
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Apply(input_.MouseDown(MouseButton::Left, msg == WM_LBUTTONDBLCLK));
      return 0;
    case WM_LBUTTONUP:
      Apply(input_.MouseUp(MouseButton::Left, inside(lp), Check()));
      return 0;
    case WM_RBUTTONUP:
      Apply(input_.MouseUp(MouseButton::Right, inside(lp), Check()));
      return 0;
    case WM_MBUTTONUP:
      Apply(input_.MouseUp(MouseButton::Middle, inside(lp), Check()));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) Apply(input_.CaptureLost());
      return 0;
    case WM_KEYDOWN:
      Apply(input_.KeyDown(static_cast<int>(wp)));
      return 0;
    case WM_CHAR:
      Apply(input_.Char(static_cast<wchar_t>(wp), Check()));
      return 0;
    case WM_KEYUP:
      Apply(input_.KeyUp(static_cast<int>(wp)));
      return 0;
    case WM_SYSCHAR:
      if (HandleAccessKey(GetAncestor(hwnd_, GA_ROOT), static_cast<wchar_t>(wp))) return 0;
      break;
    case WM_SETFOCUS:
      Apply(input_.Focus(true));
      return 0;
    case WM_KILLFOCUS:
      Apply(input_.Focus(false));
      return 0;
    case WM_ENABLE:
      Apply(input_.EnabledChanged());
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, CursorFor(props_.MousePointer)));
        return TRUE;
      }
      break;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_SETFONT:
      return 0;  // the stored Font is the button's font
    case WM_SYSCOLORCHANGE:
      palette_ = CurrentSystemPalette();
      Refresh();
      return 0;
    case WM_THEMECHANGED:
      // A theme that has come back is worth another try; the stored Style never changed.
      themeFailed_ = false;
      Resize();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kLeaveCheckTimer);
      RemoveToolTip();
      break;
    case WM_NCDESTROY: {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      HWND hwnd = hwnd_;
      hwnd_ = nullptr;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace lumadex
