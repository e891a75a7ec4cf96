#include "services/http_session_win32.h"

#include <mutex>

namespace lumadex {
namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; Lumadex)";

struct Session {
  std::mutex mutex;
  InternetHandle handle;
};

// Never destroyed: a worker abandoned by its caller may still be inside a request while
// static destructors run at exit, and its handles hang off this session.
Session& TheSession() {
  static Session* const session = new Session;
  return *session;
}

}  // namespace

HINTERNET SharedInternetSession() {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  // The site is on this machine: no proxy, whatever the system's settings say.
  if (!session.handle)
    session.handle.reset(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  return session.handle.get();
}

void ForgetInternetCookies() { InternetSetOptionW(nullptr, INTERNET_OPTION_END_BROWSER_SESSION, nullptr, 0); }

}  // namespace lumadex
