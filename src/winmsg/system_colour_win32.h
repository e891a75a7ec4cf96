// The platform's current system colours, for the one colour translation of colour.h.
#pragma once
#include "winmsg/colour.h"

namespace lumadex {

SystemColours CurrentSystemColours();

// TranslateColor against the system colours as they are now.
Colour TranslateColor(Colour value);

}  // namespace lumadex
