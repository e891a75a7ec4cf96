#include "controls/button/button_colors.h"

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

Rgb TranslateColor(Rgb color, const SystemPalette& palette) {
  if (color & kSystemColorBit) {
    const Rgb index = color & ~kSystemColorBit;
    if (index >= static_cast<Rgb>(SystemPalette::kCount)) return kTranslateFailed;
    return palette[static_cast<int>(index)] & 0xFFFFFF;
  }
  if (color > 0xFFFFFF) return kTranslateFailed;
  return color;
}

Rgb ShadeColor(Rgb c, int d) {
  return MakeRgb(Clamp8(Red(c) + d), Clamp8(Green(c) + d), Clamp8(Blue(c) + d));
}

Rgb BlendColors(Rgb a, Rgb b) {
  return MakeRgb(HalfOfSumEven(Red(a), Red(b)), HalfOfSumEven(Green(a), Green(b)), HalfOfSumEven(Blue(a), Blue(b)));
}

Rgb TintTowardWhite(Rgb c, int t) {
  auto ch = [t](int v) { return std::min(255, t + (255 - t) * v / 255); };
  return MakeRgb(ch(Red(c)), ch(Green(c)), ch(Blue(c)));
}

Rgb AverageGray(Rgb c) {
  const int v = Clamp8(RoundEven(Red(c) / 3.0 + Green(c) / 3.0 + Blue(c) / 3.0));
  return MakeRgb(v, v, v);
}

Rgb GradientColor(Rgb from, Rgb to, int i, int n) {
  if (n <= 0) return from;
  auto ch = [i, n](int f, int t) {
    const float step = static_cast<float>(t - f) * static_cast<float>(i) / static_cast<float>(n);
    return Clamp8(std::lrint(static_cast<float>(f) + step));
  };
  return MakeRgb(ch(Red(from), Red(to)), ch(Green(from), Green(to)), ch(Blue(from), Blue(to)));
}

Rgb GreyIconPixel(Rgb c) {
  c &= 0xFFFFFF;
  const int r = Red(c);
  if (r == Green(c) && r == Blue(c) && r % 0x10 == 0 && r != 0x90) return c;
  if (c == 0xFFFFFF) return c;
  const int v = Clamp8(RoundEven(0.33 * Red(c) + 0.59 * Green(c) + 0.11 * Blue(c)));
  return MakeRgb(v, v, v);
}

}  // namespace lumadex::button
