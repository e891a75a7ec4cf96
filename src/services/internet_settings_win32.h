// What the system's Internet settings say and how a browser reads an address, both asked of
// WinINet, which keeps the settings the system's Internet options dialog writes. Kept apart
// from the transfers: WinINet's and WinHTTP's headers cannot meet in one source file.
#pragma once
#include <optional>
#include <string>

namespace lumadex {

struct ProxySetting {
  std::wstring proxy;   // "host:port", or a list per scheme as the settings hold it
  std::wstring bypass;  // the hosts reached directly; may be empty
};

// The proxy the system is set to use; nullopt when it reaches the Internet directly.
std::optional<ProxySetting> SystemProxy();

// `relative` (a redirect's Location, say) read against the absolute `base`; nullopt when it
// cannot be read as an address.
std::optional<std::wstring> CombineAddress(const std::wstring& base, const std::wstring& relative);

}  // namespace lumadex
