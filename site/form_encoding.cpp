#include "form_encoding.h"

namespace lumadex::site {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int hi = hex_digit(text[i + 1]);
      int lo = hex_digit(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

FormFields split_form(std::string_view text) {
  FormFields fields;
  while (!text.empty()) {
    auto amp = text.find('&');
    auto part = text.substr(0, amp);
    text = amp == std::string_view::npos ? std::string_view{} : text.substr(amp + 1);
    if (part.empty()) continue;
    auto eq = part.find('=');
    if (eq == std::string_view::npos) {
      fields.emplace_back(percent_decode(part), std::string{});
    } else {
      fields.emplace_back(percent_decode(part.substr(0, eq)), percent_decode(part.substr(eq + 1)));
    }
  }
  return fields;
}

std::optional<std::string> form_value(const FormFields& fields, std::string_view key) {
  for (const auto& [k, v] : fields) {
    if (k == key) return v;
  }
  return std::nullopt;
}

std::string_view query_of(std::string_view target) {
  auto q = target.find('?');
  return q == std::string_view::npos ? std::string_view{} : target.substr(q + 1);
}

std::string to_hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

}  // namespace lumadex::site
