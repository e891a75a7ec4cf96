#include "services/http_session_win32.h"

#include <ctime>
#include <mutex>

#include "services/ansi_win32.h"
#include "services/cookie_jar.h"

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

// WinINet may keep as few as two connections to one server open at once and queue the
// requests beyond them; the download run keeps four on their way, and a sign-in or a page
// fetched by a message handler may come on top of them.
constexpr DWORD kConnectionsPerServer = 8;

void AllowConnectionsPerServer() {
  for (const DWORD option : {INTERNET_OPTION_MAX_CONNS_PER_SERVER, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER}) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (InternetQueryOptionW(nullptr, option, &value, &size) && value >= kConnectionsPerServer) continue;
    value = kConnectionsPerServer;
    InternetSetOptionW(nullptr, option, &value, sizeof(value));
  }
}

CookieTime Now() { return static_cast<CookieTime>(std::time(nullptr)); }

}  // namespace

HINTERNET SharedInternetSession() {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  // The system's proxy settings, as a browser on this machine would use them: on campus
  // networks the site may be reachable only through the proxy.
  if (!session.handle) {
    AllowConnectionsPerServer();
    session.handle.reset(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
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
  {
    std::lock_guard lock(session.cookieMutex);
    session.cookies.Clear();
  }
  InternetSetOptionW(nullptr, INTERNET_OPTION_END_BROWSER_SESSION, nullptr, 0);
}

}  // namespace lumadex
