// The site only ever listens on the machine itself: these decide what counts as that.
#pragma once

#include <string>
#include <string_view>

namespace lumadex::site {

// 127.x.y.z, ::1 (bracketed or not, any spelling) and "localhost".
bool is_loopback_host(std::string_view host);

// The address to bind for a loopback host: "localhost" is 127.0.0.1, brackets go.
std::string bind_address_for(std::string_view host);

// The host as it appears in a URL: IPv6 addresses get their brackets back.
std::string url_host_for(std::string_view bind_address);

}  // namespace lumadex::site
