#include "services/cookie_jar.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

namespace lumadex {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string LowerCopy(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

// A dotted-quad IPv4 address or a bracketed IPv6 one: such hosts match only themselves.
bool IsIpAddress(std::string_view host) {
  if (!host.empty() && host.front() == '[') return true;
  int parts = 0;
  size_t digits = 0;
  for (const char c : host) {
    if (IsDigit(c)) {
      if (++digits > 3) return false;
    } else if (c == '.' && digits > 0) {
      ++parts;
      digits = 0;
    } else {
      return false;
    }
  }
  return digits > 0 && parts == 3;
}

bool DomainMatches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.' &&
         !IsIpAddress(host);
}

std::string_view PathOnly(std::string_view requestPath) {
  const size_t end = requestPath.find_first_of("?#");
  return end == std::string_view::npos ? requestPath : requestPath.substr(0, end);
}

// The folder of the request path: where a cookie without a Path attribute applies.
std::string DefaultPath(std::string_view requestPath) {
  const std::string_view path = PathOnly(requestPath);
  if (path.empty() || path.front() != '/') return "/";
  const size_t last = path.rfind('/');
  if (last == 0) return "/";
  return std::string(path.substr(0, last));
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath) {
  if (requestPath == cookiePath) return true;
  if (!requestPath.starts_with(cookiePath)) return false;
  return cookiePath.ends_with('/') || requestPath[cookiePath.size()] == '/';
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsDateDelimiter(unsigned char c) {
  return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

// Reads 1 to `most` leading digits of `token` that are not followed by another digit.
std::optional<int> LeadingNumber(std::string_view token, size_t least, size_t most, size_t* used = nullptr) {
  size_t n = 0;
  while (n < token.size() && IsDigit(token[n])) ++n;
  if (n < least || n > most) return std::nullopt;
  int value = 0;
  for (size_t i = 0; i < n; ++i) value = value * 10 + (token[i] - '0');
  if (used) *used = n;
  return value;
}

}  // namespace

std::optional<CookieTime> ParseCookieDate(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                               "jul", "aug", "sep", "oct", "nov", "dec"};
  std::optional<int> hour, minute, second, day, month, year;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsDateDelimiter(static_cast<unsigned char>(text[at]))) ++at;
    size_t end = at;
    while (end < text.size() && !IsDateDelimiter(static_cast<unsigned char>(text[end]))) ++end;
    const std::string_view token = text.substr(at, end - at);
    at = end;
    if (token.empty()) continue;

    if (!hour) {
      // hh:mm:ss, each of one or two digits; the colon is not a delimiter.
      size_t used = 0;
      std::string_view rest = token;
      std::array<int, 3> parts{};
      bool ok = true;
      for (int i = 0; i < 3 && ok; ++i) {
        const auto number = LeadingNumber(rest, 1, 2, &used);
        if (!number) {
          ok = false;
          break;
        }
        parts[static_cast<size_t>(i)] = *number;
        rest.remove_prefix(used);
        if (i < 2) {
          if (rest.empty() || rest.front() != ':') ok = false;
          else rest.remove_prefix(1);
        }
      }
      if (ok) {
        hour = parts[0];
        minute = parts[1];
        second = parts[2];
        continue;
      }
    }
    if (!day) {
      if (const auto number = LeadingNumber(token, 1, 2)) {
        day = *number;
        continue;
      }
    }
    if (!month && token.size() >= 3) {
      const std::string prefix = LowerCopy(token.substr(0, 3));
      const auto found = std::find(kMonths.begin(), kMonths.end(), prefix);
      if (found != kMonths.end()) {
        month = static_cast<int>(found - kMonths.begin()) + 1;
        continue;
      }
    }
    if (!year) {
      if (const auto number = LeadingNumber(token, 2, 4)) {
        year = *number;
        continue;
      }
    }
  }
  if (!hour || !day || !month || !year) return std::nullopt;
  if (*year >= 70 && *year <= 99) *year += 1900;
  else if (*year >= 0 && *year <= 69) *year += 2000;
  if (*day < 1 || *day > 31 || *year < 1601 || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int monthDays = kDays[static_cast<size_t>(*month - 1)] + (*month == 2 && IsLeap(*year) ? 1 : 0);
  if (*day > monthDays) return std::nullopt;
  return DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) * 86400 + *hour * 3600 +
         *minute * 60 + *second;
}

void CookieJar::DropExpired(CookieTime now) {
  std::erase_if(cookies_, [now](const Cookie& c) { return c.expires && *c.expires <= now; });
}

bool CookieJar::Take(std::string_view setCookie, std::string_view hostName, std::string_view requestPath,
                     bool secureRequest, CookieTime now) {
  const std::string host = LowerCopy(hostName);
  if (host.empty()) return false;

  // name=value, then the attributes, each after a semicolon.
  size_t semicolon = setCookie.find(';');
  const std::string_view pair = setCookie.substr(0, semicolon);
  const size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return false;
  Cookie cookie;
  cookie.name = std::string(Trim(pair.substr(0, equals)));
  cookie.value = std::string(Trim(pair.substr(equals + 1)));
  if (cookie.name.empty()) return false;
  if (cookie.name.size() + cookie.value.size() > kMaxCookieBytes) return false;
  // A control character would end the header line the cookie is sent back in.
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (std::any_of(cookie.name.begin(), cookie.name.end(), control) ||
      std::any_of(cookie.value.begin(), cookie.value.end(), control))
    return false;

  std::optional<CookieTime> maxAgeExpiry, expiresAttribute;
  std::string domainAttribute, pathAttribute;
  while (semicolon != std::string_view::npos) {
    const size_t start = semicolon + 1;
    semicolon = setCookie.find(';', start);
    const std::string_view attribute = setCookie.substr(start, semicolon == std::string_view::npos
                                                                    ? std::string_view::npos
                                                                    : semicolon - start);
    const size_t eq = attribute.find('=');
    const std::string_view key = Trim(attribute.substr(0, eq));
    const std::string_view value = eq == std::string_view::npos ? std::string_view{} : Trim(attribute.substr(eq + 1));
    if (EqualsNoCase(key, "max-age")) {
      // Digits with an optional minus; anything else leaves the attribute unread.
      const bool negative = !value.empty() && value.front() == '-';
      const std::string_view digits = negative ? value.substr(1) : value;
      if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) continue;
      CookieTime seconds = 0;
      for (const char c : digits) {
        seconds = seconds * 10 + (c - '0');
        if (seconds > CookieTime{1} << 40) break;  // far beyond any date; stops the overflow
      }
      maxAgeExpiry = negative ? std::numeric_limits<CookieTime>::min() : now + seconds;
    } else if (EqualsNoCase(key, "expires")) {
      if (const auto date = ParseCookieDate(value)) expiresAttribute = *date;
    } else if (EqualsNoCase(key, "domain")) {
      std::string_view domain = value;
      if (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
      domainAttribute = LowerCopy(domain);
    } else if (EqualsNoCase(key, "path")) {
      pathAttribute = std::string(value);
    } else if (EqualsNoCase(key, "secure")) {
      cookie.secure = true;
    }
  }
  // Max-Age outranks Expires whichever comes first.
  cookie.expires = maxAgeExpiry ? maxAgeExpiry : expiresAttribute;

  if (domainAttribute.empty()) {
    cookie.domain = host;
    cookie.hostOnly = true;
  } else {
    // A host may set a cookie for itself or a parent domain, never for another host, and
    // never for a bare top-level name such as "com".
    if (!DomainMatches(host, domainAttribute)) return false;
    if (domainAttribute != host && domainAttribute.find('.') == std::string::npos) return false;
    cookie.domain = domainAttribute;
    cookie.hostOnly = false;
  }
  cookie.path = !pathAttribute.empty() && pathAttribute.front() == '/' ? pathAttribute : DefaultPath(requestPath);
  // A plain-HTTP answer may not set a cookie that only secure requests would send back.
  if (cookie.secure && !secureRequest) return false;

  DropExpired(now);
  const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) {
    return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path;
  });
  if (cookie.expires && *cookie.expires <= now) {
    // An expiry already past is how a site deletes its cookie.
    if (same == cookies_.end()) return false;
    cookies_.erase(same);
    return true;
  }
  if (same != cookies_.end()) {
    // Replacement keeps the place of the cookie it replaces.
    cookie.order = same->order;
    *same = std::move(cookie);
    return true;
  }
  cookie.order = nextOrder_++;

  // Full: make room by dropping the oldest cookie of the domain, or of the whole jar.
  const auto oldest = [this](auto&& predicate) {
    auto found = cookies_.end();
    for (auto it = cookies_.begin(); it != cookies_.end(); ++it)
      if (predicate(*it) && (found == cookies_.end() || it->order < found->order)) found = it;
    return found;
  };
  const std::string& domain = cookie.domain;
  const auto sameDomain = [&domain](const Cookie& c) { return c.domain == domain; };
  if (static_cast<size_t>(std::count_if(cookies_.begin(), cookies_.end(), sameDomain)) >= kMaxPerDomain)
    cookies_.erase(oldest(sameDomain));
  if (cookies_.size() >= kMaxCookies) cookies_.erase(oldest([](const Cookie&) { return true; }));
  cookies_.push_back(std::move(cookie));
  return true;
}

std::string CookieJar::HeaderFor(std::string_view hostName, std::string_view requestPath, bool secureRequest,
                                 CookieTime now) const {
  const std::string host = LowerCopy(hostName);
  std::string_view path = PathOnly(requestPath);
  if (path.empty()) path = "/";
  std::vector<const Cookie*> chosen;
  for (const Cookie& c : cookies_) {
    if (c.expires && *c.expires <= now) continue;
    if (c.hostOnly ? host != c.domain : !DomainMatches(host, c.domain)) continue;
    if (!PathMatches(path, c.path)) continue;
    if (c.secure && !secureRequest) continue;
    chosen.push_back(&c);
  }
  std::stable_sort(chosen.begin(), chosen.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
    return a->order < b->order;
  });
  std::string header;
  for (const Cookie* c : chosen) {
    if (!header.empty()) header += "; ";
    header += c->name;
    header += '=';
    header += c->value;
  }
  return header;
}

}  // namespace lumadex
