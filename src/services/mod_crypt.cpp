#include "services/mod_crypt.h"

#include <cmath>
#include <cstdint>

namespace lumadex {
namespace {

// How far the code at each position in the cycle moves, position 0 being the sixth character.
// The form (a shift, then the position added or taken away) is the historic one; the results of
// these sums are what existing settings files hold.
int EncipherCode(int code, int position, int k) {
  int moved = 0;
  switch (position) {
    case 1: moved = code + (k - 5); break;
    case 2: moved = code - (k - 4); break;
    case 3: moved = code + (k - 2); break;
    case 4: moved = code - (k - 3); break;
    case 5: moved = code + (k - 5); break;
    default: moved = code - (k - 2); break;
  }
  return moved + position;
}

int DecipherCode(int code, int position, int k) {
  int moved = 0;
  switch (position) {
    case 1: moved = code - (k - 5); break;
    case 2: moved = code + (k - 4); break;
    case 3: moved = code - (k - 2); break;
    case 4: moved = code + (k - 3); break;
    case 5: moved = code - (k - 5); break;
    default: moved = code + (k - 2); break;
  }
  return moved - position;
}

int NextPosition(int position) { return position + 1 == 6 ? 0 : position + 1; }

// Codes that have no byte form are dropped, as the old routines dropped them.
void AppendCode(std::string& out, int code) {
  if (code < -32768 || code > 65535) return;
  if (code >= 0 && code <= 255) {
    out.push_back(static_cast<char>(code));
    return;
  }
  const auto value = static_cast<uint16_t>(code < 0 ? code + 65536 : code);
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

}  // namespace

int KeyShift(std::string_view ansiKey, LeadBytePredicate isLead) {
  long long sum = 0;
  for (int code : AnsiCharCodes(ansiKey, isLead)) sum += code;
  const double quotient = static_cast<double>(sum) * 0.1 / 6;
  return static_cast<int>(std::floor(quotient));
}

std::string Encipher(std::string_view ansiText, std::string_view ansiKey, LeadBytePredicate isLead) {
  const int k = KeyShift(ansiKey, isLead);
  std::string out;
  out.reserve(ansiText.size() + 8);
  int position = 0;
  for (int code : AnsiCharCodes(ansiText, isLead)) {
    position = NextPosition(position);
    AppendCode(out, EncipherCode(code, position, k));
  }
  return out;
}

// The cipher bytes do not say where one code ends: the moved code of an ASCII character may be
// a byte of 0x80 or more, which the code page would take as the first of two. So a byte of 0x80
// or more is read as a code of its own when that code deciphers to ASCII at its position, and as
// the first byte of a two-byte code otherwise.
//
// Every text of bytes 0x00..0x7F comes back under any key whose shift is within -121..127: the
// program's key (18), the empty key (0), ASCII keys up to about 70 characters. Chinese text
// (GB2312, lead bytes 0xB0..0xF7) comes back under keys whose shift is within -41..47, the
// program's key and the empty key among them. Texts that do not:
//  - a double-byte character whose first cipher byte, read alone, deciphers to ASCII: with the
//    program's key, lead bytes 0x81..0x92 (GBK additions, not GB2312); with the empty key,
//    lead bytes 0x81..0x86; under a shift outside -41..47, where one of the six moves exceeds
//    48, GB2312 lead bytes as well;
//  - any text under a key with a shift outside -121..127 (a key holding Chinese characters has
//    one of some hundreds), where moved codes above 255 give two-byte codes starting below 0x80;
//  - bytes 0x80..0xFF that are not part of a character, and codes dropped by Encipher.
// Moved codes of Chinese characters can also end in 0x0A or 0x0D, which a line of the settings
// file cannot hold; the sign-in fields hold e-mail addresses and passwords, which are ASCII.
std::string Decipher(std::string_view cipherBytes, std::string_view ansiKey, LeadBytePredicate isLead) {
  const int k = KeyShift(ansiKey, isLead);
  std::string out;
  out.reserve(cipherBytes.size());
  int position = 0;
  for (size_t pos = 0; pos < cipherBytes.size();) {
    position = NextPosition(position);
    const auto first = static_cast<unsigned char>(cipherBytes[pos]);
    int code = first;
    size_t length = 1;
    if (first >= 0x80 && pos + 1 < cipherBytes.size()) {
      const int alone = DecipherCode(first, position, k);
      if (alone < 0 || alone >= 0x80) {
        const auto second = static_cast<unsigned char>(cipherBytes[pos + 1]);
        code = static_cast<int16_t>(static_cast<uint16_t>((first << 8) | second));
        length = 2;
      }
    }
    AppendCode(out, DecipherCode(code, position, k));
    pos += length;
  }
  return out;
}

}  // namespace lumadex
