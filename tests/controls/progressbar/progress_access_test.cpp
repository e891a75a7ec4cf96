#include "controls/progressbar/progress_access.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(ProgressAccess, TheValueIsThePercentageTheFillShowsWhateverTheText) {
  ProgressBarModel m;
  m.InitNew(StoredFont{L"宋体", 9, 400});
  EXPECT_EQ(AccessValueText(m), L"50%");  // a new bar, printing its own text
  m.SetTextStyle(1);
  m.SetMax(3);
  m.SetValue(1);
  EXPECT_EQ(AccessValueText(m), L"33.3333333333333%");
  // The fill does not subtract the minimum, and neither does what is read.
  m.SetMax(100);
  m.SetMin(20);
  m.SetValue(20);
  EXPECT_EQ(AccessValueText(m), L"20%");
  m.SetMax(200);
  m.SetValue(1);  // raised to the minimum
  EXPECT_EQ(AccessValueText(m), L"10%");
}

}  // namespace
}  // namespace lumadex
