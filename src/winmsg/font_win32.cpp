#include "winmsg/font_win32.h"

#include "services/ansi_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex {

int ScreenDpi() {
  WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

LOGFONTW LogFontOf(const StoredFont& font, int dpi, PointRounding rounding) {
  LOGFONTW lf{};
  std::size_t bytes = 0, count = 0;
  for (const wchar_t c : font.face) {
    const std::size_t size = WideToAnsi(std::wstring_view(&c, 1)).size();
    if (bytes + size > LF_FACESIZE - 1 || count + 1 > LF_FACESIZE - 1) break;
    lf.lfFaceName[count++] = c;
    bytes += size;
  }
  lf.lfHeight = LogFontHeight(font.points, dpi, rounding);
  lf.lfWeight = font.weight;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(font.charset);
  return lf;
}

Font CreateFontOf(const StoredFont& font, PointRounding rounding) {
  const LOGFONTW lf = LogFontOf(font, ScreenDpi(), rounding);
  return Font(CreateFontIndirectW(&lf));
}

}  // namespace lumadex
