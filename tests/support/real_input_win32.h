// Real pointer and keyboard input for window tests: events go through SendInput, so they take
// the same road as a user's (hit testing, capture, focus, double-click timing, key translation).
#pragma once
#include <windows.h>

namespace lumadex::test::input {

// Moves the pointer to a screen point and lets the windows handle the move.
void MoveTo(POINT screen);
// The centre of a window's client area, in screen coordinates.
POINT CentreOf(HWND hwnd);
// A point outside a window, to the right of it.
POINT Beside(HWND hwnd);
void LeftDown();
void LeftUp();
void RightDown();
void RightUp();
void LeftClick();
void DoubleClick();
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void Key(WORD vk);
// Alt held around `vk`.
void AltKey(WORD vk);
// Brings a top-level window to the front so that it gets the keyboard.
void Activate(HWND topLevel);
// Handles the messages of this thread for a while.
void Settle(DWORD ms = 60);

}  // namespace lumadex::test::input
