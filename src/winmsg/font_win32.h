// The one way a stored font becomes a platform font.
#pragma once
#include <windows.h>

#include "winmsg/font.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {

// LOGPIXELSY of the screen (96 when it cannot be read).
int ScreenDpi();

// A zeroed LOGFONTW filled from the font: the height for `dpi` by `rounding`; the weight,
// italic, underline, strike-out and character set as stored; the face cut before the first
// character that would not fit whole into the 32-byte face-name field in the ANSI code page.
LOGFONTW LogFontOf(const StoredFont& font, int dpi, PointRounding rounding);

// The font itself, for the screen's resolution; empty when the platform refuses it.
Font CreateFontOf(const StoredFont& font, PointRounding rounding = PointRounding::Exact);

}  // namespace lumadex
