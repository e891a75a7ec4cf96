// The cookies the site sets, kept by the program and sent back with every later request to
// the host they belong to. WinINet's own cookie store costs more than the rest of a
// request put together, so requests go out without it and carry these instead.
//
// The rules kept are those a site's session depends on: a cookie is named by its name,
// domain and path, a later Set-Cookie of the same three replaces it, Max-Age or Expires
// ends it (one already past deletes it), a host-only cookie goes to its own host and no
// other, a Domain cookie to that domain and its subdomains, and only to paths under its
// own. Ports do not separate cookies (they never have for browsers either).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumadex {

// Seconds since 1970-01-01 00:00:00 UTC.
using CookieTime = std::int64_t;

struct Cookie {
  std::string name;
  std::string value;
  std::string domain;  // lower case, no leading dot
  std::string path;
  bool hostOnly = true;
  bool secure = false;
  std::optional<CookieTime> expires;  // none: kept until the program ends
  std::uint64_t order = 0;  // when it was first set: older cookies are sent first
};

// A date as cookies write it ("Wed, 09 Jun 2021 10:18:14 GMT" and the older forms),
// read the lenient way browsers read it. nullopt when it names no valid date.
std::optional<CookieTime> ParseCookieDate(std::string_view text);

class CookieJar {
 public:
  // Limits that keep a misbehaving site from growing the jar without end.
  static constexpr std::size_t kMaxCookieBytes = 4096;  // name and value together
  static constexpr std::size_t kMaxPerDomain = 50;
  static constexpr std::size_t kMaxCookies = 1000;

  // Takes one Set-Cookie header value from a response of `host` (lower or upper case, no
  // port) to a request for `requestPath` (the path, with or without its query). A cookie
  // that the host may not set (a Domain attribute not its own), a malformed one, or an
  // over-long one is ignored. Returns whether the jar changed.
  bool Take(std::string_view setCookie, std::string_view host, std::string_view requestPath, bool secureRequest,
            CookieTime now);

  // The Cookie header value ("a=1; b=2") for a request to `host` and `requestPath`;
  // empty when no cookie applies. Longer paths come first, then older cookies.
  std::string HeaderFor(std::string_view host, std::string_view requestPath, bool secureRequest,
                        CookieTime now) const;

  void Clear() { cookies_.clear(); }
  // The cookies held, expired ones included until the next Take drops them.
  const std::vector<Cookie>& cookies() const { return cookies_; }

 private:
  void DropExpired(CookieTime now);

  std::vector<Cookie> cookies_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace lumadex
