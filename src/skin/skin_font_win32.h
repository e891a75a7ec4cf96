// The font object of the skinned frame, as the frame's owner sets it: by name and size in
// points, shared so that a change made through the object reaches whoever holds it.
#pragma once
#include <windows.h>

#include <string>

#include "winmsg/font.h"

namespace lumadex {

struct SkinFont {
  std::wstring Name = L"MS Sans Serif";
  double Size = 8.25;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  BYTE Charset = DEFAULT_CHARSET;
};

// The font as the program's font conversion takes it: weight 700 when bold, else 400.
StoredFont StoredFontOf(const SkinFont& font);

// The LOGFONT of a font for a device context: the size rounded to whole points, then scaled
// by the context's LOGPIXELSY; the face name cut, at a whole character, to what fits the
// 32-byte face-name field in the ANSI code page.
void FontToLogFont(const SkinFont& font, HDC hDC, LOGFONTW& lf);

}  // namespace lumadex
