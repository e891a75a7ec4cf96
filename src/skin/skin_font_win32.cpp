#include "skin/skin_font_win32.h"

#include "winmsg/font_win32.h"

namespace lumadex {

StoredFont StoredFontOf(const SkinFont& font) {
  StoredFont stored;
  stored.face = font.Name;
  stored.points = font.Size;
  stored.weight = font.Bold ? FW_BOLD : FW_NORMAL;
  stored.italic = font.Italic;
  stored.underline = font.Underline;
  stored.strikeout = font.Strikethrough;
  stored.charset = font.Charset;
  return stored;
}

void FontToLogFont(const SkinFont& font, HDC hDC, LOGFONTW& lf) {
  lf = LogFontOf(StoredFontOf(font), GetDeviceCaps(hDC, LOGPIXELSY), PointRounding::WholePoints);
}

}  // namespace lumadex
