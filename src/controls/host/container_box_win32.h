// Frames and borderless container boxes: windows that hold other controls, as the main
// window's groups do. They pass their children's notifications on to the top-level window,
// so that the window handles every control's events in one place.
#pragma once
#include <windows.h>

namespace lumadex {

enum class BoxStyle { Frame, Plain };

// Creates a box; a frame draws an etched border with its text as the caption.
HWND CreateContainerBox(HWND parent, BoxStyle style, const wchar_t* text, int x, int y, int width, int height);
bool IsContainerBox(HWND hwnd);

// A caption that lies beneath every other control of its box, as captions of forms do: a
// caption reaching into the box it names never covers that box. Text wraps at its width.
HWND CreateLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height);
// Puts the captions below every other control, everywhere under `parent`; call it once all
// controls exist, since a new control may be placed beneath those made before it.
void SendLabelsToBack(HWND parent);

// A control's own enabled flag, apart from that of the boxes around it. A control can be used
// only when it and every box around it are enabled; controls inside a disabled box are shown
// disabled and get their own state back when the box is enabled again.
void SetOwnEnabled(HWND hwnd, bool enabled);
bool IsOwnEnabled(HWND hwnd);
// True when the control and every window up to its top-level window are enabled.
bool IsUsable(HWND hwnd);

}  // namespace lumadex
