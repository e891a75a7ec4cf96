// Colour arithmetic of the program's push button. Colours are plain RGB values: red in the low
// byte, then green, then blue. Values with the top bit set name system colours and must be
// translated (TranslateColor) before any of the channel arithmetic here.
#pragma once
#include <array>
#include <cstdint>

namespace lumadex::button {

using Rgb = std::uint32_t;

constexpr int Red(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int Green(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blue(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>(r & 0xFF) | (static_cast<Rgb>(g & 0xFF) << 8) | (static_cast<Rgb>(b & 0xFF) << 16);
}

// The platform's system colours by index (button face is 15, highlight 13, …), as plain RGB.
struct SystemPalette {
  static constexpr int kCount = 31;
  std::array<Rgb, kCount> colors{};
  Rgb operator[](int index) const { return colors[static_cast<std::size_t>(index)]; }
};

// Indices of the system colours the button uses.
enum SysColor : int {
  kSysButtonFace = 15,
  kSysButtonShadow = 16,
  kSysGrayText = 17,
  kSysButtonText = 18,
  kSysHighlight = 13,
  kSysWindow = 5,
  kSysInfoText = 23,
  kSysInfoBack = 24,
};

inline constexpr Rgb kSystemColorBit = 0x80000000u;
inline constexpr Rgb kTranslateFailed = 0xFFFFFFFFu;  // −1, as the platform's translation reports it

// A system colour value (top bit set) for an index.
constexpr Rgb SystemColor(int index) { return kSystemColorBit | static_cast<Rgb>(index); }

// Plain RGB for any stored colour; kTranslateFailed for a system index the palette lacks or a
// value that is neither a system colour nor plain RGB.
Rgb TranslateColor(Rgb color, const SystemPalette& palette);

// Each channel + d, clamped to 0..255.
Rgb ShadeColor(Rgb c, int d);
// Each channel (a + b) / 2, halves to even.
Rgb BlendColors(Rgb a, Rgb b);
// Each channel t + (255 − t) × channel / 255 (integer division), at most 255.
Rgb TintTowardWhite(Rgb c, int t);
// (v, v, v) with v = R/3 + G/3 + B/3, halves to even.
Rgb AverageGray(Rgb c);
// Row i of n of a gradient: from + (to − from) × i / n per channel in single precision, halves to even.
Rgb GradientColor(Rgb from, Rgb to, int i, int n);
// A pixel of an icon in its disabled look: the sixteen pure greys 0x00…0xFF in steps of 0x10
// (but not 0x90) stay; others become (v, v, v), v = 0.33 R + 0.59 G + 0.11 B, halves to even.
Rgb GreyIconPixel(Rgb c);

}  // namespace lumadex::button
