#include "controls/progressbar/progress_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumadex {
namespace {

const StoredFont kFormFont{L"宋体", 9.0, 400, false, false, false, 134};

ProgressBarModel NewBar() {
  ProgressBarModel bar;
  bar.InitNew(kFormFont);
  return bar;
}

// Every property but the font, as "name value" pairs in the order of the stored set, so that
// one comparison shows each difference by its name.
std::wstring Described(const ProgressBarModel& m) {
  std::wstring text;
  auto add = [&text](const wchar_t* name, const std::wstring& value) {
    text += (text.empty() ? L"" : L", ") + std::wstring(name) + L" " + value;
  };
  auto number = [](long long v) { return std::to_wstring(v); };
  add(L"Orientations", number(m.Orientations()));
  add(L"Max", number(m.Max()));
  add(L"Min", number(m.Min()));
  add(L"Value", number(m.Value()));
  add(L"RoundedValue", number(m.RoundedValue()));
  add(L"Enabled", number(m.Enabled()));
  add(L"Theme", number(m.Theme()));
  add(L"TextStyle", number(m.TextStyle()));
  add(L"TextForeColor", number(m.TextForeColor()));
  add(L"TextAlignment", number(m.TextAlignment()));
  add(L"Text", m.Text());
  add(L"TextEffectColor", number(m.TextEffectColor()));
  add(L"TextEffect", number(m.TextEffect()));
  add(L"PBSCustomeColor2", number(m.PBSCustomeColor2()));
  add(L"PBSCustomeColor1", number(m.PBSCustomeColor1()));
  return text;
}

// One call of a setter and the limits and value it leaves.
struct Step {
  void (ProgressBarModel::*set)(int);
  int argument;
  int min, max, value;
};

// Runs the steps on a new bar, checking all three after each.
template <std::size_t N>
void RunOnNewBar(const Step (&steps)[N]) {
  ProgressBarModel bar = NewBar();
  for (std::size_t n = 0; n < N; ++n) {
    const Step& step = steps[n];
    (bar.*step.set)(step.argument);
    EXPECT_EQ(bar.Min(), step.min) << "step " << n;
    EXPECT_EQ(bar.Max(), step.max) << "step " << n;
    EXPECT_EQ(bar.Value(), step.value) << "step " << n;
  }
}

constexpr auto kSetValue = &ProgressBarModel::SetValue;
constexpr auto kSetMin = &ProgressBarModel::SetMin;
constexpr auto kSetMax = &ProgressBarModel::SetMax;

// Each step: the setter, its argument, then Min, Max and Value as they must be afterwards.
const Step kValueInside[] = {
    {kSetValue, 150, 0, 100, 100},
    {kSetValue, -7, 0, 100, 0},
    {kSetMin, 20, 20, 100, 20},
    {kSetValue, 5, 20, 100, 20},
};
const Step kMaxAboveMin[] = {
    {kSetMax, 0, 0, 1, 1},
    {kSetMax, -40, 0, 1, 1},
    {kSetMax, 100, 0, 100, 1},
    {kSetMin, 20, 20, 100, 20},
    {kSetMax, 10, 20, 21, 20},
    // The largest maximum still leaves room below it.
    {kSetMax, 0x7FFFFFFF, 20, 0x7FFFFFFF, 20},
    {kSetMin, 0x7FFFFFFF, 0x7FFFFFFE, 0x7FFFFFFF, 0x7FFFFFFE},
};
const Step kLimitsDragTheValue[] = {
    {kSetValue, 60, 0, 100, 60},
    {kSetMax, 40, 0, 40, 40},
    {kSetMax, 100, 0, 100, 40},
    {kSetMin, 100, 99, 100, 99},
    {kSetMin, -5, 0, 100, 99},
};

TEST(ProgressBarRange, ValueStaysBetweenMinAndMax) { RunOnNewBar(kValueInside); }
TEST(ProgressBarRange, MaxIsAtLeastOneAndAboveMin) { RunOnNewBar(kMaxAboveMin); }
TEST(ProgressBarRange, ChangingALimitDragsTheValueAlong) { RunOnNewBar(kLimitsDragTheValue); }

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
  EXPECT_EQ(Described(bar),
            L"Orientations 1, Max 100, Min 0, Value 50, RoundedValue 5, Enabled 1, Theme 1, TextStyle 3, "
            L"TextForeColor 0, TextAlignment 5, Text Vexo ProgressBar, TextEffectColor 16777215, TextEffect 5, "
            L"PBSCustomeColor2 0, PBSCustomeColor1 0");
  EXPECT_EQ(bar.TextFont(), kFormFont);
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
  // 13158600 is 0xC8C8C8.
  EXPECT_EQ(Described(bar),
            L"Orientations 1, Max 100, Min 0, Value 50, RoundedValue 5, Enabled 1, Theme 1, TextStyle 1, "
            L"TextForeColor 0, TextAlignment 5, Text NicePressBar, TextEffectColor 13158600, TextEffect 1, "
            L"PBSCustomeColor2 0, PBSCustomeColor1 0");
  EXPECT_EQ(bar.TextFont(), kFormFont);
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
  EXPECT_EQ(Described(bar),
            L"Orientations 1, Max 1, Min 0, Value 1, RoundedValue 5, Enabled 1, Theme 1, TextStyle 1, "
            L"TextForeColor 0, TextAlignment 5, Text bar, TextEffectColor 13158600, TextEffect 1, "
            L"PBSCustomeColor2 0, PBSCustomeColor1 0");
}

}  // namespace
}  // namespace lumadex
