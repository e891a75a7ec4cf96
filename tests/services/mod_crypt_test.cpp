#include "services/mod_crypt.h"

#include <gtest/gtest.h>

#include <string>

namespace lumadex {
namespace {

using namespace std::string_literals;

// The key the program enciphers the sign-in fields with.
constexpr std::string_view kProgramKey = "tesvolamir";

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

TEST(CipherKeyShift, SumsCodesAndRoundsDown) {
  EXPECT_EQ(KeyShift(kProgramKey), 18);
  EXPECT_EQ(KeyShift(""), 0);
  EXPECT_EQ(KeyShift("z"), 2);  // 122 * 0.1 / 6 = 2.03
  // Double-byte characters count with their negative codes, and rounding goes down, not to zero:
  // 校 is -12125, which gives -202.08.
  EXPECT_EQ(KeyShift("\xd0\xa3"), -203);
  EXPECT_EQ(KeyShift("\xd0\xa3", [](unsigned char) { return false; }), (0xD0 + 0xA3) / 60);
}

TEST(Cipher, EnciphersTheProgramsFieldsToTheseBytes) {
  const std::string cipher = Encipher("demo@example.com", kProgramKey);
  // 0x80 and 0x86 are single moved codes here, although the code page would start a character with them.
  EXPECT_EQ(Hex(cipher), "72 59 80 64 52 55 86 55 80 65 7E 55 3C 57 82 62");
  EXPECT_EQ(Decipher(cipher, kProgramKey), "demo@example.com");
}

TEST(Cipher, MovementRepeatsEverySixCharacters) {
  for (std::string_view key : {kProgramKey, std::string_view()}) {
    const int k = KeyShift(key);
    const std::string cipher = Encipher("MMMMMMMMMMMMM", key);
    ASSERT_EQ(cipher.size(), 13u);
    const int moves[6] = {k - 4, -k + 6, k + 1, -k + 7, k, -k + 2};
    for (size_t i = 0; i < cipher.size(); ++i) {
      EXPECT_EQ(static_cast<unsigned char>(cipher[i]) - 'M', moves[i % 6]) << "character " << i + 1;
    }
  }
}

TEST(Cipher, EmptyTextsStayEmpty) {
  EXPECT_EQ(Encipher("", kProgramKey), "");
  EXPECT_EQ(Decipher("", kProgramKey), "");
  EXPECT_EQ(Encipher("", ""), "");
}

// Every printable character at every position of the cycle, and a text that holds them all.
void ExpectAsciiRoundTrips(std::string_view key, unsigned char first, unsigned char last) {
  std::string all;
  for (unsigned c = first; c <= last; ++c) {
    const std::string text(6, static_cast<char>(c));
    ASSERT_EQ(Decipher(Encipher(text, key), key), text) << "character " << c << " under key \"" << key << '"';
    all += static_cast<char>(c);
  }
  for (size_t shift = 0; shift < 6; ++shift) {
    const std::string text = all.substr(shift) + all.substr(0, shift);
    EXPECT_EQ(Decipher(Encipher(text, key), key), text);
  }
}

TEST(Cipher, PrintableAsciiRoundTripsUnderTheProgramKeyAndTheEmptyKey) {
  ExpectAsciiRoundTrips(kProgramKey, 0x20, 0x7E);
  ExpectAsciiRoundTrips("", 0x20, 0x7E);
}

TEST(Cipher, AllAsciiRoundTripsUpToTheLargestShiftThatKeepsSingleBytes) {
  const std::string key = std::string(62, 'z') + "d";
  ASSERT_EQ(KeyShift(key), 127);
  ExpectAsciiRoundTrips(key, 0x00, 0x7F);
  ExpectAsciiRoundTrips(kProgramKey, 0x00, 0x7F);
}

TEST(Cipher, PasswordsWithSpacesAndSymbolsRoundTrip) {
  for (std::string_view text : {"p@ss w0rd&x=1%2B+", " ", "~~~~~~~", "a", "\t\r\n"}) {
    EXPECT_EQ(Decipher(Encipher(text, kProgramKey), kProgramKey), text);
  }
}

TEST(Cipher, ChineseTextRoundTrips) {
  const std::string mixed = "ab\xd0\xa3" "cd\xcf\xe0\xb2\xe1" "1\xcf\xc2\xd4\xd8";  // ab校cd相册1下载
  for (std::string_view key : {kProgramKey, std::string_view()}) {
    EXPECT_EQ(Decipher(Encipher(mixed, key), key), mixed);
    // Every GB2312 character at every position of the cycle.
    for (unsigned lead = 0xB0; lead <= 0xF7; ++lead) {
      for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
        std::string text;
        for (int i = 0; i < 6; ++i) text += {static_cast<char>(lead), static_cast<char>(trail)};
        text += 'x';
        ASSERT_EQ(Decipher(Encipher(text, key), key), text) << std::hex << lead << ' ' << trail;
      }
    }
  }
}

// A key whose shift is k: its code sum lies half-way between k * 60 and (k + 1) * 60.
std::string KeyWithShift(int k) {
  const int target = 60 * k + 30;
  std::string key = k < 0 ? "\x81\x40" : "";  // one double-byte character, code -32448
  int sum = k < 0 ? -32448 : 0;
  while (target - sum > 127) {
    key += 'z';
    sum += 'z';
  }
  key += static_cast<char>(target - sum);
  return key;
}

// Whether every GB2312 character at every position of the cycle comes back.
bool AllChineseRoundTrips(std::string_view key) {
  for (unsigned lead = 0xB0; lead <= 0xF7; ++lead) {
    for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
      std::string text;
      for (int i = 0; i < 6; ++i) text += {static_cast<char>(lead), static_cast<char>(trail)};
      text += 'x';
      if (Decipher(Encipher(text, key), key) != text) return false;
    }
  }
  return true;
}

TEST(Cipher, ChineseTextRoundTripsUnderShiftsFromMinus41To47Only) {
  // Beyond these a moved ASCII code and the first byte of a moved Chinese one can be the same
  // byte, and the Chinese one is read back as ASCII.
  for (int k : {-41, 47}) {
    const std::string key = KeyWithShift(k);
    ASSERT_EQ(KeyShift(key), k);
    EXPECT_TRUE(AllChineseRoundTrips(key)) << "shift " << k;
  }
  for (int k : {-42, 48, -114}) {
    const std::string key = KeyWithShift(k);
    ASSERT_EQ(KeyShift(key), k);
    EXPECT_FALSE(AllChineseRoundTrips(key)) << "shift " << k;
    EXPECT_EQ(Decipher(Encipher("ab~x", key), key), "ab~x");
  }
}

TEST(Cipher, OnlyTheKeysShiftMatters) {
  // The same letters in another order have the same sum.
  EXPECT_EQ(Encipher("demo@example.com", "rimalovset"), Encipher("demo@example.com", kProgramKey));
  const std::string cipher = Encipher("demo@example.com", kProgramKey);
  EXPECT_EQ(Decipher(cipher, "imalovsetr"), "demo@example.com");
  // A key of another shift gives something else back.
  ASSERT_NE(KeyShift("Tesvolamir"), KeyShift(kProgramKey));
  EXPECT_NE(Decipher(cipher, "Tesvolamir"), "demo@example.com");
  EXPECT_NE(Decipher(cipher, ""), "demo@example.com");
  EXPECT_NE(cipher, Encipher("demo@example.com", ""));
}

TEST(Cipher, CodesWithoutAByteFormAreLeftOut) {
  // With 0x80 as a lead byte, 80 00 is code -32768; moved down at the sixth position it has no
  // two-byte form. The characters after it keep their positions.
  const auto leadFrom80 = [](unsigned char b) { return b >= 0x80; };
  const std::string text = "aaaaa\x80"s + '\0' + "a";
  const std::string cipher = Encipher(text, kProgramKey, leadFrom80);
  EXPECT_EQ(cipher.size(), 6u);
  EXPECT_EQ(cipher.substr(0, 5), Encipher("aaaaa", kProgramKey));
  EXPECT_EQ(cipher[5], cipher[0]);
}

}  // namespace
}  // namespace lumadex
