// Colour arithmetic of the progress bar: channel access, grey and brightened variants, the
// theme palettes and the colour ramps of the four-corner gradient. Colours are the platform's
// 32-bit values, red in the low byte; system colours must be translated before they get here.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "winmsg/colour.h"
#include "winmsg/font.h"

namespace lumadex {

// The grey of the same lightness: the mean of the three channels, rounded.
Colour GreyOf(Colour c);
// Moves every channel by d; a result above 255 stops there, a negative one is reflected at 0.
Colour ShiftColour(Colour c, int d);

// The colours of one redraw. Only the even entries are drawn; each odd entry copies the even
// entry before it.
using Palette = std::array<Colour, 17>;
inline constexpr int kFirstTheme = 1;
inline constexpr int kCustomTheme = 10;
// The palette of a theme (10 builds it from the two custom colours, which give the fill and the
// border, and the empty part); nullopt for a value that names no theme.
std::optional<Palette> ThemePalette(int theme, Colour custom1, Colour custom2);
Palette GreyPalette(const Palette& palette);

// Blue, green and red of one colour, in the order a 24-bit device-independent bitmap keeps them.
using Channels = std::array<std::uint8_t, 3>;
Channels ChannelsOf(Colour c);
// d / n in single precision; 0 when either is 0.
float RampStep(int d, int n);
// n + 1 entries leading from a to b in equal steps (each channel rounded half to even).
std::vector<Channels> BuildColourRamp(int n, const Channels& a, const Channels& b);

}  // namespace lumadex
