// The site's own reading of URL-encoded forms and queries.
//
// The old site decoded "%XX" escapes and nothing else: a "+" stays a "+", which older
// clients relied on when they sent a literal plus. httplib's parser turns "+" into a
// space, so every form and query here goes through these routines instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumadex::site {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// "%XX" becomes that byte; everything else, a stray "%" included, is kept as sent.
std::string percent_decode(std::string_view text);

// "a=1&b=2" into decoded pairs, in order. A part without "=" is a key with an empty value.
FormFields split_form(std::string_view text);

// The first value for `key`, if the field was sent at all.
std::optional<std::string> form_value(const FormFields& fields, std::string_view key);

// The raw query of a request target ("/x?a=1" gives "a=1"), undecoded.
std::string_view query_of(std::string_view target);

// Lower-case hex of arbitrary bytes, for logging what a client really sent.
std::string to_hex(std::string_view bytes);

}  // namespace lumadex::site
