// The program's one WinINet session. Every request goes through it so that WinINet's
// cookie store carries the sign-in cookie to every later page and photo request, and so
// that WinINet can keep one connection per host alive across requests.
#pragma once
#include <windows.h>
#include <wininet.h>

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

// The process-wide session, opened on first use (from any thread). nullptr, with the
// thread's last error set, when WinINet could not open one; a later call tries again.
HINTERNET SharedInternetSession();

// Ends the browser session: WinINet forgets the cookies it holds, the sign-in's among them.
void ForgetInternetCookies();

}  // namespace lumadex
