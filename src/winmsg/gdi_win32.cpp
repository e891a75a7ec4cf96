#include "winmsg/gdi_win32.h"

#include <cmath>

namespace lumadex {

Font MakeFont(const wchar_t* face, double points, bool bold) {
  WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

}  // namespace lumadex
