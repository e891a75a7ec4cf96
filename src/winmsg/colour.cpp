#include "winmsg/colour.h"

namespace lumadex {

Colour TranslateColor(Colour value, const SystemColours& system) {
  switch (value >> 24) {
    case 0x00:
    case 0x02:
      return value & 0xFFFFFFu;
    case 0x80: {
      const Colour index = value & 0xFFFFFFu;
      if (index >= static_cast<Colour>(SystemColours::kCount)) return kColourInvalid;
      return system[static_cast<int>(index)] & 0xFFFFFFu;
    }
    default:
      return kColourInvalid;
  }
}

}  // namespace lumadex
