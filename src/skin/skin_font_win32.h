// Fonts and colours as the skin's owner gives them, and their platform forms.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace lumadex {

// A font as a form keeps it: by name and size in points. Shared, so that a change made
// through the object reaches whoever holds it.
struct SkinFont {
  std::wstring Name = L"MS Sans Serif";
  double Size = 8.25;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  BYTE Charset = DEFAULT_CHARSET;
};

// The LOGFONT of a font for a device context; the face name is cut, at a whole character, to
// what fits the 32-byte face-name field in the ANSI code page.
void FontToLogFont(const SkinFont& font, HDC hDC, LOGFONTW& lf);

// A colour value to a plain RGB value: system colours (top bit set) are looked up; a value the
// platform cannot translate gives CLR_INVALID.
COLORREF TranslateSkinColor(std::uint32_t color);

}  // namespace lumadex
