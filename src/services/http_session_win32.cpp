#include "services/http_session_win32.h"

#include <ctime>
#include <mutex>

#include "services/ansi_win32.h"
#include "services/cookie_jar.h"
#include "services/internet_settings_win32.h"

namespace lumadex {
namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; Lumadex)";

struct Session {
  std::mutex mutex;
  InternetHandle handle;
  std::mutex cookieMutex;
  CookieJar cookies;
};

// Never destroyed: a worker abandoned by its caller may still be inside a request while
// static destructors run at exit, and its handles hang off this session.
Session& TheSession() {
  static Session* const session = new Session;
  return *session;
}

CookieTime Now() { return static_cast<CookieTime>(std::time(nullptr)); }

}  // namespace

HINTERNET SharedInternetSession() {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  // The system's proxy settings, as a browser on this machine would use them: on campus
  // networks the site may be reachable only through the proxy.
  if (!session.handle) {
    const std::optional<ProxySetting> proxy = SystemProxy();
    session.handle.reset(
        proxy ? WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy->proxy.c_str(),
                            proxy->bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : proxy->bypass.c_str(), 0)
              : WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  }
  return session.handle.get();
}

void ReopenInternetSession() {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  session.handle.release();
}

std::string SessionCookieHeader(std::wstring_view host, std::wstring_view path, bool secure) {
  Session& session = TheSession();
  const std::string narrowHost = WideToUtf8(host), narrowPath = WideToUtf8(path);
  std::lock_guard lock(session.cookieMutex);
  return session.cookies.HeaderFor(narrowHost, narrowPath, secure, Now());
}

void TakeSessionCookie(std::string_view setCookie, std::wstring_view host, std::wstring_view path, bool secure) {
  Session& session = TheSession();
  const std::string narrowHost = WideToUtf8(host), narrowPath = WideToUtf8(path);
  std::lock_guard lock(session.cookieMutex);
  session.cookies.Take(setCookie, narrowHost, narrowPath, secure, Now());
}

void ForgetInternetCookies() {
  Session& session = TheSession();
  std::lock_guard lock(session.cookieMutex);
  session.cookies.Clear();
}

}  // namespace lumadex
