#include "services/tray_record.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace lumadex {
namespace {

// A field of `width` bytes with guard bytes after it, all set to a mark first.
template <size_t Width>
struct GuardedField {
  static constexpr char kMark = '#';
  GuardedField() { bytes.fill(kMark); }
  std::string Text() const { return std::string(bytes.data()); }
  bool ZeroFrom(size_t start) const {
    for (size_t i = start; i < Width; ++i)
      if (bytes[i] != 0) return false;
    return true;
  }
  bool GuardIntact() const {
    for (size_t i = Width; i < bytes.size(); ++i)
      if (bytes[i] != kMark) return false;
    return true;
  }
  std::array<char, Width + 8> bytes;
};

std::string Repeat(std::string_view piece, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

const std::string kChinese = "\xcf\xe0";  // 相

TEST(TrayRecordCopy, ShortTextIsCopiedAndTheRestZeroed) {
  GuardedField<8> field;
  CopyAnsiCut(field.bytes.data(), 8, "abc", IsLeadByte936);
  EXPECT_EQ(field.Text(), "abc");
  EXPECT_TRUE(field.ZeroFrom(3));
  EXPECT_TRUE(field.GuardIntact());

  GuardedField<8> full;
  CopyAnsiCut(full.bytes.data(), 8, "1234567", IsLeadByte936);
  EXPECT_EQ(full.Text(), "1234567");
  EXPECT_TRUE(full.ZeroFrom(7));
  EXPECT_TRUE(full.GuardIntact());
}

TEST(TrayRecordCopy, TipHolds127AsciiOr63ChineseCharacters) {
  GuardedField<128> ascii;
  CopyAnsiCut(ascii.bytes.data(), 128, std::string(300, 'x'), IsLeadByte936);
  EXPECT_EQ(ascii.Text(), std::string(127, 'x'));
  EXPECT_TRUE(ascii.GuardIntact());

  GuardedField<128> chinese;
  CopyAnsiCut(chinese.bytes.data(), 128, Repeat(kChinese, 64), IsLeadByte936);
  EXPECT_EQ(chinese.Text(), Repeat(kChinese, 63));
  EXPECT_TRUE(chinese.ZeroFrom(126));
  EXPECT_TRUE(chinese.GuardIntact());

  // One ASCII character first: 1 + 63 * 2 bytes fill the field exactly.
  GuardedField<128> mixed;
  CopyAnsiCut(mixed.bytes.data(), 128, std::string("a").append(Repeat(kChinese, 70)), IsLeadByte936);
  EXPECT_EQ(mixed.Text(), std::string("a").append(Repeat(kChinese, 63)));
  EXPECT_TRUE(mixed.GuardIntact());
}

TEST(TrayRecordCopy, NeverSplitsACharacter) {
  GuardedField<4> field;
  CopyAnsiCut(field.bytes.data(), 4, "a" + kChinese + "b", IsLeadByte936);
  EXPECT_EQ(field.Text(), "a" + kChinese);
  GuardedField<4> cut;
  CopyAnsiCut(cut.bytes.data(), 4, "ab" + kChinese, IsLeadByte936);
  EXPECT_EQ(cut.Text(), "ab");
  EXPECT_TRUE(cut.ZeroFrom(2));
  // A lead byte at the very end is a character of its own.
  GuardedField<4> lone;
  CopyAnsiCut(lone.bytes.data(), 4, "ab\xcf", IsLeadByte936);
  EXPECT_EQ(lone.Text(), "ab\xcf");
  EXPECT_TRUE(cut.GuardIntact() && lone.GuardIntact() && field.GuardIntact());
}

TEST(TrayRecordCopy, TinyFieldsStayInBounds) {
  GuardedField<1> one;
  CopyAnsiCut(one.bytes.data(), 1, "abc", IsLeadByte936);
  EXPECT_EQ(one.bytes[0], '\0');
  EXPECT_TRUE(one.GuardIntact());

  GuardedField<2> two;
  CopyAnsiCut(two.bytes.data(), 2, kChinese, IsLeadByte936);
  EXPECT_EQ(two.Text(), "");
  EXPECT_TRUE(two.ZeroFrom(0));
  EXPECT_TRUE(two.GuardIntact());

  GuardedField<0> none;
  CopyAnsiCut(none.bytes.data(), 0, "abc", IsLeadByte936);
  EXPECT_TRUE(none.GuardIntact());
}

}  // namespace
}  // namespace lumadex
