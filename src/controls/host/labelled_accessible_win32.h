// Names one of the platform's own controls (a text box) after the caption placed in front of
// it, for screen readers and automation tools: the captions of a form lie beneath the other
// controls, so the platform's rule of naming a box after the window before it does not hold.
// Everything else is the control's standard object, which keeps a password box's text to itself.
#pragma once
#include <windows.h>

namespace lumadex {

// Lasts as long as the control's window; the caption is read whenever the name is asked.
bool NameAfterLabel(HWND control, HWND label);

}  // namespace lumadex
