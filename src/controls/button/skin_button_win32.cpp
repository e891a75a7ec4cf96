#include "controls/button/skin_button_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <vector>

#include "controls/button/about_window_win32.h"
#include "controls/button/access_key_hook_win32.h"
#include "controls/button/button_accessible_win32.h"
#include "controls/button/button_geometry.h"
#include "controls/button/button_paint_win32.h"
#include "controls/host/container_box_win32.h"
#include "winmsg/font_win32.h"
#include "winmsg/system_colour_win32.h"

namespace lumadex {
namespace {

using namespace button;

// Checks, while the pointer is thought to be inside, that it still is: a leave notice can be
// lost when another window (the tooltip among them) asks the window manager for leave notices
// at the same time, and a lost one would leave the button hot for good.
constexpr UINT_PTR kLeaveCheckTimer = 1;
constexpr UINT kLeaveCheckInterval = 100;

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

SkinButton::SkinButton() : system_(CurrentSystemColours()) {}

SkinButton::~SkinButton() {
  DestroyWindowNow();
  if (accessKeys_) DetachAccessKeyHook();
}

std::unique_ptr<SkinButton> SkinButton::Load(HWND parent, int id, int x, int y, int width, int height,
                                             const PropertyBag& stored) {
  std::unique_ptr<SkinButton> b(new SkinButton());
  b->props_ = ReadButtonProperties(stored, b->system_, StoredFont{L"Verdana", 8.25, 400});
  // The form's own tooltip text for the button starts as the stored one.
  b->hostToolTip_ = b->props_.ToolTipText;
  if (!b->CreateWindowIn(parent, id, x, y, width, height)) return nullptr;
  return b;
}

std::unique_ptr<SkinButton> SkinButton::CreateNew(HWND parent, int id, const std::wstring& name, int x, int y,
                                                  int width, int height) {
  std::unique_ptr<SkinButton> b(new SkinButton());
  b->props_ = NewButtonProperties(name, b->system_);
  if (!b->CreateWindowIn(parent, id, x, y, width, height)) return nullptr;
  return b;
}

bool SkinButton::CreateWindowIn(HWND parent, int id, int x, int y, int width, int height) {
  RebuildFont();
  RebuildIcon();
  trackingAvailable_ = LeaveTrackingAvailable();
  WindowClass windowClass;
  windowClass.name = kClassName;
  windowClass.style = CS_DBLCLKS;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
  if (!CreateWindowFor(windowClass, 0, props_.Caption.c_str(), style, x, y, width, height, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  // The button's Enabled is its own flag, kept apart from the boxes around it, so that a box
  // enabled again gives the button back its own state rather than enabling it.
  if (!props_.Enabled) SetOwnEnabled(hwnd(), false);
  about_ = AboutWindow::Create(hwnd());
  if (userMode_) {
    AttachAccessKeyHook();
    accessKeys_ = true;
  }
  Resize();
  return true;
}

void SkinButton::SetCaption(const std::wstring& caption) {
  const bool renamed = access::WithoutAccessMarker(caption) != access::WithoutAccessMarker(props_.Caption);
  Change(L"Caption", [&](ButtonProperties& p) { p.Caption = caption; }, true);
  if (hwnd()) SetWindowTextW(hwnd(), caption.c_str());
  if (renamed) NotifyClientEvent(hwnd(), EVENT_OBJECT_NAMECHANGE);
}

void SkinButton::Change(const wchar_t* name, const std::function<void(ButtonProperties&)>& change, bool resize) {
  change(props_);
  if (onPropertyChanged_) onPropertyChanged_(name);
  if (resize) Resize();
  Refresh();
}

void SkinButton::SetEnabled(bool enabled) {
  Change(L"Enabled", [=](ButtonProperties& p) { p.Enabled = enabled; });
  if (hwnd()) SetOwnEnabled(hwnd(), enabled);
  Apply(input_.EnabledChanged());
}

void SkinButton::SetToolTipText(const std::wstring& text) {
  const bool redescribed = text != props_.ToolTipText;
  Change(L"ToolTipText", [&](ButtonProperties& p) { p.ToolTipText = text; });
  if (redescribed) NotifyClientEvent(hwnd(), EVENT_OBJECT_DESCRIPTIONCHANGE);
  // The form's text follows, except while the balloon shows: the button has it then, and
  // gives the new one back when the pointer leaves.
  if (!input_.MouseInside()) hostToolTip_ = text;
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

bool SkinButton::SetIcon(const StoredPicture& icon) {
  ButtonPicture picture = ButtonPicture::FromFileBytes(icon.bytes.data(), icon.bytes.size(), std::max<int>(props_.IconSize, 1));
  if (!icon.empty() && picture.empty()) return false;
  props_.Icon = icon;
  picture_ = std::move(picture);
  Change(L"Icon", [](ButtonProperties&) {}, true);
  return true;
}

void SkinButton::About() {
  if (about_) about_->Show();
}

HWND SkinButton::AboutWindowHandle() const { return about_ ? about_->hwnd() : nullptr; }

void SkinButton::Save(PropertyBag& bag) const { WriteButtonProperties(props_, bag, system_); }

void SkinButton::SetUserMode(bool userMode) {
  if (userMode == userMode_) return;
  userMode_ = userMode;
  if (!userMode_ && input_.MouseInside()) {
    // The pass of the pointer ends without a MouseLeave: a designed form raises no events.
    Apply(input_.MouseLeave() & ~kMouseLeave);
  }
  if (userMode_ && !accessKeys_) {
    AttachAccessKeyHook();
    accessKeys_ = true;
  } else if (!userMode_ && accessKeys_) {
    DetachAccessKeyHook();
    accessKeys_ = false;
  }
  Refresh();
}

void SkinButton::SetDisplayAsDefault(bool isDefault) {
  displayAsDefault_ = isDefault;
  Refresh();
}

void SkinButton::RebuildFont() { font_ = CreateFontOf(props_.Font, PointRounding::Exact); }

void SkinButton::RebuildIcon() {
  // A stored picture that is neither kind stays stored, so saving gives it back unchanged, but
  // nothing is drawn for it.
  picture_ = ButtonPicture::FromFileBytes(props_.Icon.bytes.data(), props_.Icon.bytes.size(),
                                          std::max<int>(props_.IconSize, 1));
}

bool SkinButton::TakesInput() const { return props_.Enabled && ChainEnabled(); }

bool SkinButton::ChainEnabled() const {
  for (HWND w = hwnd(); w; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return false;
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return true;
}

void SkinButton::Resize() {
  if (!hwnd()) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const int dpi = ScreenDpi();
  const int w = AtLeastMinimum(client.right, dpi), h = AtLeastMinimum(client.bottom, dpi);
  if (w != client.right || h != client.bottom) {
    // Grows the window; its WM_SIZE comes back here with the settled size.
    SetWindowPos(hwnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  captionFormat_ = CaptionFormat(props_.CaptionAlign, captionFormat_);
  const std::int32_t drawn = DrawnStyle(props_.Style, props_.NonThemeStyle, themeFailed_);
  Region region;
  switch (const RegionShape shape = RegionOf(drawn)) {
    case RegionShape::Rectangle:
      region.reset(CreateRectRgn(0, 0, w, h));
      break;
    case RegionShape::RoundedRectangle:
      region.reset(CreateRoundRectRgn(0, 0, w + 1, h + 1, kRoundedCorner, kRoundedCorner));
      break;
    default: {
      std::vector<POINT> points;
      for (const Point& p : RegionPolygon(shape, w, h)) points.push_back({p.x, p.y});
      region.reset(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE));
      break;
    }
  }
  // The window owns a region it has accepted; one it refused is still ours.
  if (region && SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();
  Refresh();
}

void SkinButton::Refresh() {
  if (!hwnd()) return;
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Every change of state ends here, settled by the paint just made.
  if (announcedState_.Update(ButtonAccessible::OwnState(*this))) NotifyClientEvent(hwnd(), EVENT_OBJECT_STATECHANGE);
}

void SkinButton::PaintTo(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  Surface surface(client.right, client.bottom);
  if (!surface.ok()) return;
  // Colours set at run time may still name system colours; the painter does channel
  // arithmetic, so it gets plain values only.
  ButtonProperties drawn = props_;
  for (Colour* c : {&drawn.BackColor, &drawn.HighlightColor, &drawn.FontColor, &drawn.FontHighlightColor, &drawn.MaskColor}) {
    *c = TranslateColor(*c, system_) & 0xFFFFFF;
  }
  PaintInput in;
  in.props = &drawn;
  in.system = &system_;
  in.drawnStyle = DrawnStyle(props_.Style, props_.NonThemeStyle, themeFailed_);
  in.state = input_.Settle(userMode_, in.drawnStyle == kStyleBlueFrame, props_.IsCheckButton() && props_.Value,
                           props_.Enabled, ChainEnabled());
  in.hasFocus = input_.HasFocus();
  in.displayAsDefault = displayAsDefault_;
  in.captionFormat = captionFormat_;
  in.window = hwnd();
  in.font = font_.get();
  in.picture = &picture_;
  const PaintResult result = PaintButton(surface, in);
  BitBlt(dc, 0, 0, surface.width(), surface.height(), surface.dc(), 0, 0, SRCCOPY);
  if (result.themeFailed && !themeFailed_) {
    // From now on the fallback style is drawn, with its own outline; the stored Style stays.
    themeFailed_ = true;
    PostMessageW(hwnd(), WM_SIZE, 0, 0);
  }
}

void SkinButton::TrackLeave() {
  if (!trackingAvailable_) return;
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = hwnd();
  request.dwHoverTime = 0;
  TrackMouseEvent(&request);
}

void SkinButton::CreateToolTip() {
  RemoveToolTip();
  if (!hwnd() || props_.ToolTipText.empty()) return;
  DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX;
  if (props_.ToolTipType == 1) style |= TTS_BALLOON;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = hwnd();
  info.uId = 0;
  GetClientRect(hwnd(), &info.rect);
  info.hinst = GetModuleHandleW(nullptr);
  info.lpszText = const_cast<wchar_t*>(props_.ToolTipText.c_str());
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  // The tip watches the moves from now on; the one that brought the pointer in starts its delay.
  MSG move{};
  move.hwnd = hwnd();
  move.message = WM_MOUSEMOVE;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd(), &cursor);
  move.lParam = MAKELPARAM(cursor.x, cursor.y);
  move.pt = cursor;
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  const int icon = ToolTipIconOrNone(props_.ToolTipIcon);
  if (!props_.ToolTipTitle.empty() || icon != 0) {
    SendMessageW(tooltip_, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(props_.ToolTipTitle.c_str()));
  }
  // Black (0) leaves the tooltip's own colours.
  if (props_.ToolTipForeColor != 0) {
    SendMessageW(tooltip_, TTM_SETTIPTEXTCOLOR, TranslateColor(props_.ToolTipForeColor, system_) & 0xFFFFFF, 0);
  }
  if (props_.ToolTipBackColor != 0) {
    SendMessageW(tooltip_, TTM_SETTIPBKCOLOR, TranslateColor(props_.ToolTipBackColor, system_) & 0xFFFFFF, 0);
  }
}

void SkinButton::GiveToolTipBack() {
  hostToolTip_ = props_.ToolTipText;
  RemoveToolTip();
}

void SkinButton::RemoveToolTip() {
  if (!tooltip_) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = hwnd();
  info.uId = 0;
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

void SkinButton::Apply(unsigned effects) {
  if (!hwnd()) return;
  if ((effects & kTakeFocus) && GetFocus() != hwnd()) SetFocus(hwnd());
  if (effects & kCapture) SetCapture(hwnd());
  if ((effects & kReleaseCapture) && GetCapture() == hwnd()) ReleaseCapture();
  if (effects & kHideTip) GiveToolTipBack();
  if (effects & kShowTip) {
    // The form's text is the one shown; the form shows none of its own meanwhile.
    props_.ToolTipText = hostToolTip_;
    hostToolTip_.clear();
    CreateToolTip();
  }
  if (effects & kTrackLeave) {
    TrackLeave();
    SetTimer(hwnd(), kLeaveCheckTimer, kLeaveCheckInterval, nullptr);
  }
  if (effects & kMouseLeave) KillTimer(hwnd(), kLeaveCheckTimer);
  if (effects & kRepaint) Refresh();
  if (effects & (kFocusPrevious | kFocusNext)) {
    const bool backwards = (effects & kFocusPrevious) != 0;
    if (focusMover_) {
      focusMover_(backwards);
    } else if (HWND next = GetNextDlgTabItem(GetParent(hwnd()), hwnd(), backwards)) {
      SetFocus(next);
    }
  }
  // Last, and from copies: a handler may run a nested message loop, or even destroy the
  // button, so nothing of the button is touched once the first one runs.
  const std::function<void()> enter = effects & kMouseEnter ? onMouseEnter_ : nullptr;
  const std::function<void()> leave = effects & kMouseLeave ? onMouseLeave_ : nullptr;
  const std::function<void()> click = (effects & kClick) && props_.Enabled ? onClick_ : nullptr;
  if (enter) enter();
  if (leave) leave();
  if (click) click();
}

HWND SkinButton::AccessKeyTarget(HWND root, wchar_t ch) {
  if (!root) return nullptr;
  std::vector<HWND> windows;
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  const wchar_t key = static_cast<wchar_t>(std::towupper(ch));
  for (HWND w : windows) {
    const SkinButton* b = FromWindow(w);
    if (!b || !b->userMode_ || !IsWindowVisible(w) || !b->TakesInput()) continue;
    const auto own = AccessKeyOf(b->props_.Caption);
    if (own && static_cast<wchar_t>(std::towupper(*own)) == key) return w;
  }
  return nullptr;
}

bool SkinButton::HandleAccessKey(HWND root, wchar_t ch) {
  SkinButton* b = FromWindow(AccessKeyTarget(root, ch));
  if (!b) return false;
  b->Apply(b->input_.AccessKey(b->Check()));
  return true;
}

INT_PTR SkinButton::OpenLink(const std::wstring& link) const {
  if (!HasPrefix(link, L"http://") && !HasPrefix(link, L"https://") && !HasPrefix(link, L"mailto:")) return 0;
  return reinterpret_cast<INT_PTR>(ShellExecuteW(hwnd(), L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

LRESULT SkinButton::HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) {
  auto inside = [this](LPARAM at) {
    RECT client;
    GetClientRect(hwnd(), &client);
    const POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    return PtInRect(&client, p) != FALSE;
  };
  switch (msg) {
    case WM_SIZE:
      Resize();
      return 0;
    case WM_MOUSEMOVE:
      if (!trackingAvailable_ || !userMode_) return 0;
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
          KillTimer(hwnd(), kLeaveCheckTimer);
        } else if (GetCapture() != hwnd() && WindowFromPoint(cursor) != hwnd()) {
          Apply(input_.MouseLeave());
        }
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A window enabled behind the button's back still takes no press.
      if (!TakesInput()) return 0;
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
      if (reinterpret_cast<HWND>(lp) != hwnd()) Apply(input_.CaptureLost());
      return 0;
    case WM_KEYDOWN:
      if (TakesInput()) Apply(input_.KeyDown(static_cast<int>(wp)));
      return 0;
    case WM_CHAR:
      if (TakesInput()) Apply(input_.Char(static_cast<wchar_t>(wp), Check()));
      return 0;
    case kAccessKeyMessage:
      if (TakesInput() && userMode_) Apply(input_.AccessKey(Check()));
      return 0;
    case WM_SHOWWINDOW:
      // Hidden: the form's tooltip text gets the button's back, and no balloon stays up.
      if (!wp) GiveToolTipBack();
      break;
    case WM_KEYUP:
      Apply(input_.KeyUp(static_cast<int>(wp)));
      return 0;
    case WM_SYSCHAR:
      if (HandleAccessKey(GetAncestor(hwnd(), GA_ROOT), static_cast<wchar_t>(wp))) return 0;
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
      system_ = CurrentSystemColours();
      Refresh();
      return 0;
    case WM_THEMECHANGED:
      // A theme that has come back is worth another try; the stored Style never changed.
      themeFailed_ = false;
      Resize();
      return 0;
    case WM_GETOBJECT:
      if (auto answer = accessible_.Answer(wp, lp, [this] { return new ButtonAccessible(*this); })) return *answer;
      break;
    case ButtonAccessible::kPressMessage:
      // The default action, checked again: the button may have changed since it was asked.
      if (TakesInput() && IsWindowVisible(hwnd())) Apply(input_.AccessKey(Check()));
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kLeaveCheckTimer);
      RemoveToolTip();
      accessible_.Release();
      // The About window may stand on its own by now; it goes with its button all the same.
      about_.reset();
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace lumadex
