// Takes over the non-client area of one top-level window: the client area inside the
// modifier's margins, the frame's hit test, the activation state, the caption drag and the
// frame painting. How the frame looks is the modifier's business (INCAreaModifier).
#pragma once
#include <windows.h>

#include <memory>

#include "skin/frame_geometry.h"
#include "skin/nc_area_modifier_win32.h"
#include "winmsg/dib_surface_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/thread_hooks_win32.h"

namespace lumadex {

class cNCCalcSize : public ISubclass, public IAltKeyTarget {
 public:
  cNCCalcSize() = default;
  ~cNCCalcSize() override;
  cNCCalcSize(const cNCCalcSize&) = delete;
  cNCCalcSize& operator=(const cNCCalcSize&) = delete;

  // Repaints the window, its frame and all its children now.
  void Redraw(HWND window);
  // Repaints the form and makes the platform recompute and repaint the attached frame.
  void Display(HWND form);
  bool WindowActive() const override { return windowActive_; }
  bool AppActive() const { return appActive_; }
  // Hands the press under the cursor to the platform's own move loop.
  void TitleBarMouseDown();
  void SysCommand(UINT eCmd);
  // Takes over the frame of modifier->hWnd(). Throws what the message registration throws;
  // nothing stays registered then.
  void Attach(INCAreaModifier* modifier);
  HMENU hMenu() const { return hMenu_; }
  HWND hWnd() const { return hWnd_; }
  void Detach() noexcept;
  // The plain frame painted when the window has no modifier.
  void DefaultNCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom);
  // The modifier of the attached window, null when there is none.
  INCAreaModifier* GetImplementation() const;
  bool HandleAltKey(UINT vKey) override;

  // The margins of the last client-area computation and the last frame hit-test code.
  const skin::Margins& Margins() const { return margins_; }
  int LastHitTest() const { return lastHitTest_; }

  MessageResponse MsgResponse() override;
  LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

  // The window property that leads from the window to its modifier.
  static constexpr wchar_t kImplementationProperty[] = L"ornuCNCImplementation";

 private:
  static bool IsMDIChild(HWND window);
  void Repaint();
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  // The system margins, or the modifier's unless a maximised MDI child keeps the platform's.
  skin::Margins CurrentMargins() const;
  LRESULT OnNcPaint();
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonUp(LPARAM lParam);
  int DefaultHitTest(POINT screen) const;
  void DragWindow();
  bool MaximizedMdiChild() const;
  RECT WindowRectInParent() const;

  HWND hWnd_ = nullptr;
  HMENU hMenu_ = nullptr;
  bool keyboardHooked_ = false;
  // A maximised MDI child keeps the platform's frame; the flag is taken afresh at every
  // client-area computation and frame painting.
  bool mdiChild_ = false, maximizedMdiChild_ = false;
  // As WM_NCACTIVATE and WM_ACTIVATEAPP last told.
  bool windowActive_ = false, appActive_ = false;
  skin::Margins margins_;
  int lastHitTest_ = 0;

  // Where the plain frame's caption band is composed before it goes to the window.
  DibSurface work_;

  POINT nudge_{0, 0};
  bool inSetCursor_ = false;
  // Changes at every detach and goes negative when the engine goes, so that a caption drag
  // running further up the stack notices either.
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace lumadex
