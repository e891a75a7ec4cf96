// What the non-client engine asks of the object that decides how a frame looks and behaves.
// Coordinates are pixels relative to the window's top-left corner; rectangles are the window
// rectangle moved to the origin.
#pragma once
#include <windows.h>

namespace lumadex {

class INCAreaModifier {
 public:
  virtual HWND hWnd() const = 0;
  virtual void GetTopMarginHeight(long& height) = 0;
  virtual void GetLeftMarginWidth(long& width) = 0;
  virtual void GetRightMarginWidth(long& width) = 0;
  virtual void GetBottomMarginHeight(long& height) = 0;
  virtual void NCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) = 0;
  // eHitTest holds the engine's own code on entry; what is left in it is the answer.
  virtual void HitTest(long x, long y, int& eHitTest) = 0;
  virtual void NCMouseDown(long x, long y, bool& bHandled, HDC hDC, long lLeft, long lTop, long lRight,
                           long lBottom) = 0;
  virtual void NCMouseUp(long x, long y, HDC hDC, long lLeft, long lTop, long lRight, long lBottom) = 0;
  // A popup of the window's own menu (not the system menu) is about to open.
  virtual void InitMenuPopup(WPARAM wParam, LPARAM lParam) = 0;
  // Menu mode has ended.
  virtual void ExitMenuLoop() = 0;
  // A key pressed with Alt while the window is active; true when it was used.
  virtual bool AltKeyAccelerator(UINT vKey) = 0;

 protected:
  ~INCAreaModifier() = default;
};

}  // namespace lumadex
