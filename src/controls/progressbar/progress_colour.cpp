#include "controls/progressbar/progress_colour.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumadex {

Colour GreyOf(Colour c) {
  const int level = static_cast<int>(RoundHalfEven((RedOf(c) + GreenOf(c) + BlueOf(c)) / 3.0));
  return Rgb(level, level, level);
}

Colour ShiftColour(Colour c, int d) {
  auto shift = [d](int channel) {
    const long long moved = std::llabs(static_cast<long long>(channel) + d);
    return static_cast<int>(std::min<long long>(moved, 255));
  };
  return Rgb(shift(RedOf(c)), shift(GreenOf(c)), shift(BlueOf(c)));
}

namespace {

// Entries 0, 2, 4, ..., 16 of the nine fixed themes, one theme a row.
constexpr std::array<std::array<Colour, 9>, 9> kThemes{{
    {Rgb(248, 246, 242), Rgb(233, 227, 211), Rgb(226, 215, 182), Rgb(239, 233, 215), Rgb(251, 244, 223), Rgb(239, 213, 133), Rgb(203, 166, 57), Rgb(237, 224, 187), Rgb(204, 168, 62)},  // 1 amber
    {Rgb(247, 248, 242), Rgb(231, 233, 211), Rgb(222, 226, 182), Rgb(237, 239, 215), Rgb(249, 251, 223), Rgb(230, 239, 133), Rgb(190, 203, 57), Rgb(233, 237, 187), Rgb(192, 204, 62)},  // 2 lime
    {Rgb(242, 248, 243), Rgb(211, 233, 213), Rgb(182, 226, 186), Rgb(215, 239, 217), Rgb(223, 251, 225), Rgb(133, 239, 142), Rgb(57, 203, 70), Rgb(187, 237, 191), Rgb(62, 204, 74)},  // 3 green
    {Rgb(242, 248, 247), Rgb(211, 233, 231), Rgb(182, 226, 222), Rgb(215, 239, 237), Rgb(223, 251, 249), Rgb(133, 239, 230), Rgb(57, 203, 190), Rgb(187, 237, 233), Rgb(62, 204, 192)},  // 4 teal
    {Rgb(243, 242, 248), Rgb(213, 211, 233), Rgb(186, 182, 226), Rgb(217, 215, 239), Rgb(225, 223, 251), Rgb(142, 133, 239), Rgb(70, 57, 203), Rgb(191, 187, 237), Rgb(74, 62, 204)},  // 5 violet
    {Rgb(248, 242, 247), Rgb(233, 211, 231), Rgb(226, 182, 222), Rgb(239, 215, 237), Rgb(251, 223, 249), Rgb(239, 133, 230), Rgb(203, 57, 190), Rgb(237, 187, 233), Rgb(204, 62, 192)},  // 6 magenta
    {Rgb(248, 242, 242), Rgb(233, 211, 211), Rgb(226, 182, 182), Rgb(239, 215, 215), Rgb(251, 223, 223), Rgb(239, 133, 133), Rgb(203, 57, 57), Rgb(237, 187, 187), Rgb(204, 62, 62)},  // 7 red
    {Rgb(250, 253, 254), Rgb(228, 243, 252), Rgb(199, 230, 249), Rgb(237, 247, 253), Rgb(225, 247, 255), Rgb(67, 208, 255), Rgb(63, 112, 233), Rgb(63, 226, 246), Rgb(23, 139, 211)},  // 8 sky blue
    {Rgb(231, 243, 232), Rgb(225, 219, 225), Rgb(179, 189, 179), Rgb(226, 238, 226), Rgb(223, 251, 223), Rgb(108, 255, 108), Rgb(26, 228, 26), Rgb(217, 244, 217), Rgb(188, 184, 188)},  // 9 grey-green
}};

Palette FromEvenEntries(const std::array<Colour, 9>& even) {
  Palette palette{};
  for (size_t i = 0; i < even.size(); ++i) {
    palette[2 * i] = even[i];
    if (2 * i + 1 < palette.size()) palette[2 * i + 1] = even[i];
  }
  return palette;
}

}  // namespace

std::optional<Palette> ThemePalette(int theme, Colour custom1, Colour custom2) {
  if (theme >= kFirstTheme && theme < kCustomTheme) return FromEvenEntries(kThemes[static_cast<size_t>(theme - 1)]);
  if (theme != kCustomTheme) return std::nullopt;
  const Colour c1 = custom1, c2 = custom2;
  return FromEvenEntries({ShiftColour(c2, 180), ShiftColour(c2, 50), c2, ShiftColour(c2, 80), ShiftColour(c1, 180),
                          ShiftColour(c1, 50), c1, ShiftColour(c1, 80), c1});
}

Palette GreyPalette(const Palette& palette) {
  Palette grey{};
  std::transform(palette.begin(), palette.end(), grey.begin(), GreyOf);
  return grey;
}

Channels ChannelsOf(Colour c) {
  return {static_cast<std::uint8_t>(BlueOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
          static_cast<std::uint8_t>(RedOf(c))};
}

float RampStep(int d, int n) {
  if (d == 0 || n == 0) return 0.0f;
  return static_cast<float>(d) / static_cast<float>(n);
}

std::vector<Channels> BuildColourRamp(int n, const Channels& a, const Channels& b) {
  if (n < 0) return {};
  std::array<float, 3> steps{};
  for (size_t k = 0; k < 3; ++k) steps[k] = RampStep(int{b[k]} - int{a[k]}, n);
  std::vector<Channels> ramp(static_cast<size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    for (size_t k = 0; k < 3; ++k) {
      const long long level = RoundHalfEven(a[k] + static_cast<double>(steps[k]) * i);
      // A step rounded in single precision may overshoot the last entry by a hair.
      ramp[static_cast<size_t>(i)][k] = static_cast<std::uint8_t>(std::clamp<long long>(level, 0, 255));
    }
  }
  return ramp;
}

}  // namespace lumadex
