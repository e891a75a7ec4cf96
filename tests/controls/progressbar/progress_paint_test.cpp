#include "controls/progressbar/progress_paint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumadex {
namespace {

const StoredFont kFormFont{L"宋体", 9.0, 400, false, false, false, 134};

TEST(BarColours, ChannelsGreyAndShift) {
  const Colour c = Rgb(10, 200, 31);
  EXPECT_EQ(c, 10u + 256u * 200u + 65536u * 31u);
  EXPECT_EQ(RedOf(c), 10);
  EXPECT_EQ(GreenOf(c), 200);
  EXPECT_EQ(BlueOf(c), 31);
  EXPECT_EQ(GreyOf(c), Rgb(80, 80, 80));           // 241 / 3 = 80.33
  EXPECT_EQ(GreyOf(Rgb(1, 1, 0)), Rgb(1, 1, 1));   // 0.67
  EXPECT_EQ(GreyOf(Rgb(255, 255, 255)), Rgb(255, 255, 255));
  EXPECT_EQ(ShiftColour(Rgb(100, 200, 0), 80), Rgb(180, 255, 80));
  // Below zero the shift is reflected rather than stopped.
  EXPECT_EQ(ShiftColour(Rgb(10, 0, 255), -30), Rgb(20, 30, 225));
}

TEST(BarColours, RoundingGoesToTheEvenNeighbourOnHalves) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(224.5), 224);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

// Entries 0, 2, … 16 of a palette, each as expected.
void ExpectEvenEntries(const std::optional<Palette>& palette, const std::array<Colour, 9>& even) {
  ASSERT_TRUE(palette);
  for (std::size_t i = 0; i < even.size(); ++i) EXPECT_EQ((*palette)[2 * i], even[i]) << 2 * i;
}

TEST(BarColours, EveryThemeHasItsTableAndOddEntriesCopyTheEvenOnes) {
  // The first, fill and border colours of each fixed theme.
  const Colour first[9] = {Rgb(248, 246, 242), Rgb(247, 248, 242), Rgb(242, 248, 243), Rgb(242, 248, 247),
                           Rgb(243, 242, 248), Rgb(248, 242, 247), Rgb(248, 242, 242), Rgb(250, 253, 254),
                           Rgb(231, 243, 232)};
  const Colour fill[9] = {Rgb(203, 166, 57), Rgb(190, 203, 57), Rgb(57, 203, 70),  Rgb(57, 203, 190), Rgb(70, 57, 203),
                          Rgb(203, 57, 190), Rgb(203, 57, 57),  Rgb(63, 112, 233), Rgb(26, 228, 26)};
  const Colour border[9] = {Rgb(204, 168, 62), Rgb(192, 204, 62), Rgb(62, 204, 74),  Rgb(62, 204, 192),
                            Rgb(74, 62, 204),  Rgb(204, 62, 192), Rgb(204, 62, 62),  Rgb(23, 139, 211),
                            Rgb(188, 184, 188)};
  for (int theme = 1; theme <= 9; ++theme) {
    SCOPED_TRACE(theme);
    const auto p = ThemePalette(theme, 0x123456, 0x654321);
    ASSERT_TRUE(p);
    EXPECT_EQ((*p)[0], first[theme - 1]);
    EXPECT_EQ((*p)[12], fill[theme - 1]);
    EXPECT_EQ((*p)[16], border[theme - 1]);
    for (int odd = 1; odd < 16; odd += 2) EXPECT_EQ((*p)[odd], (*p)[odd - 1]) << odd;
  }
  ExpectEvenEntries(ThemePalette(8, 0, 0),
                    {Rgb(250, 253, 254), Rgb(228, 243, 252), Rgb(199, 230, 249), Rgb(237, 247, 253), Rgb(225, 247, 255),
                     Rgb(67, 208, 255), Rgb(63, 112, 233), Rgb(63, 226, 246), Rgb(23, 139, 211)});
  EXPECT_FALSE(ThemePalette(0, 0, 0));
  EXPECT_FALSE(ThemePalette(11, 0, 0));
  EXPECT_FALSE(ThemePalette(-1, 0, 0));
}

TEST(BarColours, TheCustomThemeBrightensItsTwoColours) {
  // The empty part from the second colour, the fill and the border from the first.
  ExpectEvenEntries(ThemePalette(10, Rgb(255, 0, 0), Rgb(0, 0, 100)),
                    {Rgb(180, 180, 255), Rgb(50, 50, 150), Rgb(0, 0, 100), Rgb(80, 80, 180), Rgb(255, 180, 180),
                     Rgb(255, 50, 50), Rgb(255, 0, 0), Rgb(255, 80, 80), Rgb(255, 0, 0)});
}

TEST(BarColours, RampsStepEvenlyAndEndOnTheirColours) {
  EXPECT_FLOAT_EQ(RampStep(10, 4), 2.5f);
  EXPECT_EQ(RampStep(0, 4), 0.0f);
  EXPECT_EQ(RampStep(9, 0), 0.0f);
  const auto ramp = BuildColourRamp(4, ChannelsOf(Rgb(0, 100, 255)), ChannelsOf(Rgb(10, 100, 0)));
  ASSERT_EQ(ramp.size(), 5u);
  // Blue, green, red: red climbs 2.5 a step, halves to the even neighbour.
  const int red[5] = {0, 2, 5, 8, 10};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(ramp[i][2], red[i]) << i;
    EXPECT_EQ(ramp[i][1], 100) << i;
    EXPECT_EQ(ramp[i][0], static_cast<int>(RoundHalfEven(255 - 63.75 * i))) << i;
  }
  // A long ramp ends exactly on its far colour.
  const auto longRamp = BuildColourRamp(449, ChannelsOf(Rgb(0, 0, 0)), ChannelsOf(Rgb(255, 7, 200)));
  EXPECT_EQ(longRamp.back(), ChannelsOf(Rgb(255, 7, 200)));
  EXPECT_EQ(BuildColourRamp(0, ChannelsOf(1), ChannelsOf(2)).size(), 1u);
  EXPECT_TRUE(BuildColourRamp(-1, ChannelsOf(1), ChannelsOf(2)).empty());
}

TEST(BarText, PercentAndValueTexts) {
  EXPECT_EQ(PercentText(100.0 / 3.0), L"33.3333333333333");
  EXPECT_EQ(PercentText(200.0 / 3.0), L"66.6666666666667");
  EXPECT_EQ(PercentText(0.5), L"0.5");
  EXPECT_EQ(PercentText(0.0), L"0");
  EXPECT_EQ(PercentText(100.0), L"100");
  EXPECT_EQ(PercentText(12.5), L"12.5");
  EXPECT_EQ(PercentText(100.0 / 2147483647.0), L"0.000000046566128752458");
  ProgressBarModel bar;
  bar.InitNew(kFormFont);
  bar.SetMax(3);
  bar.SetValue(1);
  bar.SetTextStyle(2);
  EXPECT_EQ(BarText(bar), L"33.3333333333333%");
  bar.SetTextStyle(1);
  EXPECT_EQ(BarText(bar), L"1");
  bar.SetTextStyle(3);
  EXPECT_EQ(BarText(bar), L"Vexo ProgressBar");
  bar.SetTextStyle(4);
  EXPECT_FALSE(BarText(bar));
}

TEST(BarText, NineAlignments) {
  struct Case {
    int alignment, w, h, tw, th;
    TextPoint at;
  } cases[] = {
      // 449 x 15 with a 30 x 12 text: the centre is 449/2 - 15 - 1 = 208.5 -> 208, 7.5 - 6 - 1 = 0.5 -> 0.
      {1, 449, 15, 30, 12, {1, 0}},
      {2, 449, 15, 30, 12, {1, 0}},
      {3, 449, 15, 30, 12, {1, 2}},
      {4, 449, 15, 30, 12, {208, 0}},
      {5, 449, 40, 31, 13, {208, 12}},  // 224.5-15.5-1, 20-6.5-1 = 12.5
      {6, 449, 40, 30, 12, {208, 27}},
      {7, 449, 40, 30, 12, {416, 0}},
      {8, 449, 40, 30, 12, {416, 13}},
      {9, 449, 40, 30, 12, {416, 27}},
      {0, 449, 40, 30, 12, {0, 0}},
      {10, 449, 40, 30, 12, {0, 0}},
  };
  for (const Case& c : cases) {
    const TextPoint at = TextPosition(c.alignment, c.w, c.h, c.tw, c.th);
    EXPECT_TRUE(at == c.at) << c.alignment << ": " << at.x << "," << at.y;
  }
}

TEST(BarText, EffectsPrintInOrderAtTheirOffsets) {
  const Colour t = 1, e = 2, g = Rgb(128, 128, 128);
  const TextPoint at{10, 20};
  EXPECT_EQ(EffectPrints(1, at, t, e), (std::vector<TextPrint>{{t, 10, 20}}));
  EXPECT_EQ(EffectPrints(2, at, t, e), (std::vector<TextPrint>{{e, 9, 19}, {g, 11, 21}, {t, 10, 20}}));
  EXPECT_EQ(EffectPrints(3, at, t, e), (std::vector<TextPrint>{{e, 11, 21}, {g, 9, 20}, {t, 10, 20}}));
  EXPECT_EQ(EffectPrints(4, at, t, e),
            (std::vector<TextPrint>{{e, 11, 20}, {e, 9, 20}, {e, 10, 19}, {e, 10, 21}, {t, 10, 20}}));
  EXPECT_EQ(EffectPrints(5, at, t, e), (std::vector<TextPrint>{{e, 11, 21}, {t, 10, 20}}));
  EXPECT_TRUE(EffectPrints(0, at, t, e).empty());
  EXPECT_TRUE(EffectPrints(6, at, t, e).empty());
}

class BarPlan : public testing::Test {
 protected:
  BarPlan() {
    bar_.InitNew(kFormFont);
    look_.palette = *ThemePalette(8, 0, 0);
  }
  BarPicture Plan(int w, int h) { return PlanBar(bar_, look_, w, h, 30, 12); }
  ProgressBarModel bar_;
  BarLook look_;
};

TEST_F(BarPlan, HorizontalHalvesAndFill) {
  bar_.SetValue(50);
  const BarPicture p = Plan(449, 15);
  const Palette& c = look_.palette;
  ASSERT_EQ(p.bands.size(), 4u);
  EXPECT_EQ(p.bands[0], (GradientBand{0, 0, 449, 8, true, c[0], c[2]}));  // 7.5 -> 8
  EXPECT_EQ(p.bands[1], (GradientBand{0, 8, 449, 15, true, c[4], c[6]}));
  EXPECT_EQ(p.bands[2], (GradientBand{0, 0, 224, 8, true, c[8], c[10]}));  // 224.5 -> 224
  EXPECT_EQ(p.bands[3], (GradientBand{0, 8, 224, 15, true, c[12], c[14]}));
  EXPECT_EQ(p.border, c[16]);
  bar_.SetValue(100);
  EXPECT_EQ(Plan(449, 15).bands[2].right, 449);
  bar_.SetValue(0);
  EXPECT_EQ(Plan(449, 15).bands.size(), 2u);
  EXPECT_EQ(Plan(449, 14).bands[0].bottom, 7);
}

TEST_F(BarPlan, FillCountsFromZeroNotFromMin) {
  bar_.SetMin(20);
  bar_.SetValue(20);
  EXPECT_EQ(Plan(200, 10).bands[2].right, 40);
}

TEST_F(BarPlan, VerticalGrowsFromTheTopWithLeftToRightGradients) {
  bar_.SetOrientations(2);
  bar_.SetValue(25);
  const BarPicture p = Plan(15, 101);
  ASSERT_EQ(p.bands.size(), 4u);
  EXPECT_EQ(p.bands[0], (GradientBand{0, 0, 8, 101, false, look_.palette[0], look_.palette[2]}));
  EXPECT_EQ(p.bands[1], (GradientBand{8, 0, 15, 101, false, look_.palette[4], look_.palette[6]}));
  EXPECT_EQ(p.bands[2], (GradientBand{0, 0, 8, 25, false, look_.palette[8], look_.palette[10]}));  // 25.25
  EXPECT_EQ(p.bands[3], (GradientBand{8, 0, 15, 25, false, look_.palette[12], look_.palette[14]}));
  bar_.SetOrientations(3);
  EXPECT_TRUE(Plan(15, 101).bands.empty());
}

TEST_F(BarPlan, DisabledGreysEverythingButTheEffectGrey) {
  bar_.SetTextEffect(2);
  bar_.SetTextForeColor(Rgb(255, 0, 0));
  bar_.SetTextEffectColor(Rgb(0, 0, 255));
  look_.enabled = false;
  const BarPicture p = Plan(449, 15);
  EXPECT_EQ(p.bands[0].from, GreyOf(look_.palette[0]));
  EXPECT_EQ(p.bands[3].to, GreyOf(look_.palette[14]));
  EXPECT_EQ(p.border, GreyOf(look_.palette[16]));
  ASSERT_EQ(p.prints.size(), 3u);
  EXPECT_EQ(p.prints[0].colour, Rgb(85, 85, 85));
  EXPECT_EQ(p.prints[1].colour, Rgb(128, 128, 128));
  EXPECT_EQ(p.prints[2].colour, Rgb(85, 85, 85));
}

TEST_F(BarPlan, UnknownThemesKeepThePreviousPalette) {
  bar_.SetTheme(3);
  const Palette green = ApplyTheme(Palette{}, bar_);
  EXPECT_EQ(green, *ThemePalette(3, 0, 0));
  bar_.SetTheme(77);
  EXPECT_EQ(ApplyTheme(green, bar_), green);
  EXPECT_EQ(ApplyTheme(Palette{}, bar_), Palette{});
  // System colours reach the custom theme translated.
  bar_.SetTheme(10);
  bar_.SetPBSCustomeColor1(0x80000005);
  const Palette custom = ApplyTheme(Palette{}, bar_, [](Colour c) -> Colour { return c & 0x80000000 ? 0xFF : c; });
  EXPECT_EQ(custom[12], Rgb(255, 0, 0));
}

TEST_F(BarPlan, NothingForAnEmptyArea) {
  EXPECT_TRUE(Plan(0, 15).bands.empty());
  EXPECT_TRUE(Plan(449, 0).prints.empty());
  EXPECT_TRUE(Plan(-3, -3).bands.empty());
}

}  // namespace
}  // namespace lumadex
