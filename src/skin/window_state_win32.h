// What the frame asks of the window system in several places: the state of the primary mouse
// button, whether a window is the one the user works in, and a window-update lock that undoes
// only itself.
#pragma once
#include <windows.h>

#include "skin/frame_geometry.h"

namespace lumadex::skin {

// The virtual key of the physical button a press of the primary button is followed by.
inline int PressedButtonKey() {
  const bool right = FollowRightButton(GetSystemMetrics(SM_SWAPBUTTON) != 0, (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0,
                                       (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0);
  return right ? VK_RBUTTON : VK_LBUTTON;
}
inline bool PrimaryButtonDown() { return (GetAsyncKeyState(PressedButtonKey()) & 0x8000) != 0; }

// A window in the background is never taken for the active one, whatever its thread thinks.
inline bool IsForegroundWindow(HWND window) { return window && GetForegroundWindow() == window; }

// Whether the window in front belongs to this process.
inline bool ProcessIsInFront() {
  DWORD process = 0;
  const HWND front = GetForegroundWindow();
  return front && GetWindowThreadProcessId(front, &process) && process == GetCurrentProcessId();
}

// Locks drawing of a window for the object's life. Only one window can be locked at a time, so
// when another lock is in place this one takes nothing and gives nothing back.
class UpdateLock {
 public:
  explicit UpdateLock(HWND window) : locked_(window && LockWindowUpdate(window) != FALSE) {}
  ~UpdateLock() {
    if (locked_) LockWindowUpdate(nullptr);
  }
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  bool locked_;
};

}  // namespace lumadex::skin
