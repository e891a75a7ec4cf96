// The program's one WinHTTP session and its cookies. Every request goes through the session
// so that connections to a host are kept alive across requests; the cookies are the
// program's own, so that the sign-in cookie reaches every later page and photo request.
#pragma once
#include <windows.h>
#include <winhttp.h>

#include <string>
#include <string_view>

#include "winmsg/unique_handle_win32.h"

namespace lumadex {

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return WinHttpCloseHandle(h) != FALSE; }
};
// A WinHTTP session, connection or request handle.
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// The process-wide session, opened on first use (from any thread) with the system's proxy
// settings. nullptr, with the thread's last error set, when WinHTTP could not open one; a
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

// Every cookie is forgotten, the sign-in's among them.
void ForgetInternetCookies();

}  // namespace lumadex
