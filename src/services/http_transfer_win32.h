// One HTTP exchange over WinHTTP, performed (blocking) on a worker thread while the UI
// thread waits for it. Everything the worker touches is owned by the transfer object,
// which both sides hold through a shared_ptr: the UI thread may give up on the transfer
// and return while the worker is still blocked inside WinHTTP.
#pragma once
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "services/get_html_win32.h"
#include "services/http_session_win32.h"

namespace lumadex {

struct HttpTarget {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  std::wstring object;  // path and query, as written in the address
};

// Splits an http:// (or https://) address. nullopt when it is not one or has no host.
std::optional<HttpTarget> SplitHttpAddress(const std::wstring& address);

class HttpTransfer {
 public:
  using Clock = std::chrono::steady_clock;

  // A body larger than `mostBytes`, announced or as it arrives, ends the transfer with
  // TooLarge and is not kept.
  HttpTransfer(std::wstring method, std::wstring address, HttpTarget target, std::wstring headers, std::string body,
               std::chrono::milliseconds idleTimeout, std::uint64_t mostBytes);
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Worker side: performs the exchange. Never throws; the outcome is in failure() and
  // response() once it returns.
  void Run();

  // UI side, at any time: when the transfer last made progress (its creation, the
  // response's head arriving, a piece of the body arriving).
  Clock::time_point LastProgress() const;
  // UI side: the transfer's outcome no longer matters. The worker stops at its next step;
  // if it is blocked inside WinHTTP, the request handle is closed to cut that short.
  void Abandon();

  // Valid once Run has returned.
  const std::optional<FetchError>& failure() const { return failure_; }
  HttpResponse& response() { return response_; }

 private:
  void Perform();
  // One request and its answer. When the answer is a redirect to be followed, its cookies
  // are kept and the address it names is returned; otherwise the body is read.
  std::optional<HttpTarget> PerformHop(HINTERNET session, const std::wstring& method, const HttpTarget& target,
                                       const std::wstring& headers, std::string_view body, bool mayRedirect);
  void ReadBody(HINTERNET request);
  // Bracket every WinHTTP call on the request handle. Both return false once the transfer
  // is abandoned, after which the worker must not use the handle again.
  bool EnterCall();
  bool LeaveCall(bool progressed);
  // Whether the call just left failed because nothing arrived for the idle time-out.
  bool TimedOut(DWORD error) const;
  [[noreturn]] void Fail(FetchErrorKind kind, const std::string& what, DWORD error) const;
  [[noreturn]] void FailTooLarge(const std::string& what);
  void CloseRequest();

  const std::wstring method_;
  const std::wstring address_;
  const HttpTarget target_;
  const std::wstring headers_;
  const std::string body_;
  const DWORD timeoutMs_;
  const std::uint64_t mostBytes_;

  mutable std::mutex mutex_;
  InternetHandle request_;  // taken out under mutex_ by whoever closes it
  bool abandoned_ = false;
  bool inCall_ = false;
  Clock::time_point callStarted_;
  Clock::time_point lastProgress_;

  std::optional<FetchError> failure_;
  HttpResponse response_;
};

}  // namespace lumadex
