#include "controls/button/button_colour.h"

#include <algorithm>
#include <cmath>

namespace lumadex::button {
namespace {

int Clamp8(long v) { return static_cast<int>(std::clamp<long>(v, 0, 255)); }

// Halves go to the even neighbour in the default floating-point rounding mode.
long RoundEven(double v) { return std::lrint(v); }

int HalfOfSumEven(int a, int b) {
  const int s = a + b;
  const int half = s / 2;
  return (s % 2 == 0) ? half : half + (half & 1);
}

}  // namespace

Colour ShadeColor(Colour c, int d) { return Rgb(Clamp8(RedOf(c) + d), Clamp8(GreenOf(c) + d), Clamp8(BlueOf(c) + d)); }

Colour BlendColors(Colour a, Colour b) {
  return Rgb(HalfOfSumEven(RedOf(a), RedOf(b)), HalfOfSumEven(GreenOf(a), GreenOf(b)),
             HalfOfSumEven(BlueOf(a), BlueOf(b)));
}

Colour TintTowardWhite(Colour c, int t) {
  auto ch = [t](int v) { return std::min(255, t + (255 - t) * v / 255); };
  return Rgb(ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

Colour AverageGray(Colour c) {
  const int v = Clamp8(RoundEven(RedOf(c) / 3.0 + GreenOf(c) / 3.0 + BlueOf(c) / 3.0));
  return Rgb(v, v, v);
}

Colour GradientColour(Colour from, Colour to, int i, int n) {
  if (n <= 0) return from;
  auto ch = [i, n](int f, int t) {
    const float step = static_cast<float>(t - f) * static_cast<float>(i) / static_cast<float>(n);
    return Clamp8(std::lrint(static_cast<float>(f) + step));
  };
  return Rgb(ch(RedOf(from), RedOf(to)), ch(GreenOf(from), GreenOf(to)), ch(BlueOf(from), BlueOf(to)));
}

Colour GreyIconPixel(Colour c) {
  c &= 0xFFFFFF;
  const int r = RedOf(c);
  if (r == GreenOf(c) && r == BlueOf(c) && r % 0x10 == 0 && r != 0x90) return c;
  if (c == 0xFFFFFF) return c;
  const int v = Clamp8(RoundEven(0.33 * RedOf(c) + 0.59 * GreenOf(c) + 0.11 * BlueOf(c)));
  return Rgb(v, v, v);
}

}  // namespace lumadex::button
