#include "winmsg/system_colour_win32.h"

#include <windows.h>

namespace lumadex {

SystemColours CurrentSystemColours() {
  SystemColours system;
  for (int i = 0; i < SystemColours::kCount; ++i) system.colours[static_cast<std::size_t>(i)] = GetSysColor(i);
  return system;
}

Colour TranslateColor(Colour value) {
  // Plain values need no table; reading all 31 system colours for them would be waste.
  if ((value & kSystemColourBit) == 0) return TranslateColor(value, SystemColours{});
  return TranslateColor(value, CurrentSystemColours());
}

}  // namespace lumadex
