#include "winmsg/winmsg_error.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(WinMsgError, NumberedCodesCarryTheObjectBaseSourceAndText) {
  struct Expected {
    long code;
    std::uint32_t number;
    const wchar_t* description;
  };
  const Expected cases[] = {
      {13081, 0x80043319u, L"Can't subclass window"},
      {13082, 0x8004331Au, L"Message already handled by another class"},
      {13083, 0x8004331Bu, L"Invalid window"},
      {13084, 0x8004331Cu, L"Can't modify external window"},
      {13085, 0x8004331Du, L"Can't modify window of another thread"},
      {13651, 0x80043553u, L"No more than 10 timers allowed per class"},
      {13652, 0x80043554u, L"Can't create system timer"},
  };
  for (const auto& expected : cases) {
    const WinMsgError error(expected.code);
    EXPECT_EQ(error.Code(), expected.code);
    EXPECT_EQ(error.Number(), expected.number) << expected.code;
    EXPECT_EQ(error.Source(), L"Lumadex.WindowProc");
    EXPECT_EQ(error.Description(), expected.description);
    EXPECT_NE(std::string(error.what()).find(std::to_string(expected.code)), std::string::npos);
  }
}

TEST(WinMsgError, CodesBelowTheNumberedRangeAreRaisedBare) {
  for (long code : {5L, 1000L}) {
    const WinMsgError error(code);
    EXPECT_EQ(error.Number(), static_cast<std::uint32_t>(code));
    EXPECT_TRUE(error.Source().empty());
    EXPECT_TRUE(error.Description().empty());
  }
  // The first numbered code gets the base even without a text of its own.
  const WinMsgError first(1001);
  EXPECT_EQ(first.Number(), 0x80040000u + 1001u);
  EXPECT_EQ(first.Source(), L"Lumadex.WindowProc");
  EXPECT_TRUE(first.Description().empty());
}

}  // namespace
}  // namespace lumadex
