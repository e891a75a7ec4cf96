// Escaping of ANSI text for the site's addresses and form bodies.
#pragma once
#include <string>
#include <string_view>

#include "services/ansi_codes.h"

namespace lumadex {

// The escaping the site has always been sent: single bytes pass unchanged (so "&", "=", "%",
// "+" and spaces do too), each double-byte character becomes "%HH%LL" in upper-case hex.
std::string UrlEncodeText(std::string_view ansi, LeadBytePredicate isLead = IsLeadByte936);

// Escaping of one form value: letters, digits and "@.-_*" pass, every other single byte becomes
// "%XX", and double-byte characters are escaped as UrlEncodeText does. A value can therefore
// neither end early nor add fields, whatever it holds.
std::string UrlEncodeFormValue(std::string_view ansi, LeadBytePredicate isLead = IsLeadByte936);

}  // namespace lumadex
