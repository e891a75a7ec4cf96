// Signed-in visitors, known by the xnsid cookie the sign-in handed out.
#pragma once

#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lumadex::site {

class SessionStore {
 public:
  SessionStore();

  // A fresh session id (32 hex digits) for the account.
  std::string open(std::string_view email);
  bool is_open(std::string_view id) const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::mt19937_64 random_;
  std::unordered_map<std::string, std::string> sessions_;  // id -> email
};

// The xnsid value among the Cookie header's pairs, or empty.
std::string session_cookie(std::string_view cookie_header);

}  // namespace lumadex::site
