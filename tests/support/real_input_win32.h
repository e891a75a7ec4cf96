// Real pointer and keyboard input for window tests: events go through SendInput, so they take
// the same road as a user's (hit testing, capture, focus, double-click timing, key translation).
// This is the tests' one way into the input queue.
#pragma once
#include <windows.h>

#include <initializer_list>

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

// The events below are put into the input queue all at once and handle no message: a modal
// loop started afterwards (a popup menu's, a drag's) or running already must be the one to
// read them.

// The cursor is put on the point at once as well, so that hit tests made before the move is
// handled already see it there.
void QueueMoveTo(POINT screen);
// The physical left button.
void QueueLeft(bool down);
// The modifiers go down in order, then the key goes down and up, then the modifiers come up
// in reverse order, as a person types a combination.
void QueueKeys(std::initializer_list<WORD> modifiers, WORD vk);

}  // namespace lumadex::test::input
