// Filling the fixed text fields of the notification-area record.
#pragma once
#include <cstddef>
#include <string_view>

#include "services/ansi_codes.h"

namespace lumadex {

// Copies `ansi` into a field of `width` bytes, cut to at most width - 1 bytes so that a zero
// always ends it, and never in the middle of a double-byte character (a 128-byte tip holds 127
// ASCII characters or 63 Chinese ones). The rest of the field is zeroed. Nothing is written past
// the field; a width of 0 writes nothing.
void CopyAnsiCut(char* field, size_t width, std::string_view ansi, LeadBytePredicate isLead);

}  // namespace lumadex
