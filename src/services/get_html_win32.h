// Pages and photos from the site over HTTP (WinHTTP), for callers on the UI thread.
//
// Each call sends its request from a worker thread and, while it waits, keeps dispatching
// the UI thread's messages: the stop button, timers, the tray icon, painting and the close
// request are all handled during a fetch, and their handlers may start fetches of their
// own. The call returns when the response is in, as if it had sent, pumped messages until
// done, and returned. All requests share one WinHTTP session, opened with the system's
// proxy settings, and one cookie jar of the program's own: the cookie the sign-in gets goes
// with every later page and photo request to its host.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumadex {

enum class FetchErrorKind {
  Network,    // no connection, or it failed before the response was complete
  Timeout,    // nothing arrived for the idle time-out
  Cancelled,  // WM_QUIT arrived during the wait (it is posted again for the main loop)
  Charset,    // the character-set name is not one the program can decode
  TooLarge,   // the answer is larger than the most the request takes
};

// The most a page or a photo may hold. No page of the site comes near the first, no camera's
// photo near the second; what goes past them is a broken or hostile server, and is not read
// on (a body that never ends would otherwise fill the memory).
inline constexpr std::uint64_t kMostPageBytes = 8u << 20;
inline constexpr std::uint64_t kMostPhotoBytes = 64u << 20;

class FetchError : public std::runtime_error {
 public:
  FetchError(FetchErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  FetchErrorKind kind() const { return kind_; }

 private:
  FetchErrorKind kind_;
};

// GETs `address` (http://host[:port]/path?query, sent as written) and decodes the body in
// `charset`. The HTTP status is not looked at: an error page's text comes back like any
// other; an empty body gives "". `idleTimeout` is how long the request may go without
// progress (connecting, or any byte arriving) before it fails with Timeout. A page over
// kMostPageBytes fails with TooLarge.
// Throws FetchError: Network, Timeout, Cancelled, TooLarge, or Charset (checked before sending).
std::wstring FetchText(const std::wstring& address, std::string_view charset,
                       std::chrono::milliseconds idleTimeout = std::chrono::seconds(60));

// Decodes bytes in the named character set (see services/charset.h for the names).
// Throws FetchError(Charset) for a name it does not know or a code page this system lacks.
std::wstring BytesToText(std::string_view bytes, std::string_view charset);

struct HttpResponse {
  unsigned status = 0;                      // 0 when none was read
  std::string body;                         // the bytes as received
  std::optional<uint64_t> contentLength;    // as the server announced it, when it did
  bool complete = false;                    // the whole body arrived: no error while reading it,
                                            // and as many bytes as announced, if announced
};

// Sends `method` to `address` with the raw header block `headers` (each line ending in
// "\r\n", e.g. L"Content-Type: application/x-www-form-urlencoded\r\n") and `body`, waiting
// as FetchText does. Redirects are followed (a 303, or a 301 or 302 after a POST, as a GET
// without the body and headers); every answer's cookies are kept. A failure once the status has arrived is not
// thrown but shows as complete == false; before that it is. The answer may hold kMostPageBytes.
// Throws FetchError: Network, Timeout (also when the body stalls), Cancelled, TooLarge.
HttpResponse HttpRequest(const std::wstring& method, const std::wstring& address, const std::wstring& headers,
                         std::string_view body, std::chrono::milliseconds idleTimeout);

class HttpTransfer;
class WorkerLease;

// A request sent from a worker thread and not waited for, for callers that keep several on
// their way at once and wait for them together (see WaitForAnyOnce). The calls above are one
// of these, waited for alone.
class SentRequest {
 public:
  using Clock = std::chrono::steady_clock;

  // Sends the request, as HttpRequest does, taking an answer of at most `mostBytes`; with a
  // `charset` a complete body is also decoded in it (on the worker). Throws FetchError: Charset
  // (an unknown name, before sending), or Network (not an http address, or no worker thread to
  // be had).
  SentRequest(const std::wstring& method, const std::wstring& address, const std::wstring& headers,
              std::string_view body, std::chrono::milliseconds idleTimeout, std::uint64_t mostBytes,
              std::optional<std::string_view> charset = std::nullopt);
  SentRequest(const SentRequest&) = delete;
  SentRequest& operator=(const SentRequest&) = delete;
  // A request not finished is abandoned: its worker stops at its next step.
  ~SentRequest();

  // Set when the answer is in (auto-reset: the caller's wait takes the signal).
  HANDLE done() const;
  // When to give up waiting: the idle time-out (and a grace) after the last progress.
  Clock::time_point GiveUpAt() const;
  // Once done() has been seen set: the response, as HttpRequest returns it, and with a
  // charset the decoded body (empty unless the body is complete). Throws the FetchError that
  // ended the request. Once only.
  HttpResponse Finish();
  std::wstring& text() { return *text_; }
  // The answer is no longer wanted: `kind` (Timeout or Cancelled) says why. Returns the error
  // that tells so.
  FetchError Abandon(FetchErrorKind kind);

 private:
  const std::wstring method_, address_;
  const std::chrono::milliseconds idleTimeout_;
  std::shared_ptr<HttpTransfer> transfer_;
  std::shared_ptr<std::wstring> text_;
  std::unique_ptr<WorkerLease> worker_;
  bool finished_ = false;
};

// Forgets every cookie the program holds, the sign-in's among them.
void ForgetCookies();

}  // namespace lumadex
