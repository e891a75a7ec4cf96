// The program's one WinINet session and its cookies. Every request goes through the session
// so that WinINet can keep one connection per host alive across requests; the cookies are
// the program's own (WinINet's cookie store is bypassed, being the slowest part of a
// request), so that the sign-in cookie reaches every later page and photo request.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>
#include <string_view>

namespace lumadex {

// Owns one WinINet handle (session, connection or request).
class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  InternetHandle(InternetHandle&& other) noexcept : handle_(other.release()) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~InternetHandle() { reset(); }

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET release() {
    HINTERNET handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HINTERNET handle = nullptr) {
    if (handle_) InternetCloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HINTERNET handle_ = nullptr;
};

// The process-wide session, opened on first use (from any thread) with the system's proxy
// settings. nullptr, with the thread's last error set, when WinINet could not open one; a
// later call tries again.
HINTERNET SharedInternetSession();

// Lets the next request open a new session, which reads the system's proxy settings
// afresh. The old session is left open: requests abandoned by their callers may still be
// using it.
void ReopenInternetSession();

// The Cookie header value for a request to `host` (no port) and `path` (path and query);
// empty when no cookie applies. Safe from any thread.
std::string SessionCookieHeader(std::wstring_view host, std::wstring_view path, bool secure);
// Keeps a Set-Cookie header value of an answer from `host` to a request for `path`.
void TakeSessionCookie(std::string_view setCookie, std::wstring_view host, std::wstring_view path, bool secure);

// Ends the browser session: every cookie is forgotten, the sign-in's among them.
void ForgetInternetCookies();

}  // namespace lumadex
