#include "text_parse.h"

namespace lumadex::site {

std::optional<std::int64_t> parse_decimal(std::string_view text, std::int64_t max) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

std::optional<double> parse_seconds(std::string_view text, double max) {
  auto dot = text.find('.');
  auto whole = parse_decimal(text.substr(0, dot), 1'000'000'000);
  if (!whole) return std::nullopt;
  double value = static_cast<double>(*whole);
  if (dot != std::string_view::npos) {
    auto fraction = text.substr(dot + 1);
    if (fraction.empty() || !parse_decimal(fraction, INT64_MAX)) return std::nullopt;
    double scale = 0.1;
    for (char c : fraction) {
      value += (c - '0') * scale;
      scale /= 10;
    }
  }
  if (value > max) return std::nullopt;
  return value;
}

}  // namespace lumadex::site
