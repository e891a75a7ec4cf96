// The credential cipher: deciphering any bytes (a settings file edited by hand) is safe, and
// every text the cipher promises to keep comes back from Decipher(Encipher(text)) unchanged.
//
// Input: one byte choosing the key (the program's, the empty one, or the next field), then
// the text; with the key taken from the input, the key, NUL, the text.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "services/mod_crypt.h"

using namespace lumadex;

namespace {

constexpr std::string_view kProgramKey = "tesvolamir";

// The texts the cipher keeps: ASCII under a shift of -121..127, and GB2312 characters as well
// (lead bytes 0xB0..0xF7, trail bytes 0xA1..0xFE) under a shift of -41..47. Beyond that a
// moved ASCII code and the first byte of a moved Chinese one can be the same byte.
bool KeptText(std::string_view text, int shift) {
  if (shift < -121 || shift > 127) return false;
  const bool chinese = shift >= -41 && shift <= 47;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) continue;
    if (!chinese || b < 0xB0 || b > 0xF7 || i + 1 >= text.size()) return false;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (trail < 0xA1 || trail > 0xFE) return false;
  }
  return true;
}

bool PrintableAscii(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest = fuzz::Bytes(data + 1, size - 1);
  std::string_view key = kProgramKey;
  std::string_view text = rest;
  switch (data[0] % 3) {
    case 0: break;
    case 1: key = {}; break;
    default: {
      const auto fields = fuzz::Fields(rest, 2);
      key = fields[0];
      text = fields[1];
    }
  }

  // Any bytes at all, as a hand-edited settings file may hold them.
  const std::string anything = Decipher(text, key);
  FUZZ_CHECK(anything.size() <= 2 * text.size());

  const std::string cipher = Encipher(text, key);
  FUZZ_CHECK(cipher.size() <= 2 * text.size());
  const int shift = KeyShift(key);
  if (KeptText(text, shift)) FUZZ_CHECK(Decipher(cipher, key) == text);

  // What the sign-in remembers: an e-mail address or password in printable ASCII, under the
  // program's key, is one byte per character and fits on one line of the settings file.
  if (key == kProgramKey && PrintableAscii(text)) {
    FUZZ_CHECK(cipher.size() == text.size());
    FUZZ_CHECK(cipher.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
