#include "skin/nc_calc_size_win32.h"

#include <windowsx.h>

#include <array>
#include <vector>

#include "skin/window_state_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/message_pump_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

// The messages the engine takes from its window, in registration order. WM_SIZE matters only
// to MDI children (their frame is repainted after a size change) and goes in just before the
// last one, WM_DESTROY.
constexpr std::array<UINT, 15> kFrameMessages = {
    WM_NCCALCSIZE, WM_NCPAINT,  WM_NCACTIVATE,  WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,
    WM_NCLBUTTONDBLCLK, WM_NCHITTEST, WM_SETCURSOR, WM_INITMENU,   WM_INITMENUPOPUP,
    WM_STYLECHANGED,    WM_SETTEXT,   WM_ACTIVATEAPP, WM_ENTERMENULOOP, WM_EXITMENULOOP,
};

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

cNCCalcSize::~cNCCalcSize() {
  Detach();
  *life_ = -1;
}

void cNCCalcSize::Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void cNCCalcSize::Display(HWND form) {
  if (form) {
    InvalidateRect(form, nullptr, TRUE);
    UpdateWindow(form);
  }
  if (hWnd_) {
    // A window that is not shown yet must not be activated by this: it would get its first
    // activation before its owner has finished loading it.
    const UINT hidden = IsWindowVisible(hWnd_) ? 0 : SWP_NOACTIVATE;
    SetWindowPos(hWnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER | hidden);
  }
}

void cNCCalcSize::TitleBarMouseDown() {
  if (!hWnd_) return;
  POINT p{};
  GetCursorPos(&p);
  ReleaseCapture();
  SendMessageW(hWnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
}

void cNCCalcSize::SysCommand(UINT eCmd) {
  if (hWnd_) PostMessageW(hWnd_, WM_SYSCOMMAND, eCmd, 0);
}

void cNCCalcSize::Attach(INCAreaModifier* modifier) {
  Detach();
  if (!modifier) return;
  const HWND window = modifier->hWnd();
  const bool mdiChild = IsMDIChild(window);
  // Registrations made before a failure are taken back, so a failed attach leaves the window
  // as it was.
  std::vector<UINT> messages(kFrameMessages.begin(), kFrameMessages.end());
  if (mdiChild) messages.push_back(WM_SIZE);
  messages.push_back(WM_DESTROY);
  std::size_t done = 0;
  try {
    for (; done < messages.size(); ++done) AttachMessage(this, window, messages[done]);
  } catch (...) {
    while (done > 0) DetachMessage(this, window, messages[--done]);
    throw;
  }
  hWnd_ = window;
  hMenu_ = GetMenu(window);
  mdiChild_ = mdiChild;
  // A window may be attached while it is already in front, and then no activation message
  // comes to tell; a window in the background is never taken for the active one.
  windowActive_ = skin::IsForegroundWindow(window);
  appActive_ = skin::ProcessIsInFront();

  // The plain frame is composed off screen in a strip as wide as the screen.
  work_ = DibSurface(GetSystemMetrics(SM_CXSCREEN), 4 * GetSystemMetrics(SM_CYCAPTION));
  SetPropW(window, kImplementationProperty, static_cast<HANDLE>(modifier));
  keyboardHooked_ = AttachKeyboardHook(this);
  // A menu left on the window would be the platform's: F10 or Alt would open it unseen, and it
  // would take the keys that follow. The modifier draws the menu instead.
  if (hMenu_) SetMenu(window, nullptr);
}

void cNCCalcSize::Detach() noexcept {
  ++*life_;  // a caption drag further up the stack stops at its next step
  if (keyboardHooked_) DetachKeyboardHook(this);
  keyboardHooked_ = false;
  if (hWnd_) {
    for (UINT m : kFrameMessages) DetachMessage(this, hWnd_, m);
    if (mdiChild_) DetachMessage(this, hWnd_, WM_SIZE);
    mdiChild_ = false;
    DetachMessage(this, hWnd_, WM_DESTROY);
  }
  work_ = DibSurface();
  if (hWnd_ && IsWindow(hWnd_)) {
    RemovePropW(hWnd_, kImplementationProperty);
    if (hMenu_ && !GetMenu(hWnd_)) SetMenu(hWnd_, hMenu_);
  }
  hWnd_ = nullptr;
  hMenu_ = nullptr;
}

INCAreaModifier* cNCCalcSize::GetImplementation() const {
  if (!hWnd_) return nullptr;
  return static_cast<INCAreaModifier*>(GetPropW(hWnd_, kImplementationProperty));
}

bool cNCCalcSize::HandleAltKey(UINT vKey) {
  INCAreaModifier* modifier = GetImplementation();
  return modifier ? modifier->AltKeyAccelerator(vKey) : false;
}

bool cNCCalcSize::IsMDIChild(HWND window) {
  HWND parent = GetParent(window);
  if (!parent) return false;
  wchar_t name[260] = {};
  GetClassNameW(parent, name, 260);
  return lstrcmpW(name, L"MDIClient") == 0;
}

bool cNCCalcSize::MaximizedMdiChild() const { return mdiChild_ && IsZoomed(hWnd_); }

RECT cNCCalcSize::WindowRectInParent() const {
  RECT r{};
  GetWindowRect(hWnd_, &r);
  // Only a child window is placed in its parent's client coordinates; an owned pop-up, whose
  // GetParent is its owner, is placed on the screen.
  if (GetWindowLongPtrW(hWnd_, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(HWND_DESKTOP, GetParent(hWnd_), reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

void cNCCalcSize::Repaint() {
  if (hWnd_) WindowProc(hWnd_, WM_NCPAINT, 0, 0);
}

MessageResponse cNCCalcSize::MsgResponse() {
  switch (CurrentMessage()) {
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_STYLECHANGED:
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      return MessageResponse::Consume;
    default:
      return MessageResponse::CallOldBefore;
  }
}

LRESULT cNCCalcSize::WindowProc(HWND, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd_) return 0;
  // An exception must not unwind through the platform's frames above the window procedure;
  // a failure of the modifier costs one painting or one click, never the program.
  try {
    switch (iMsg) {
      case WM_DESTROY:
        Detach();
        return 0;
      case WM_SIZE: {
        CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        Repaint();
        return 0;
      }
      case WM_SETTEXT:
      case WM_STYLECHANGED:
      case WM_NCLBUTTONDBLCLK: {
        const LRESULT result = CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        if (!inSetCursor_) Repaint();
        return result;
      }
      case WM_ACTIVATEAPP:
        appActive_ = wParam != 0;
        return 0;
      case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
      case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
      case WM_NCHITTEST: {
        if (!GetImplementation()) return CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        const int code = DefaultHitTest(PointOf(lParam));
        lastHitTest_ = code;
        return code == HTMENU ? HTCLIENT : code;
      }
      case WM_NCPAINT:
        return OnNcPaint();
      case WM_NCACTIVATE: {
        windowActive_ = wParam != 0;
        const LRESULT result = CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        Repaint();
        return result;
      }
      case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(wParam, lParam);
      case WM_NCLBUTTONUP:
        return OnNcLButtonUp(lParam);
      case WM_INITMENU:
        CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        Repaint();
        return 0;
      case WM_INITMENUPOPUP: {
        CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        Repaint();
        if (HIWORD(lParam) == 0) {
          if (INCAreaModifier* modifier = GetImplementation()) modifier->InitMenuPopup(wParam, lParam);
        }
        return 0;
      }
      case WM_ENTERMENULOOP:
      case WM_EXITMENULOOP: {
        CallOldWindowProc(hWnd_, iMsg, wParam, lParam);
        Repaint();
        if (iMsg == WM_EXITMENULOOP) {
          if (INCAreaModifier* modifier = GetImplementation()) modifier->ExitMenuLoop();
        }
        return 0;
      }
    }
  } catch (...) {
    ReportCallbackFailure(L"the frame engine");
  }
  return 0;
}

LRESULT cNCCalcSize::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  // The platform's own computation runs once, on the rectangle as given, and is then replaced.
  maximizedMdiChild_ = MaximizedMdiChild();
  if (!wParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!rect) return CallOldWindowProc(hWnd_, WM_NCCALCSIZE, 0, lParam);
    const skin::Rect window{rect->left, rect->top, rect->right, rect->bottom};
    CallOldWindowProc(hWnd_, WM_NCCALCSIZE, 0, lParam);
    const skin::Rect client = skin::ClientFromWindow(window, CurrentMargins());
    *rect = RECT{client.left, client.top, client.right, client.bottom};
    return 0;
  }
  CallOldWindowProc(hWnd_, WM_NCCALCSIZE, wParam, lParam);
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);

  // The rectangle the window is getting. A position or size the caller did not change
  // (SWP_NOMOVE, SWP_NOSIZE) is not in the WINDOWPOS record on every platform, so it is taken
  // from the window as it stands.
  const RECT current = WindowRectInParent();
  skin::Rect window{current.left, current.top, current.right, current.bottom};
  if (const WINDOWPOS* pos = params->lppos) {
    if (!(pos->flags & SWP_NOMOVE)) {
      window.right += pos->x - window.left;
      window.bottom += pos->y - window.top;
      window.left = pos->x;
      window.top = pos->y;
    }
    if (!(pos->flags & SWP_NOSIZE)) {
      window.right = window.left + pos->cx;
      window.bottom = window.top + pos->cy;
    }
  }

  margins_ = CurrentMargins();
  const skin::Rect client = skin::ClientFromWindow(window, margins_);
  params->rgrc[0] = RECT{client.left, client.top, client.right, client.bottom};
  params->rgrc[1] = params->rgrc[0];
  return WVR_REDRAW;
}

skin::Margins cNCCalcSize::CurrentMargins() const {
  skin::Margins m{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME),
                  GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
  if (!maximizedMdiChild_) {
    if (INCAreaModifier* modifier = GetImplementation()) {
      modifier->GetLeftMarginWidth(m.left);
      modifier->GetTopMarginHeight(m.top);
      modifier->GetRightMarginWidth(m.right);
      modifier->GetBottomMarginHeight(m.bottom);
    }
  }
  return m;
}

LRESULT cNCCalcSize::OnNcPaint() {
  if (!IsWindowVisible(hWnd_)) return 0;
  maximizedMdiChild_ = MaximizedMdiChild();
  if (maximizedMdiChild_) return CallOldWindowProc(hWnd_, WM_NCPAINT, 0, 0);
  const WindowDC dc(hWnd_, true);
  if (!dc.get()) return 0;
  RECT r{};
  GetWindowRect(hWnd_, &r);
  const long w = r.right - r.left, h = r.bottom - r.top;
  if (INCAreaModifier* modifier = GetImplementation()) {
    modifier->NCPaint(dc.get(), 0, 0, w, h);
  } else {
    DefaultNCPaint(dc.get(), 0, 0, w, h);
  }
  return 0;
}

LRESULT cNCCalcSize::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  // The platform's cursor handling may paint parts of its own frame; it is told the window is
  // hidden while it runs. Whatever happens inside, the style and the flag are put back.
  struct Restore {
    cNCCalcSize& self;
    LONG_PTR style;
    ~Restore() {
      if (self.hWnd_ && IsWindow(self.hWnd_)) SetWindowLongPtrW(self.hWnd_, GWL_STYLE, style);
      self.inSetCursor_ = false;
    }
  };
  inSetCursor_ = true;
  const HWND window = hWnd_;
  Restore restore{*this, GetWindowLongPtrW(window, GWL_STYLE)};
  SetWindowLongPtrW(window, GWL_STYLE, restore.style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  const LRESULT result = CallOldWindowProc(window, WM_SETCURSOR, wParam, lParam);
  if (GetMenu(window)) SetMenu(window, nullptr);
  return result;
}

int cNCCalcSize::DefaultHitTest(POINT screen) const {
  INCAreaModifier* modifier = GetImplementation();
  if (!modifier) return HTCLIENT;
  const bool sizable = (GetWindowLongPtrW(hWnd_, GWL_STYLE) & WS_THICKFRAME) != 0;
  RECT r{};
  GetWindowRect(hWnd_, &r);
  const long x = screen.x - r.left, y = screen.y - r.top;
  int code = skin::FrameHitTest(x, y, r.right - r.left, r.bottom - r.top, margins_,
                                GetSystemMetrics(SM_CYCAPTION), sizable);
  modifier->HitTest(x, y, code);
  return code;
}

LRESULT cNCCalcSize::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  // A one-pixel nudge of the cursor, alternating in direction, so that the platform sees a
  // move and updates its idea of what is under the cursor.
  if (nudge_.x == 0) nudge_.x = 1;
  if (nudge_.y == 0) nudge_.y = 1;
  nudge_.x = -nudge_.x;
  nudge_.y = -nudge_.y;
  mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(nudge_.x), static_cast<DWORD>(nudge_.y), 0, 0);

  const POINT screen = PointOf(lParam);
  const int code = DefaultHitTest(screen);
  INCAreaModifier* modifier = GetImplementation();
  if (!modifier) {
    // The plain frame is the platform's to move, size and close: its own hit-test code goes on.
    CallOldWindowProc(hWnd_, WM_NCLBUTTONDOWN, wParam, lParam);
    Repaint();
    return 0;
  }
  if (lastHitTest_ == HTCAPTION) {
    if (!windowActive_) SetForegroundWindow(hWnd_);
    DragWindow();
    return 0;
  }
  RECT r{};
  GetWindowRect(hWnd_, &r);
  bool handled = false;
  {
    const WindowDC dc(hWnd_, true);
    modifier->NCMouseDown(screen.x - r.left, screen.y - r.top, handled, dc.get(), 0, 0, r.right - r.left,
                          r.bottom - r.top);
  }
  if (handled) return 0;
  CallOldWindowProc(hWnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), lParam);
  Repaint();
  return 0;
}

LRESULT cNCCalcSize::OnNcLButtonUp(LPARAM lParam) {
  INCAreaModifier* modifier = GetImplementation();
  if (!modifier) return 0;
  const POINT screen = PointOf(lParam);
  RECT r{};
  GetWindowRect(hWnd_, &r);
  const long x = screen.x - r.left, y = screen.y - r.top, w = r.right - r.left, h = r.bottom - r.top;
  // Only the release: a frame button runs when it was pressed as well as released.
  const WindowDC dc(hWnd_, true);
  modifier->NCMouseUp(x, y, dc.get(), 0, 0, w, h);
  return 0;
}

void cNCCalcSize::DragWindow() {
  // The loop lets messages through, so the engine may be detached or destroyed, the window
  // destroyed, or the program asked to quit while it runs; each of these ends the drag.
  const std::shared_ptr<int> life = life_;
  const int token = *life;
  const HWND window = hWnd_;
  RECT r = WindowRectInParent();
  POINT last{};
  GetCursorPos(&last);
  const int button = skin::PressedButtonKey();
  while (*life == token && IsWindow(window) && (GetAsyncKeyState(button) & 0x8000) && windowActive_) {
    POINT p{};
    GetCursorPos(&p);
    if (p.x != last.x || p.y != last.y) {
      SetWindowPos(window, nullptr, r.left + (p.x - last.x), r.top + (p.y - last.y), 0, 0,
                   SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOSIZE);
      last = p;
      r = WindowRectInParent();
    }
    if (!ProcessPendingMessages()) break;
    if (*life != token) break;
    Sleep(1);
  }
}

void cNCCalcSize::DefaultNCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) {
  const bool active = windowActive_;
  const HBRUSH caption = GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const HBRUSH border = GetSysColorBrush(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
  const UINT captionFlag = active ? DC_ACTIVE : 0;
  const long cxFrame = GetSystemMetrics(SM_CXFRAME), cyFrame = GetSystemMetrics(SM_CYFRAME);
  const long cyCaption = GetSystemMetrics(SM_CYCAPTION);

  const RECT borders[] = {
      {lLeft, cyFrame, cxFrame, lBottom - cyFrame},
      {lLeft, lTop, lRight, cyFrame},
      {lRight - cxFrame, cyFrame, lRight, lBottom - cyFrame},
      {lLeft, lBottom - cyFrame, lRight, lBottom},
      {lLeft, cyCaption + cxFrame - 1, lRight, cyCaption + cxFrame},
  };
  for (const RECT& b : borders) FillRect(hDC, &b, border);

  const RECT band{lLeft + cxFrame, lTop + cyFrame, lRight - cxFrame, lTop + cyFrame + cyCaption - 1};
  const long w = band.right - band.left, h = band.bottom - band.top;
  const HDC work = work_.dc();
  if (work && w > 0 && h > 0) {
    RECT text{0, 0, w - 3 * h - 2, h};
    if (text.right > 0) DrawCaption(hWnd_, work, &text, DC_ICON | DC_TEXT | captionFlag);
    RECT rest{text.right > 0 ? text.right : 0, 0, w, h};
    FillRect(work, &rest, caption);
    const long b = h - 4;
    RECT close{w - 2 - (b + 2), 2, w - 2, 2 + b};
    DrawFrameControl(work, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    RECT max{close.left - 2 - (b + 2), 2, close.left - 2, 2 + b};
    DrawFrameControl(work, &max, DFC_CAPTION, IsZoomed(hWnd_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
    RECT min{max.left - (b + 2), 2, max.left, 2 + b};
    DrawFrameControl(work, &min, DFC_CAPTION, DFCS_CAPTIONMIN);
    BitBlt(hDC, band.left, band.top, w, h, work, 0, 0, SRCCOPY);
  }
  RECT all{lLeft, lTop, lRight, lBottom};
  DrawEdge(hDC, &all, EDGE_RAISED, BF_RECT);
}

}  // namespace lumadex
