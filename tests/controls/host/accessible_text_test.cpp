#include "controls/host/accessible_text.h"

#include <gtest/gtest.h>

namespace lumadex::access {
namespace {

TEST(AccessibleText, ACaptionReadsWithoutItsAccessKeyMarker) {
  EXPECT_EQ(WithoutAccessMarker(L"&Save"), L"Save");
  EXPECT_EQ(WithoutAccessMarker(L"下 载"), L"下 载");
  EXPECT_EQ(WithoutAccessMarker(L"保存(&S)"), L"保存(S)");
  EXPECT_EQ(WithoutAccessMarker(L"Fish && &Chips"), L"Fish & Chips");
  EXPECT_EQ(WithoutAccessMarker(L"&&&A"), L"&A");
  // A marker with nothing after it marks nothing and is read as it is.
  EXPECT_EQ(WithoutAccessMarker(L"Tom &"), L"Tom &");
  EXPECT_EQ(WithoutAccessMarker(L""), L"");
}

TEST(AccessibleText, TheShortcutIsAltWithTheKey) {
  EXPECT_EQ(AltShortcut(L'S'), L"Alt+S");
  EXPECT_EQ(AltShortcut(L'下'), L"Alt+下");
  EXPECT_EQ(AltShortcut(std::nullopt), L"");
}

TEST(AccessibleText, OnlyADifferentValueIsNews) {
  Announcement<std::wstring> value;
  EXPECT_FALSE(value.Update(L"0%")) << "the starting point";
  EXPECT_FALSE(value.Update(L"0%"));
  EXPECT_TRUE(value.Update(L"12%"));
  EXPECT_FALSE(value.Update(L"12%"));
  EXPECT_TRUE(value.Update(L"0%"));
}

}  // namespace
}  // namespace lumadex::access
