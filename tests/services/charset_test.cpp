#include "services/charset.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace lumadex {
namespace {

TEST(CodePageForCharset, MapsTheNamesPagesUse) {
  const std::vector<std::pair<std::string, unsigned>> cases = {
      {"UTF-8", 65001},       {"utf8", 65001},        {"GBK", 936},          {"GB2312", 936},
      {"CP936", 936},         {"x-gbk", 936},         {"windows-936", 936},  {"GB18030", 54936},
      {"Big5", 950},          {"ISO-8859-1", 28591},  {"latin1", 28591},     {"windows-1252", 1252},
      {"US-ASCII", 20127},    {"ascii", 20127},       {"Shift_JIS", 932},    {"EUC-KR", 51949},
      {"UTF-16LE", 1200},     {"UTF-16", 1200},       {"UTF-16BE", 1201},    {"ks_c_5601-1987", 949},
  };
  for (const auto& [name, codePage] : cases) {
    SCOPED_TRACE(name);
    const auto found = CodePageForCharset(name);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, codePage);
  }
}

TEST(CodePageForCharset, IgnoresCaseAndTheWrappingAHeaderGivesIt) {
  EXPECT_EQ(CodePageForCharset("gbk"), CodePageForCharset("GBK"));
  EXPECT_EQ(CodePageForCharset("Utf-8"), 65001u);
  EXPECT_EQ(CodePageForCharset("SHIFT_JIS"), 932u);
  EXPECT_EQ(CodePageForCharset("shift-jis"), 932u);
  EXPECT_EQ(CodePageForCharset("\"gb2312\""), 936u);
  EXPECT_EQ(CodePageForCharset("  big5 "), 950u);
}

TEST(CodePageForCharset, UnknownNamesHaveNoCodePage) {
  EXPECT_FALSE(CodePageForCharset("").has_value());
  EXPECT_FALSE(CodePageForCharset("   ").has_value());
  EXPECT_FALSE(CodePageForCharset("klingon").has_value());
  EXPECT_FALSE(CodePageForCharset("utf-9").has_value());
  EXPECT_FALSE(CodePageForCharset("gbk2").has_value());
  // A code page number is not a character-set name.
  EXPECT_FALSE(CodePageForCharset("936").has_value());
  // A name with a character-set parameter still attached is the caller's to split.
  EXPECT_FALSE(CodePageForCharset("text/html; charset=gbk").has_value());
}

}  // namespace
}  // namespace lumadex
