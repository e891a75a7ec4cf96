#include "services/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace lumadex {
namespace {

using namespace std::string_literals;

TEST(UrlEncodeText, SingleBytesPassUnchanged) {
  EXPECT_EQ(UrlEncodeText(""), "");
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(UrlEncodeText(ascii), ascii);
  EXPECT_EQ(UrlEncodeText("a&b=c%d+e f"), "a&b=c%d+e f");
  // A character outside the code page reaches here as the converter's "?".
  EXPECT_EQ(UrlEncodeText("x?y"), "x?y");
  // Bytes that start no character in code page 936, and a lead byte with nothing after it.
  EXPECT_EQ(UrlEncodeText("\x80" "a\xd0"), "\x80" "a\xd0");
}

TEST(UrlEncodeText, DoubleByteCharactersBecomeTwoEscapes) {
  EXPECT_EQ(UrlEncodeText("\xd0\xa3"), "%D0%A3");                  // 校
  EXPECT_EQ(UrlEncodeText("\xcf\xe0\xb2\xe1"), "%CF%E0%B2%E1");    // 相册
  EXPECT_EQ(UrlEncodeText("a=\xd0\xa3"), "a=%D0%A3");
  // Second bytes in the ASCII range belong to the character and are escaped with it.
  EXPECT_EQ(UrlEncodeText("\x81\x40\xb0\x41\x95\x7c"), "%81%40%B0%41%95%7C");
}

TEST(UrlEncodeText, KeepsTheShortHexOfByteFF) {
  // 0xFF is no character of the code page; the historic escaping wrote its code 255 as two
  // escapes without a leading zero, and the site has always been sent that.
  EXPECT_EQ(UrlEncodeText("a\xff"), "a%0%FF");
}

TEST(UrlEncodeFormValue, LettersDigitsAndAddressCharactersPass) {
  EXPECT_EQ(UrlEncodeFormValue(""), "");
  EXPECT_EQ(UrlEncodeFormValue("demo.user-1_x*@example.com"), "demo.user-1_x*@example.com");
  EXPECT_EQ(UrlEncodeFormValue("Passw0rd"), "Passw0rd");
}

TEST(UrlEncodeFormValue, EverythingThatCouldEndOrChangeAValueIsEscaped) {
  EXPECT_EQ(UrlEncodeFormValue("a&b=c%d+e f"), "a%26b%3Dc%25d%2Be%20f");
  EXPECT_EQ(UrlEncodeFormValue("x&email=evil"), "x%26email%3Devil");
  EXPECT_EQ(UrlEncodeFormValue("#?/\\'\"<>~!$(),;:[]{}|^`"),
            "%23%3F%2F%5C%27%22%3C%3E%7E%21%24%28%29%2C%3B%3A%5B%5D%7B%7D%7C%5E%60");
  EXPECT_EQ(UrlEncodeFormValue("\t\r\n\x7f"s + '\0'), "%09%0D%0A%7F%00");
  EXPECT_EQ(UrlEncodeFormValue("\x80\xff"), "%80%FF");
  EXPECT_EQ(UrlEncodeFormValue("a\xd0"), "a%D0");
}

TEST(UrlEncodeFormValue, DoubleByteCharactersAreEscapedAsBefore) {
  for (std::string_view text : {"\xd0\xa3", "\xcf\xe0\xb2\xe1", "\x81\x40\xb0\x41\x95\x7c", "x\xd0\xa3y"}) {
    EXPECT_EQ(UrlEncodeFormValue(text), UrlEncodeText(text)) << text;
  }
  EXPECT_EQ(UrlEncodeFormValue("\xb0\x41" "A"), "%B0%41A");
}

TEST(UrlEncodeFormValue, BadSecondByteCannotSwallowTheNextCharacter) {
  // A lead byte before a control byte (no character, but a possible input) keeps two digits,
  // so that "%05" and not "%5" + "A" reaches the site.
  EXPECT_EQ(UrlEncodeFormValue("\xd0\x05" "A"), "%D0%05A");
}

}  // namespace
}  // namespace lumadex
