#include <windows.h>

#include <gtest/gtest.h>

#include "services/ansi_win32.h"

// Everything the program hands to the platform's text calls and files is in the ANSI code
// page; the tests only mean something when that is Simplified Chinese, as on the target systems.
TEST(Platform, AnsiCodePageIsSimplifiedChinese) { EXPECT_EQ(GetACP(), 936u); }

TEST(Platform, AnsiConversionsRoundTripChinese) {
  const std::wstring text = L"\u76f8\u518c\u4e0b\u8f7d";  // 相册下载
  const std::string ansi = lumadex::WideToAnsi(text);
  EXPECT_EQ(ansi, "\xcf\xe0\xb2\xe1\xcf\xc2\xd4\xd8");
  EXPECT_EQ(lumadex::AnsiToWide(ansi), text);
  EXPECT_TRUE(lumadex::IsAnsiLeadByte(0xcf));
  EXPECT_FALSE(lumadex::IsAnsiLeadByte('a'));
}
