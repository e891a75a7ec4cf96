// Bitmap files made on the spot, for the tests of pictures: every kind a picture reader must
// take or refuse is a few bytes away from one of these.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "winmsg/colour.h"

namespace lumadex::test {

// A bitmap file of width × height pixels at 24 or 32 bits per pixel, rows kept bottom first
// (top first when `topFirst`); the pixels come from `pixel` (red in the low byte).
std::vector<std::uint8_t> BitmapFile(int width, int height, int bitCount, const std::function<Colour(int x, int y)>& pixel,
                                     bool topFirst = false);

// An 8-bit bitmap file whose pixels index `palette`.
std::vector<std::uint8_t> PalettedBitmapFile(int width, int height, const std::vector<Colour>& palette,
                                             const std::function<int(int x, int y)>& index);

}  // namespace lumadex::test
