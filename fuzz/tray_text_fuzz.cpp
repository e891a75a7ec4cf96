// The notification icon's fixed text fields, filled with status texts that carry photo names and
// counts: whatever the text and the field's width, nothing is written past the field, a zero
// ends it, and the cut never splits a double-byte character.
//
// Input: one byte giving the field's width (0..255), then the ANSI text.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "services/ansi_codes.h"
#include "services/tray_record.h"

using namespace lumadex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t width = data[0];
  const std::string_view text = fuzz::Bytes(data + 1, size - 1);
  // Exactly the field's size on the heap, so a byte written past it is caught.
  const auto field = std::make_unique<char[]>(width == 0 ? 1 : width);
  if (width == 0) {
    field[0] = 'u';
    CopyAnsiCut(field.get(), 0, text, IsLeadByte936);
    FUZZ_CHECK(field[0] == 'u');
    return 0;
  }
  std::memset(field.get(), 'u', width);
  CopyAnsiCut(field.get(), width, text, IsLeadByte936);

  // The longest start of the text that ends on a character boundary and leaves room for the zero.
  size_t cut = 0;
  while (cut < text.size()) {
    const size_t next = AnsiCharLength(text, cut, IsLeadByte936);
    if (cut + next > width - 1) break;
    cut += next;
  }
  FUZZ_CHECK(std::string_view(field.get(), cut) == text.substr(0, cut));
  for (size_t i = cut; i < width; ++i) FUZZ_CHECK(field[i] == '\0');
  // Read as the platform reads it, the field is that start up to its first zero byte.
  const size_t shown = ::strnlen(field.get(), width);
  FUZZ_CHECK(shown < width && shown <= cut);
  return 0;
}
