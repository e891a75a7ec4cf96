#include "services/ansi_codes.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

bool NoLeadBytes(unsigned char) { return false; }

TEST(AnsiCharCodes, SingleBytesKeepTheirUnsignedValue) {
  EXPECT_EQ(AnsiCharCodes("", IsLeadByte936), std::vector<int>{});
  EXPECT_EQ(AnsiCharCodes("a 1", IsLeadByte936), (std::vector<int>{'a', ' ', '1'}));
  // 0x80 and 0xFF are no lead bytes in code page 936.
  EXPECT_EQ(AnsiCharCodes("\x80\xff", IsLeadByte936), (std::vector<int>{0x80, 0xFF}));
  EXPECT_EQ(AnsiCharCodes(std::string_view("\0", 1), IsLeadByte936), std::vector<int>{0});
}

TEST(AnsiCharCodes, DoubleByteCharactersAreSigned16BitCodes) {
  // 校 = D0 A3, 相册 = CF E0 B2 E1
  EXPECT_EQ(AnsiCharCodes("\xd0\xa3", IsLeadByte936), std::vector<int>{0xD0A3 - 0x10000});
  EXPECT_EQ(AnsiCharCodes("a\xcf\xe0\xb2\xe1z", IsLeadByte936),
            (std::vector<int>{'a', 0xCFE0 - 0x10000, 0xB2E1 - 0x10000, 'z'}));
  // The second byte may be ASCII; it still belongs to the character.
  EXPECT_EQ(AnsiCharCodes("\x81\x40\xb0\x41", IsLeadByte936),
            (std::vector<int>{0x8140 - 0x10000, 0xB041 - 0x10000}));
}

TEST(AnsiCharCodes, LoneLeadByteAtTheEndIsASingleByte) {
  EXPECT_EQ(AnsiCharCodes("a\xd0", IsLeadByte936), (std::vector<int>{'a', 0xD0}));
  EXPECT_EQ(AnsiCharLength("a\xd0", 1, IsLeadByte936), 1u);
  EXPECT_EQ(AnsiCharLength("a\xd0", 2, IsLeadByte936), 0u);
}

TEST(AnsiCharCodes, FollowsThePredicate) {
  EXPECT_EQ(AnsiCharCodes("\xd0\xa3", NoLeadBytes), (std::vector<int>{0xD0, 0xA3}));
  EXPECT_FALSE(IsLeadByte936(0x80));
  EXPECT_TRUE(IsLeadByte936(0x81));
  EXPECT_TRUE(IsLeadByte936(0xFE));
  EXPECT_FALSE(IsLeadByte936(0xFF));
  EXPECT_FALSE(IsLeadByte936('A'));
}

}  // namespace
}  // namespace lumadex
