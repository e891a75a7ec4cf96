// Small, strict number parsing shared by the config reader, the command line and the routes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumadex::site {

// Plain decimal digits only (no sign, no spaces), at most `max`. Anything else is rejected,
// because a half-parsed number in a config or a query is a mistake worth reporting.
std::optional<std::int64_t> parse_decimal(std::string_view text, std::int64_t max);

// A non-negative decimal with an optional fraction ("2", "0.5"), for second counts.
std::optional<double> parse_seconds(std::string_view text, double max);

}  // namespace lumadex::site
