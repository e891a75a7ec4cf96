// Byte texts in a double-byte ANSI code page (936 on the target systems), taken apart the way
// the program's older text routines did: one signed 16-bit code per character.
#pragma once
#include <string_view>
#include <vector>

namespace lumadex {

// Tells whether a byte starts a double-byte character. Portable code gets it as a parameter so
// that it can be tested without the platform; the Windows build passes IsAnsiLeadByte.
using LeadBytePredicate = bool (*)(unsigned char);

// Lead bytes of code page 936 (GBK): 0x81..0xFE.
bool IsLeadByte936(unsigned char b);

// Character codes of an ANSI text: 0..255 for a single byte, lead*256+trail as a signed 16-bit
// value (so negative when lead >= 0x80) for a double-byte character. A lead byte with nothing
// after it is taken as a single byte.
std::vector<int> AnsiCharCodes(std::string_view ansi, LeadBytePredicate isLead);

// Byte length of the character that starts at `pos` (1 or 2; 0 at or past the end).
size_t AnsiCharLength(std::string_view ansi, size_t pos, LeadBytePredicate isLead);

}  // namespace lumadex
