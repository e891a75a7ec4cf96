#include "services/ansi_codes.h"

#include <cstdint>

namespace lumadex {

bool IsLeadByte936(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

size_t AnsiCharLength(std::string_view ansi, size_t pos, LeadBytePredicate isLead) {
  if (pos >= ansi.size()) return 0;
  if (pos + 1 < ansi.size() && isLead(static_cast<unsigned char>(ansi[pos]))) return 2;
  return 1;
}

std::vector<int> AnsiCharCodes(std::string_view ansi, LeadBytePredicate isLead) {
  std::vector<int> codes;
  codes.reserve(ansi.size());
  for (size_t pos = 0; pos < ansi.size();) {
    const auto lead = static_cast<unsigned char>(ansi[pos]);
    if (AnsiCharLength(ansi, pos, isLead) == 2) {
      const auto trail = static_cast<unsigned char>(ansi[pos + 1]);
      codes.push_back(static_cast<int16_t>(static_cast<uint16_t>((lead << 8) | trail)));
      pos += 2;
    } else {
      codes.push_back(lead);
      pos += 1;
    }
  }
  return codes;
}

}  // namespace lumadex
