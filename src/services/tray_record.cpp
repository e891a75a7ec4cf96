#include "services/tray_record.h"

#include <cstring>

namespace lumadex {

void CopyAnsiCut(char* field, size_t width, std::string_view ansi, LeadBytePredicate isLead) {
  if (field == nullptr || width == 0) return;
  const size_t room = width - 1;
  size_t length = 0;
  while (length < ansi.size()) {
    const size_t next = AnsiCharLength(ansi, length, isLead);
    if (length + next > room) break;
    length += next;
  }
  std::memcpy(field, ansi.data(), length);
  std::memset(field + length, 0, width - length);
}

}  // namespace lumadex
