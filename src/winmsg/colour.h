// Colours as the platform keeps them: red in the low byte, then green, then blue. A value with
// the top bit set names a system colour (0x8000000F is the button face) and must be translated
// to a plain value before any channel arithmetic.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace lumadex {

using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

inline constexpr Colour kSystemColourBit = 0x80000000u;
// What a failed translation gives: −1, the platform's CLR_INVALID.
inline constexpr Colour kColourInvalid = 0xFFFFFFFFu;

// The value that names system colour `index` (COLOR_BTNFACE 15 gives 0x8000000F).
constexpr Colour SystemColour(int index) { return kSystemColourBit | static_cast<Colour>(index); }

// Indices of the system colours the program's own controls and frame use.
enum SystemColourIndex : int {
  kSysWindow = 5,
  kSysHighlight = 13,
  kSysButtonFace = 15,
  kSysButtonShadow = 16,
  kSysGrayText = 17,
  kSysButtonText = 18,
  kSysButtonHighlight = 20,
  kSysInfoText = 23,
  kSysInfoBack = 24,
};

// The platform's system colours by index (0 … 30, as far as the menu bar colour), as plain
// values.
struct SystemColours {
  static constexpr int kCount = 31;
  std::array<Colour, kCount> colours{};
  Colour operator[](int index) const { return colours[static_cast<std::size_t>(index)]; }
};

// The platform's colour translation, for any stored colour:
//   0x00bbggrr and 0x02bbggrr (an RGB value, plain or palette-relative) give 0x00bbggrr;
//   0x800000nn gives system colour nn for nn from 0 to 30;
//   everything else (a palette index with no palette, an unknown system index, another
//   high byte) fails with kColourInvalid.
Colour TranslateColor(Colour value, const SystemColours& system);

}  // namespace lumadex
