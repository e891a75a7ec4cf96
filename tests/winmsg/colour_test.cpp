#include "winmsg/colour.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

SystemColours NumberedSystemColours() {
  SystemColours system;
  for (int i = 0; i < SystemColours::kCount; ++i) system.colours[static_cast<std::size_t>(i)] = Rgb(i, 2 * i, 3 * i);
  return system;
}

TEST(ColourTranslation, PlainAndSystemValuesAndEveryWayOfFailing) {
  const SystemColours system = NumberedSystemColours();
  EXPECT_EQ(TranslateColor(0x00123456u, system), 0x123456u);
  EXPECT_EQ(TranslateColor(0x02123456u, system), 0x123456u);  // palette-relative RGB
  EXPECT_EQ(TranslateColor(0x8000000Fu, system), Rgb(15, 30, 45));
  EXPECT_EQ(TranslateColor(0x80000000u, system), Rgb(0, 0, 0));
  EXPECT_EQ(TranslateColor(0x8000001Eu, system), Rgb(30, 60, 90));  // the menu bar colour, the last one
  EXPECT_EQ(TranslateColor(0x8000001Fu, system), kColourInvalid);
  EXPECT_EQ(TranslateColor(0x80000100u, system), kColourInvalid);  // not index 0 of the low byte
  EXPECT_EQ(TranslateColor(0x01000005u, system), kColourInvalid);  // a palette index, with no palette
  EXPECT_EQ(TranslateColor(0x81000005u, system), kColourInvalid);
  EXPECT_EQ(TranslateColor(kColourInvalid, system), kColourInvalid);
}

TEST(ColourTranslation, SystemColourHasNoStrayBitsOfTheTable) {
  SystemColours system;
  system.colours[15] = 0xFF808080u;  // whatever the table holds above the colour stays out
  EXPECT_EQ(TranslateColor(SystemColour(kSysButtonFace), system), 0x808080u);
}

}  // namespace
}  // namespace lumadex
