#include "app/progress_math.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(ProgressPercent, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(ProgressPercent(1, 8), 12);    // 12.5
  EXPECT_EQ(ProgressPercent(3, 8), 38);    // 37.5
  EXPECT_EQ(ProgressPercent(5, 8), 62);    // 62.5
  EXPECT_EQ(ProgressPercent(7, 8), 88);    // 87.5
  EXPECT_EQ(ProgressPercent(1, 40), 2);    // 2.5
  EXPECT_EQ(ProgressPercent(3, 40), 8);    // 7.5
  EXPECT_EQ(ProgressPercent(1, 200), 0);   // 0.5
  EXPECT_EQ(ProgressPercent(3, 200), 2);   // 1.5
}

TEST(ProgressPercent, OtherFractionsGoToTheNearest) {
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(2, 3), 67);
  EXPECT_EQ(ProgressPercent(0, 40), 0);
  EXPECT_EQ(ProgressPercent(40, 40), 100);
  EXPECT_EQ(ProgressPercent(32766, 32767), 100);
  EXPECT_EQ(ProgressPercent(1, 32767), 0);
}

TEST(ProgressPercent, NothingToCountLeavesTheBarAlone) {
  EXPECT_FALSE(ProgressPercent(0, 0));
  EXPECT_FALSE(ProgressPercent(3, 0));
}

TEST(ProgressPercent, NeverGoesBackDuringARun) {
  for (int total = 1; total <= 300; ++total) {
    int previous = 0;
    for (int done = 0; done <= total; ++done) {
      const auto percent = ProgressPercent(done, total);
      ASSERT_TRUE(percent);
      EXPECT_GE(*percent, previous) << done << '/' << total;
      previous = *percent;
    }
    EXPECT_EQ(previous, 100) << total;
  }
}

}  // namespace
}  // namespace lumadex
