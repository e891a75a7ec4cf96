#include "controls/progressbar/progress_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumadex {
namespace {

const StoredFont kFormFont{L"宋体", 9.0, 400, false, false, false, 134};

ProgressBarModel NewBar() {
  ProgressBarModel bar;
  bar.InitNew(kFormFont);
  return bar;
}

TEST(ProgressBarRange, ValueStaysBetweenMinAndMax) {
  ProgressBarModel bar = NewBar();
  bar.SetValue(150);
  EXPECT_EQ(bar.Value(), 100);
  bar.SetValue(-7);
  EXPECT_EQ(bar.Value(), 0);
  bar.SetMin(20);
  bar.SetValue(5);
  EXPECT_EQ(bar.Value(), 20);
}

TEST(ProgressBarRange, MaxIsAtLeastOneAndAboveMin) {
  ProgressBarModel bar = NewBar();
  bar.SetMax(0);
  EXPECT_EQ(bar.Max(), 1);
  bar.SetMax(-40);
  EXPECT_EQ(bar.Max(), 1);
  bar.SetMax(100);
  bar.SetMin(20);
  bar.SetMax(10);
  EXPECT_EQ(bar.Max(), 21);
  // The largest maximum still leaves room below it.
  bar.SetMax(0x7FFFFFFF);
  EXPECT_EQ(bar.Max(), 0x7FFFFFFF);
  bar.SetMin(0x7FFFFFFF);
  EXPECT_EQ(bar.Min(), 0x7FFFFFFE);
}

TEST(ProgressBarRange, ChangingALimitDragsTheValueAlong) {
  ProgressBarModel bar = NewBar();
  bar.SetValue(60);
  bar.SetMax(40);
  EXPECT_EQ(bar.Value(), 40);
  bar.SetMax(100);
  bar.SetMin(100);
  EXPECT_EQ(bar.Min(), 99);
  EXPECT_GE(bar.Value(), 99);
  bar.SetMin(-5);
  EXPECT_EQ(bar.Min(), 0);
}

TEST(ProgressBarRange, EveryChangeIsReportedWithTheDraggedValueAfterItsLimit) {
  ProgressBarModel bar = NewBar();
  bar.SetValue(60);
  std::vector<std::wstring> changes;
  bar.SetChangeHandler([&](std::wstring_view p) { changes.emplace_back(p); });
  bar.SetMax(40);
  bar.SetMin(10);
  bar.SetTheme(42);  // unchecked: judged when drawn
  EXPECT_EQ(bar.Theme(), 42);
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"Max", L"Value", L"Min", L"Theme"}));
}

TEST(ProgressBarRange, PercentIsValueOverMaxWithoutSubtractingMin) {
  ProgressBarModel bar = NewBar();
  bar.SetMin(20);
  bar.SetValue(20);
  EXPECT_DOUBLE_EQ(bar.Percent(), 20.0);
  bar.SetMin(0);
  bar.SetMax(3);
  bar.SetValue(1);
  EXPECT_DOUBLE_EQ(bar.Percent(), 100.0 / 3.0);
  // Large values do not overflow on the way.
  bar.SetMax(0x7FFFFFFF);
  bar.SetValue(0x7FFFFFFF);
  EXPECT_DOUBLE_EQ(bar.Percent(), 100.0);
}

TEST(ProgressBarStore, ANewInstanceHasItsOwnValues) {
  const ProgressBarModel bar = NewBar();
  EXPECT_EQ(bar.Value(), 50);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.RoundedValue(), 5);
  EXPECT_TRUE(bar.Enabled());
  EXPECT_EQ(bar.Theme(), 1);
  EXPECT_EQ(bar.TextStyle(), 3);
  EXPECT_EQ(bar.Orientations(), 1);
  EXPECT_EQ(bar.TextAlignment(), 5);
  EXPECT_EQ(bar.Text(), L"Vexo ProgressBar");
  EXPECT_EQ(bar.TextEffectColor(), 0xFFFFFFu);
  EXPECT_EQ(bar.TextEffect(), 5);
  EXPECT_EQ(bar.TextForeColor(), 0u);
  EXPECT_EQ(bar.TextFont(), kFormFont);
  EXPECT_EQ(bar.PBSCustomeColor1(), 0u);
  EXPECT_EQ(bar.PBSCustomeColor2(), 0u);
}

TEST(ProgressBarStore, ANewInstanceWritesOnlyWhatDiffersFromTheStoredDefaults) {
  PropertyBag bag;
  NewBar().WriteProperties(bag, kFormFont);
  EXPECT_EQ(bag.Keys(), (std::vector<std::wstring>{L"TextStyle", L"Text", L"TextEffectColor", L"TextEffect"}));
  EXPECT_EQ(bag.ReadInt(L"TextStyle", 0), 3);
  EXPECT_EQ(bag.ReadInt(L"TextEffect", 0), 5);
  EXPECT_EQ(bag.ReadColor(L"TextEffectColor", 0), 0xFFFFFFu);
  EXPECT_EQ(bag.ReadString(L"Text", L""), L"Vexo ProgressBar");
}

TEST(ProgressBarStore, AnEmptySetGivesTheStoredDefaultsAndTheControlsName) {
  ProgressBarModel bar = NewBar();
  bar.SetPBSCustomeColor1(0x123456);
  bar.ReadProperties(PropertyBag{}, L"NicePressBar", kFormFont);
  EXPECT_EQ(bar.Value(), 50);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Theme(), 1);
  EXPECT_EQ(bar.TextStyle(), 1);
  EXPECT_EQ(bar.TextEffect(), 1);
  EXPECT_EQ(bar.TextEffectColor(), 0xC8C8C8u);
  EXPECT_EQ(bar.Text(), L"NicePressBar");
  EXPECT_EQ(bar.TextFont(), kFormFont);
  EXPECT_EQ(bar.PBSCustomeColor1(), 0u);
}

TEST(ProgressBarStore, EveryKeyIsWrittenInItsOrderAndReadBackWithoutLoss) {
  ProgressBarModel bar = NewBar();
  bar.SetOrientations(2);
  bar.SetMax(400);
  bar.SetMin(7);
  bar.SetValue(123);
  bar.SetRoundedValue(0);
  bar.SetEnabled(false);
  bar.SetTheme(10);
  bar.SetTextStyle(2);
  const StoredFont bold{L"Tahoma", 10.5, 700, true, false, true, 0};
  bar.SetTextFont(bold);
  bar.SetTextForeColor(0x8000000F);
  bar.SetTextAlignment(9);
  bar.SetText(L"已下载");
  bar.SetTextEffectColor(0x00FF00);
  bar.SetTextEffect(4);
  bar.SetPBSCustomeColor2(0x0000FF);
  bar.SetPBSCustomeColor1(0xFF0000);
  PropertyBag bag;
  bar.WriteProperties(bag, kFormFont);
  EXPECT_EQ(bag.Keys(), (std::vector<std::wstring>{L"Orientations", L"Max", L"Min", L"Value", L"RoundedValue",
                                                   L"Enabled", L"Theme", L"TextStyle", L"TextFont", L"TextForeColor",
                                                   L"TextAlignment", L"Text", L"TextEffectColor", L"TextEffect",
                                                   L"PBSCustomeColor2", L"PBSCustomeColor1"}));
  ProgressBarModel back = NewBar();
  back.ReadProperties(bag, L"other", kFormFont);
  PropertyBag again;
  back.WriteProperties(again, kFormFont);
  ASSERT_EQ(again.Keys(), bag.Keys());
  for (const std::wstring& key : bag.Keys()) EXPECT_EQ(*again.Find(key), *bag.Find(key)) << key;
  EXPECT_EQ(back.TextForeColor(), 0x8000000Fu);
  EXPECT_EQ(back.TextFont(), bold);
}

TEST(ProgressBarStore, KeysAreReadWithoutRegardToCase) {
  PropertyBag bag;
  bag.Write(L"value", std::int64_t{0});
  bag.Write(L"theme", std::int64_t{8});
  bag.Write(L"TEXTSTYLE", std::int64_t{2});
  bag.Write(L"text", std::wstring(L"NicePressBar"));
  ProgressBarModel bar = NewBar();
  bar.ReadProperties(bag, L"ignored", kFormFont);
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_EQ(bar.Theme(), 8);
  EXPECT_EQ(bar.TextStyle(), 2);
  EXPECT_EQ(bar.Text(), L"NicePressBar");
}

TEST(ProgressBarStore, StoredLimitsWinOverWhatTheObjectHadBefore) {
  ProgressBarModel bar = NewBar();
  bar.SetMax(1000);
  bar.SetMin(500);
  bar.SetValue(700);
  PropertyBag bag;
  bag.Write(L"Max", std::int64_t{30});
  bag.Write(L"Min", std::int64_t{10});
  bag.Write(L"Value", std::int64_t{20});
  bar.ReadProperties(bag, L"bar", kFormFont);
  EXPECT_EQ(bar.Max(), 30);
  EXPECT_EQ(bar.Min(), 10);
  EXPECT_EQ(bar.Value(), 20);
}

TEST(ProgressBarStore, DamagedStoredSetsAreClampedOrFallBackToTheDefaults) {
  PropertyBag bag;
  bag.Write(L"Max", std::int64_t{-3});
  bag.Write(L"Min", std::int64_t{50});
  bag.Write(L"Value", std::int64_t{1LL << 40});
  bag.Write(L"Theme", std::int64_t{11});
  bag.Write(L"TextStyle", std::int64_t{0});
  bag.Write(L"Orientations", std::int64_t{3});
  bag.Write(L"TextAlignment", std::int64_t{-1});
  bag.Write(L"TextEffect", std::int64_t{6});
  ProgressBarModel bar = NewBar();
  bar.ReadProperties(bag, L"bar", kFormFont);
  EXPECT_EQ(bar.Max(), 1);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Value(), 1);
  EXPECT_EQ(bar.Theme(), 1);
  EXPECT_EQ(bar.TextStyle(), 1);
  EXPECT_EQ(bar.Orientations(), 1);
  EXPECT_EQ(bar.TextAlignment(), 5);
  EXPECT_EQ(bar.TextEffect(), 1);
}

}  // namespace
}  // namespace lumadex
