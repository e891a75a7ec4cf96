#include "services/url_encode.h"

namespace lumadex {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Hex without a leading zero, as the historic escaping wrote it.
void AppendShortHex(std::string& out, unsigned value) {
  if (value >= 0x10) out.push_back(kHexDigits[value >> 4]);
  out.push_back(kHexDigits[value & 0xF]);
}

void AppendEscapedByte(std::string& out, unsigned char byte) {
  out.push_back('%');
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0xF]);
}

bool PassesInFormValue(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '@' || byte == '.' || byte == '-' || byte == '_' || byte == '*';
}

}  // namespace

std::string UrlEncodeText(std::string_view ansi, LeadBytePredicate isLead) {
  std::string out;
  out.reserve(ansi.size() * 2);
  for (int code : AnsiCharCodes(ansi, isLead)) {
    // The test is on the code's size, not on whether it came from two bytes: a lone byte 0xFF
    // (no character in code page 936) is written as "%0%FF", which the site has always received.
    if (code > -255 && code < 255) {
      out.push_back(static_cast<char>(code));
      continue;
    }
    const unsigned value = static_cast<unsigned>(code < 0 ? code + 65536 : code);
    out.push_back('%');
    AppendShortHex(out, value >> 8);
    out.push_back('%');
    AppendShortHex(out, value & 0xFF);
  }
  return out;
}

std::string UrlEncodeFormValue(std::string_view ansi, LeadBytePredicate isLead) {
  std::string out;
  out.reserve(ansi.size() * 3);
  for (size_t pos = 0; pos < ansi.size();) {
    const size_t length = AnsiCharLength(ansi, pos, isLead);
    for (size_t i = 0; i < length; ++i) {
      const auto byte = static_cast<unsigned char>(ansi[pos + i]);
      if (length == 1 && PassesInFormValue(byte)) {
        out.push_back(static_cast<char>(byte));
      } else {
        // Both bytes of a double-byte character are escaped, even a second byte that is a
        // letter, so that Chinese values go out as UrlEncodeText has always sent them. Unlike
        // there, each byte gets two digits: "%5" before a digit or letter would take it along.
        AppendEscapedByte(out, byte);
      }
    }
    pos += length;
  }
  return out;
}

}  // namespace lumadex
