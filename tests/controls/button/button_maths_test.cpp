#include <gtest/gtest.h>

#include "controls/button/button_colour.h"
#include "controls/button/button_geometry.h"

namespace lumadex::button {
namespace {

TEST(ButtonColours, ShadeClampsEachChannel) {
  EXPECT_EQ(ShadeColor(Rgb(10, 128, 250), 15), Rgb(25, 143, 255));
  EXPECT_EQ(ShadeColor(Rgb(10, 128, 250), -96), Rgb(0, 32, 154));
  EXPECT_EQ(ShadeColor(0xF0F0F0, 96), 0xFFFFFFu);
}

TEST(ButtonColours, BlendRoundsHalvesToEven) {
  EXPECT_EQ(BlendColors(Rgb(1, 2, 0), Rgb(2, 3, 255)), Rgb(2, 2, 128));
  EXPECT_EQ(BlendColors(Rgb(255, 255, 255), Rgb(160, 160, 160)), Rgb(208, 208, 208));
}

TEST(ButtonColours, TintTowardWhiteUsesIntegerDivision) {
  // 32 + 223 × 100 / 255 = 32 + 87
  EXPECT_EQ(TintTowardWhite(Rgb(100, 0, 255), 32), Rgb(119, 32, 255));
  EXPECT_EQ(TintTowardWhite(0, 176), Rgb(176, 176, 176));
}

TEST(ButtonColours, AverageGray) {
  EXPECT_EQ(AverageGray(Rgb(255, 0, 0)), Rgb(85, 85, 85));
  EXPECT_EQ(AverageGray(Rgb(1, 1, 0)), Rgb(1, 1, 1));  // 0.667
  EXPECT_EQ(AverageGray(Rgb(1, 0, 0)), 0u);                // 0.333
}

TEST(ButtonColours, GradientEndsAndMiddle) {
  const Colour from = Rgb(255, 0, 100), to = Rgb(225, 30, 100);
  EXPECT_EQ(GradientColour(from, to, 0, 20), from);
  EXPECT_EQ(GradientColour(from, to, 20, 20), to);
  // −30 × 1 / 20 = −1.5 → −2 (even), 30 × 1 / 20 = 1.5 → 2
  EXPECT_EQ(GradientColour(from, to, 1, 20), Rgb(254, 2, 100));
  // −30 × 3 / 20 = −4.5 → 250.5 → 250; 4.5 → 4
  EXPECT_EQ(GradientColour(from, to, 3, 20), Rgb(250, 4, 100));
}

TEST(ButtonColours, GreyIconKeepsPureGreysExcept0x90) {
  for (Colour g : {0x000000u, 0x101010u, 0x808080u, 0xA0A0A0u, 0xC0C0C0u, 0xF0F0F0u, 0xFFFFFFu}) {
    EXPECT_EQ(GreyIconPixel(g), g);
  }
  EXPECT_EQ(GreyIconPixel(0x909090), 0x949494u);
  // 0.33 × 255 = 84.15
  EXPECT_EQ(GreyIconPixel(Rgb(255, 0, 0)), Rgb(84, 84, 84));
  // 0.33·200 + 0.59·100 + 0.11·40 = 66 + 59 + 4.4
  EXPECT_EQ(GreyIconPixel(Rgb(200, 100, 40)), Rgb(129, 129, 129));
  // 1.03 × 255 exceeds 255
  EXPECT_EQ(GreyIconPixel(Rgb(255, 255, 254)), Rgb(255, 255, 255));
}

TEST(ButtonGeometry, MinimumSizeIs300Twips) {
  EXPECT_EQ(MinimumPixels(96), 20);
  EXPECT_EQ(AtLeastMinimum(7, 96), 20);
  EXPECT_EQ(AtLeastMinimum(25, 96), 25);
  EXPECT_EQ(MinimumPixels(120), 25);
}

TEST(ButtonGeometry, CaptionFlagsByAlignment) {
  EXPECT_EQ(CaptionFormat(0, kCentredWordWrap), 0x25u);
  EXPECT_EQ(CaptionFormat(1, 0), 0x24u);
  EXPECT_EQ(CaptionFormat(2, 0), 0x26u);
  EXPECT_EQ(CaptionFormat(3, 0), 0x21u);
  EXPECT_EQ(CaptionFormat(4, 0), 0x29u);
  EXPECT_EQ(CaptionFormat(5, 0x24), 0x24u);
  EXPECT_EQ(CaptionFormat(-1, kCentredWordWrap), kCentredWordWrap);
}

TEST(ButtonGeometry, IconPlaces) {
  struct Case {
    std::int32_t align;
    int w, h, margin;
    Point at;
  } cases[] = {
      {0, 57, 25, 4, {20, 4}},  // 20.5 → 20, 4.5 → 4
      {0, 59, 27, 4, {22, 6}},  // 21.5 → 22, 5.5 → 6
      {1, 57, 25, 4, {4, 4}},
      {2, 57, 25, 4, {37, 4}},
      {3, 57, 47, 7, {20, 7}},
      {4, 57, 47, 7, {20, 24}},
      {42, 57, 47, 7, {20, 16}},
  };
  for (const Case& c : cases) {
    const Point at = IconPosition(c.align, c.w, c.h, 16, c.margin);
    EXPECT_TRUE(at == c.at) << c.align << " " << c.w << "x" << c.h << ": " << at.x << "," << at.y;
  }
}

TEST(ButtonGeometry, OutlinesOfTheStyles) {
  EXPECT_EQ(RegionOf(0), RegionShape::Rectangle);
  EXPECT_EQ(RegionOf(6), RegionShape::Rectangle);
  EXPECT_EQ(RegionOf(5), RegionShape::OctagonA);
  EXPECT_EQ(RegionOf(7), RegionShape::OctagonA);
  EXPECT_EQ(RegionOf(8), RegionShape::OctagonB);
  EXPECT_EQ(RegionOf(9), RegionShape::OctagonB);
  EXPECT_EQ(RegionOf(10), RegionShape::RoundedRectangle);
  EXPECT_EQ(RegionOf(77), RegionShape::Rectangle);
  const std::vector<Point> b = RegionPolygon(RegionShape::OctagonB, 57, 25);
  const std::vector<Point> expected{{0, 2}, {2, 0}, {54, 0}, {57, 3}, {57, 22}, {54, 25}, {4, 25}, {0, 21}};
  EXPECT_EQ(b, expected);
  EXPECT_TRUE(RegionPolygon(RegionShape::Rectangle, 57, 25).empty());
}

TEST(ButtonGeometry, LinesLeaveOutTheirEndPoint) {
  EXPECT_EQ(LinePixels(2, 1, 5, 1), (std::vector<Point>{{2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(LinePixels(53, 24, 57, 20), (std::vector<Point>{{53, 24}, {54, 23}, {55, 22}, {56, 21}}));
  EXPECT_TRUE(LinePixels(3, 3, 3, 3).empty());
}

TEST(ButtonGeometry, AccessKeys) {
  EXPECT_EQ(AccessKeyOf(L"&Save"), L'S');
  EXPECT_EQ(AccessKeyOf(L"Sa&ve"), L'V');
  EXPECT_EQ(AccessKeyOf(L"R&&D"), std::nullopt);
  EXPECT_EQ(AccessKeyOf(L"R&&D &go"), L'G');
  EXPECT_EQ(AccessKeyOf(L"下 载"), std::nullopt);
  EXPECT_EQ(AccessKeyOf(L"trailing&"), std::nullopt);
  EXPECT_EQ(AccessKeyOf(L"下载(&D)"), L'D');
}

}  // namespace
}  // namespace lumadex::button
