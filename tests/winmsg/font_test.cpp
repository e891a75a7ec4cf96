#include "winmsg/font.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(FontHeight, ExactSizesRoundHalvesToEven) {
  EXPECT_EQ(LogFontHeight(9, 96, PointRounding::Exact), -12);
  EXPECT_EQ(LogFontHeight(10.5, 96, PointRounding::Exact), -14);
  EXPECT_EQ(LogFontHeight(8.25, 96, PointRounding::Exact), -11);
  // 7.875 pt at 96 dpi is 10.5 pixels: the even neighbour, not the one away from zero.
  EXPECT_EQ(LogFontHeight(7.875, 96, PointRounding::Exact), -10);
  EXPECT_EQ(LogFontHeight(8.625, 96, PointRounding::Exact), -12);  // 11.5 → 12
}

TEST(FontHeight, WholePointsRoundTheSizeFirstThenScaleAsMulDiv) {
  // 7.875 pt becomes 8 pt, and 8 × 96 / 72 = 10.67 → 11.
  EXPECT_EQ(LogFontHeight(7.875, 96, PointRounding::WholePoints), -11);
  EXPECT_EQ(LogFontHeight(8.5, 96, PointRounding::WholePoints), -11);   // 8.5 → 8 (even)
  EXPECT_EQ(LogFontHeight(9.5, 96, PointRounding::WholePoints), -13);   // 9.5 → 10
  EXPECT_EQ(LogFontHeight(9, 120, PointRounding::WholePoints), -15);
  // 3 × 108 / 72 = 4.5: MulDiv goes away from zero where the exact rule would go to 4.
  EXPECT_EQ(LogFontHeight(3, 108, PointRounding::WholePoints), -5);
  EXPECT_EQ(LogFontHeight(3, 108, PointRounding::Exact), -4);
}

TEST(FontHeight, MulDivEdges) {
  EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(-3, 108, 72), -5);
  EXPECT_EQ(MulDivRounded(3, -108, 72), -5);
  EXPECT_EQ(MulDivRounded(-3, -108, -72), -5);
  EXPECT_EQ(MulDivRounded(0x40000000, 4, 1), -1);  // does not fit
}

}  // namespace
}  // namespace lumadex
