#include "session_store.h"

#include <cstdio>

namespace lumadex::site {

SessionStore::SessionStore() {
  std::random_device seed;
  random_.seed((static_cast<std::uint64_t>(seed()) << 32) ^ seed());
}

std::string SessionStore::open(std::string_view email) {
  std::lock_guard lock(mutex_);
  char id[33];
  std::snprintf(id, sizeof id, "%016llx%016llx", static_cast<unsigned long long>(random_()),
                static_cast<unsigned long long>(random_()));
  sessions_[id] = std::string(email);
  return id;
}

bool SessionStore::is_open(std::string_view id) const {
  if (id.empty()) return false;
  std::lock_guard lock(mutex_);
  return sessions_.count(std::string(id)) != 0;
}

void SessionStore::clear() {
  std::lock_guard lock(mutex_);
  sessions_.clear();
}

std::string session_cookie(std::string_view header) {
  while (!header.empty()) {
    auto semi = header.find(';');
    auto pair = header.substr(0, semi);
    header = semi == std::string_view::npos ? std::string_view{} : header.substr(semi + 1);
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    if (pair.substr(0, 6) == "xnsid=") {
      auto value = pair.substr(6);
      while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
      return std::string(value);
    }
  }
  return {};
}

}  // namespace lumadex::site
