// Colour arithmetic of the program's push button, on plain colour values only: a stored colour
// that names a system colour is translated (winmsg/colour.h) before it comes here.
#pragma once
#include "winmsg/colour.h"

namespace lumadex::button {

// Each channel + d, clamped to 0..255.
Colour ShadeColor(Colour c, int d);
// Each channel (a + b) / 2, halves to even.
Colour BlendColors(Colour a, Colour b);
// Each channel t + (255 − t) × channel / 255 (integer division), at most 255.
Colour TintTowardWhite(Colour c, int t);
// (v, v, v) with v = R/3 + G/3 + B/3, halves to even.
Colour AverageGray(Colour c);
// Row i of n of a gradient: from + (to − from) × i / n per channel in single precision, halves to even.
Colour GradientColour(Colour from, Colour to, int i, int n);
// A pixel of an icon in its disabled look: the sixteen pure greys 0x00…0xFF in steps of 0x10
// (but not 0x90) stay; others become (v, v, v), v = 0.33 R + 0.59 G + 0.11 B, halves to even.
Colour GreyIconPixel(Colour c);

}  // namespace lumadex::button
