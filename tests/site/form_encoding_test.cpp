#include <gtest/gtest.h>

#include "form_encoding.h"
#include "gbk.h"

namespace lumadex::site {
namespace {

TEST(FormEncoding, DecodesEscapesOnly) {
  EXPECT_EQ(percent_decode("a%26b%3Dc%25d%2Be%20f"), "a&b=c%d+e f");
  EXPECT_EQ(percent_decode("a+b"), "a+b");
  EXPECT_EQ(percent_decode("%d0%A3"), "\xD0\xA3");
  // Broken escapes are kept as sent rather than guessed at.
  EXPECT_EQ(percent_decode("100%"), "100%");
  EXPECT_EQ(percent_decode("%4"), "%4");
  EXPECT_EQ(percent_decode("%zz%4g"), "%zz%4g");
}

TEST(FormEncoding, SplitsFieldsInOrderAndFindsTheFirst) {
  auto fields = split_form("email=a%40b&&flag&password=&email=second");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(form_value(fields, "email"), "a@b");
  EXPECT_EQ(form_value(fields, "flag"), "");
  EXPECT_EQ(form_value(fields, "password"), "");
  EXPECT_FALSE(form_value(fields, "missing"));
  EXPECT_EQ(query_of("/getalbum.do?id=1&x=%41"), "id=1&x=%41");
  EXPECT_EQ(query_of("/getalbum.do"), "");
}

TEST(FormEncoding, HexIsLowerCaseAndCoversEveryByte) {
  EXPECT_EQ(to_hex(std::string("\x00\x7f\x80\xff", 4)), "007f80ff");
  EXPECT_EQ(to_hex(""), "");
}

TEST(Gbk, ConvertsChineseTextAndRefusesWhatGbkCannotHold) {
  EXPECT_EQ(to_hex(utf8_to_gbk("校内密码").value()), "d0a3c4dac3dcc2eb");
  EXPECT_EQ(utf8_to_gbk("demo@example.com").value(), "demo@example.com");
  EXPECT_FALSE(utf8_to_gbk("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(utf8_to_gbk("\xC3"));              // cut-off UTF-8
}

}  // namespace
}  // namespace lumadex::site
