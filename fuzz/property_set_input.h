// Stored property sets as the fuzzer writes them: one property a line, "key=kind:value", with
// kind i (a whole number), b (0 or 1), s (text), f (font: face|points|weight|italic|underline|
// strikeout|charset) or p (picture bytes). Lines of another shape are left out, as a form
// leaves out what it cannot read. Readable seeds, and every kind of value reachable.
#pragma once
#include <cstdlib>
#include <string>
#include <string_view>

#include "controls/host/property_bag.h"
#include "fuzz_support.h"

namespace lumadex::fuzz {

inline std::int64_t WholeNumber(std::string_view text) {
  std::string digits(text.substr(0, 24));
  return std::strtoll(digits.c_str(), nullptr, 10);
}

inline StoredFont FontFrom(std::string_view text) {
  StoredFont font;
  std::string_view parts[7];
  for (std::string_view& part : parts) {
    const size_t bar = text.find('|');
    part = text.substr(0, bar);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
  }
  font.face = WideFromUtf8(parts[0]);
  font.points = static_cast<double>(WholeNumber(parts[1]));
  if (const size_t dot = parts[1].find('.'); dot != std::string_view::npos)
    font.points += static_cast<double>(WholeNumber(parts[1].substr(dot + 1, 1))) / 10.0;
  font.weight = static_cast<int>(WholeNumber(parts[2]) % 100000);
  font.italic = parts[3] == "1";
  font.underline = parts[4] == "1";
  font.strikeout = parts[5] == "1";
  font.charset = static_cast<int>(WholeNumber(parts[6]) % 1000);
  return font;
}

inline PropertyBag BagFromText(std::string_view input) {
  PropertyBag bag;
  while (!input.empty()) {
    const size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.size() < equals + 3 || line[equals + 2] != ':') continue;
    const std::wstring key = WideFromUtf8(line.substr(0, equals));
    const std::string_view value = line.substr(equals + 3);
    switch (line[equals + 1]) {
      case 'i': bag.Write(key, WholeNumber(value)); break;
      case 'b': bag.Write(key, value == "1"); break;
      case 's': bag.Write(key, WideFromUtf8(value)); break;
      case 'f': bag.Write(key, FontFrom(value)); break;
      case 'p': bag.Write(key, StoredPicture{std::vector<std::uint8_t>(value.begin(), value.end())}); break;
      default: break;
    }
  }
  return bag;
}

// The same keys, in the same order and spelling, with the same values.
inline bool SameBags(const PropertyBag& a, const PropertyBag& b) {
  if (a.Keys() != b.Keys()) return false;
  for (const std::wstring& key : a.Keys())
    if (!(*a.Find(key) == *b.Find(key))) return false;
  return true;
}

}  // namespace lumadex::fuzz
