#include "skin/skin_font_win32.h"

#include <cmath>

#include "services/ansi_win32.h"

namespace lumadex {

void FontToLogFont(const SkinFont& font, HDC hDC, LOGFONTW& lf) {
  lf = LOGFONTW{};
  // The face-name field holds 32 bytes with the terminating zero in the ANSI code page; a
  // longer name is cut before the first character that would not fit whole.
  std::size_t bytes = 0, count = 0;
  for (wchar_t c : font.Name) {
    const std::size_t size = WideToAnsi(std::wstring_view(&c, 1)).size();
    if (bytes + size > LF_FACESIZE - 1 || count + 1 > LF_FACESIZE - 1) break;
    lf.lfFaceName[count++] = c;
    bytes += size;
  }
  const int points = static_cast<int>(std::nearbyint(font.Size));
  lf.lfHeight = -MulDiv(points, GetDeviceCaps(hDC, LOGPIXELSY), 72);
  lf.lfItalic = font.Italic ? 1 : 0;
  lf.lfUnderline = font.Underline ? 1 : 0;
  lf.lfStrikeOut = font.Strikethrough ? 1 : 0;
  lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = font.Charset;
}

COLORREF TranslateSkinColor(std::uint32_t color) {
  const std::uint32_t kind = color >> 24;
  if (kind == 0x80) {
    const int index = static_cast<int>(color & 0xFFFFFF);
    if (index > COLOR_MENUBAR) return CLR_INVALID;
    return GetSysColor(index);
  }
  if (kind == 0x00 || kind == 0x02) return color & 0xFFFFFF;
  return CLR_INVALID;
}

}  // namespace lumadex
