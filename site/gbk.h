// The site stored and compared sign-in details in GBK (code page 936), as browsers of the
// time sent them; the config is UTF-8, so accounts are converted once when it is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumadex::site {

// nullopt when the text is not valid UTF-8 or has a character GBK cannot hold.
std::optional<std::string> utf8_to_gbk(std::string_view utf8);

}  // namespace lumadex::site
