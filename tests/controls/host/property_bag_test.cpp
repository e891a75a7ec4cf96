#include "controls/host/property_bag.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(PropertyBag, KeysMatchWithoutLetterCaseButKeepTheirFirstSpellingAndPlace) {
  PropertyBag bag;
  bag.Write(L"TextStyle", std::int64_t{3});
  bag.Write(L"Caption", std::wstring(L"下 载"));
  bag.Write(L"textstyle", std::int64_t{2});
  EXPECT_EQ(bag.Keys(), (std::vector<std::wstring>{L"TextStyle", L"Caption"}));
  EXPECT_EQ(bag.ReadInt(L"TEXTSTYLE", 1), 2);
  EXPECT_EQ(bag.ReadString(L"caption", L""), L"下 载");
  // Only ASCII letters fold: these keys differ.
  EXPECT_FALSE(SameKey(L"Text_", L"Text\x7f"));
  EXPECT_FALSE(SameKey(L"Text", L"Texts"));
}

TEST(PropertyBag, AValueEqualToItsWriteDefaultIsLeftOutAndRemovesAnOlderOne) {
  PropertyBag bag;
  bag.Write(L"Max", std::int64_t{100}, PropertyValue{std::int64_t{100}});
  EXPECT_FALSE(bag.Contains(L"max"));
  bag.Write(L"Max", std::int64_t{40}, PropertyValue{std::int64_t{100}});
  EXPECT_EQ(bag.ReadInt(L"max", 100), 40);
  bag.Write(L"Max", std::int64_t{100}, PropertyValue{std::int64_t{100}});
  EXPECT_FALSE(bag.Contains(L"Max"));
  EXPECT_EQ(bag.ReadInt(L"Max", 100), 100);
  // Without a default the key is written whatever its value.
  bag.Write(L"Icon", StoredPicture{});
  EXPECT_TRUE(bag.Contains(L"icon"));
}

TEST(PropertyBag, ReadsGiveTheDefaultForMissingKeysAndValuesOfAnotherKind) {
  PropertyBag bag;
  bag.Write(L"Value", std::wstring(L"50"));
  bag.Write(L"Enabled", std::int64_t{0});
  EXPECT_EQ(bag.ReadInt(L"Value", 7), 7);
  EXPECT_TRUE(bag.ReadBool(L"Enabled", true));
  EXPECT_EQ(bag.ReadString(L"Text", L"NicePressBar"), L"NicePressBar");
  EXPECT_TRUE(bag.ReadPicture(L"Icon").empty());
  StoredFont simsun{L"宋体", 10.5, 400, false, false, false, 134};
  EXPECT_EQ(bag.ReadFont(L"TextFont", simsun), simsun);
}

TEST(PropertyBag, NumbersSaturateAtThe32BitLimitsWhileColoursKeepTheirTopBit) {
  PropertyBag bag;
  bag.Write(L"Big", std::int64_t{1} << 40);
  bag.Write(L"Small", -(std::int64_t{1} << 40));
  bag.Write(L"BackColor", std::int64_t{0x8000000F});
  EXPECT_EQ(bag.ReadInt(L"Big", 0), 2147483647);
  EXPECT_EQ(bag.ReadInt(L"Small", 0), -2147483647 - 1);
  EXPECT_EQ(bag.ReadColor(L"BackColor", 0), 0x8000000Fu);
}

TEST(PropertyBag, EraseRemovesEverySpellingOfTheKey) {
  PropertyBag bag;
  bag.Write(L"Text", std::wstring(L"a"));
  bag.Write(L"Other", std::int64_t{1});
  bag.Erase(L"TEXT");
  EXPECT_EQ(bag.Keys(), std::vector<std::wstring>{L"Other"});
  EXPECT_EQ(bag.Size(), 1u);
}

}  // namespace
}  // namespace lumadex
