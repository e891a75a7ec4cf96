#include "services/http_transfer_win32.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "services/ansi_win32.h"
#include "services/http_session_win32.h"
#include "services/internet_settings_win32.h"

namespace lumadex {
namespace {

// Every page is asked of the site afresh, past any cache on the way. WinHTTP's own cookie
// handling is left out: the program sends its own. Redirects are followed here rather than
// by WinHTTP, which would carry the cookie header to whatever host the redirect names.
constexpr DWORD kRequestFlags = WINHTTP_FLAG_REFRESH;
constexpr DWORD kDisabledFeatures = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS;

// One header of the answer as text, or nullopt when it has none at `*index` (the next one of
// that name is then at *index).
std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD query, DWORD* index) {
  std::wstring value(256, L'\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                            index ? index : WINHTTP_NO_HEADER_INDEX)) {
      value.resize(size / sizeof(wchar_t));
      return value;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size / sizeof(wchar_t) < value.size()) return std::nullopt;
    value.resize(size / sizeof(wchar_t) + 1);
  }
}

// As many redirects as browsers follow before they give up on a loop.
constexpr int kMostRedirects = 20;

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Every Set-Cookie header of the answer, as sent.
std::vector<std::string> SetCookieHeaders(HINTERNET request) {
  std::vector<std::string> values;
  for (DWORD index = 0;;) {
    const DWORD at = index;
    const std::optional<std::wstring> value = QueryHeader(request, WINHTTP_QUERY_SET_COOKIE, &index);
    if (!value) break;
    values.push_back(WideToUtf8(*value));
    if (index == at) break;  // a stack that does not move the index on would loop for ever
  }
  return values;
}

std::wstring AddressOf(const HttpTarget& target) {
  return (target.secure ? L"https://" : L"http://") + target.host + L":" + std::to_wstring(target.port) +
         target.object;
}

// Where a redirect leads: its Location, read against the address it answered.
std::optional<HttpTarget> RedirectTarget(HINTERNET request, const HttpTarget& from) {
  const std::optional<std::wstring> location = QueryHeader(request, WINHTTP_QUERY_LOCATION, nullptr);
  if (!location || location->empty()) return std::nullopt;
  const std::optional<std::wstring> combined = CombineAddress(AddressOf(from), *location);
  if (!combined) return std::nullopt;
  return SplitHttpAddress(*combined);
}

// The body is asked for in pieces no larger than this, each as soon as it is there, so
// that a slow body still counts as progress piece by piece.
constexpr DWORD kLargestRead = 64 * 1024;

// A WinHTTP call that began at least this long ago has long since taken hold of its
// handle, so closing the handle under it cannot hit a handle value that has been reused.
constexpr auto kCallSettled = std::chrono::milliseconds(100);

const char* DescribeError(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT: return "timed out";
    case ERROR_WINHTTP_CANNOT_CONNECT: return "cannot connect";
    case ERROR_WINHTTP_CONNECTION_ERROR: return "connection dropped";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return "host name not resolved";
    case ERROR_WINHTTP_INVALID_URL: return "invalid address";
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME: return "not an http address";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return "invalid server response";
    case ERROR_WINHTTP_OPERATION_CANCELLED: return "cancelled";
    case ERROR_WINHTTP_INCORRECT_HANDLE_STATE: return "handle closed";
    case ERROR_INVALID_HANDLE: return "handle closed";
    default: return "failed";
  }
}

std::optional<uint64_t> ParseLength(const wchar_t* text) {
  if (!*text) return std::nullopt;
  uint64_t value = 0;
  for (const wchar_t* p = text; *p; ++p) {
    if (*p < L'0' || *p > L'9') return std::nullopt;
    if (value > (UINT64_MAX - 9) / 10) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(*p - L'0');
  }
  return value;
}

}  // namespace

std::optional<HttpTarget> SplitHttpAddress(const std::wstring& address) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  // Non-zero lengths with null pointers: WinHTTP points into `address` instead of copying,
  // and leaves every escape in the path and query as it was written.
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (address.empty() || !WinHttpCrackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts))
    return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  if (!parts.lpszHostName || parts.dwHostNameLength == 0) return std::nullopt;
  HttpTarget target;
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  if (parts.lpszUrlPath) target.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) target.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  // A fragment is the browser's business and never goes to the server.
  if (const size_t hash = target.object.find(L'#'); hash != std::wstring::npos) target.object.erase(hash);
  if (target.object.empty() || target.object.front() != L'/') target.object.insert(0, 1, L'/');
  return target;
}

HttpTransfer::HttpTransfer(std::wstring method, std::wstring address, HttpTarget target, std::wstring headers,
                           std::string body, std::chrono::milliseconds idleTimeout, std::uint64_t mostBytes)
    : method_(std::move(method)),
      address_(std::move(address)),
      target_(std::move(target)),
      headers_(std::move(headers)),
      body_(std::move(body)),
      timeoutMs_(static_cast<DWORD>(std::clamp<long long>(idleTimeout.count(), 1, 0x7FFFFFFF))),
      mostBytes_(mostBytes),
      lastProgress_(Clock::now()) {}

HttpTransfer::Clock::time_point HttpTransfer::LastProgress() const {
  std::lock_guard lock(mutex_);
  return lastProgress_;
}

void HttpTransfer::Abandon() {
  std::lock_guard lock(mutex_);
  abandoned_ = true;
  // Outside a call the worker notices the flag by itself; a call that has only just begun
  // may not have looked up its handle yet, so it is left to its own time-out.
  if (inCall_ && request_ && Clock::now() - callStarted_ >= kCallSettled) request_.reset();
}

void HttpTransfer::Run() {
  try {
    Perform();
  } catch (const FetchError& error) {
    failure_ = error;
  } catch (const std::exception& error) {
    failure_ = FetchError(FetchErrorKind::Network, error.what());
  }
}

bool HttpTransfer::EnterCall() {
  std::lock_guard lock(mutex_);
  if (abandoned_) return false;
  inCall_ = true;
  callStarted_ = Clock::now();
  return true;
}

bool HttpTransfer::LeaveCall(bool progressed) {
  std::lock_guard lock(mutex_);
  inCall_ = false;
  if (progressed) lastProgress_ = Clock::now();
  return !abandoned_;
}

bool HttpTransfer::TimedOut(DWORD error) const {
  // A receive time-out may be reported as a dropped connection; a call that failed only after
  // blocking for about the idle time-out was ended by the time-out, whatever the code.
  // Only the worker writes callStarted_, so it may read it without the lock.
  const auto blocked = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - callStarted_);
  return error == ERROR_WINHTTP_TIMEOUT || blocked.count() >= static_cast<long long>(timeoutMs_) * 9 / 10;
}

void HttpTransfer::CloseRequest() {
  InternetHandle request;  // closed on the way out, once the lock is let go
  {
    std::lock_guard lock(mutex_);
    request = std::move(request_);
  }
}

void HttpTransfer::Fail(FetchErrorKind kind, const std::string& what, DWORD error) const {
  std::string message = WideToUtf8(method_) + " " + WideToUtf8(address_) + ": " + what;
  // Under a time-out WinHTTP's own code may name something else (see TimedOut).
  if (kind == FetchErrorKind::Timeout)
    message += ", nothing arrived for " + std::to_string(timeoutMs_) + " ms (error " + std::to_string(error) + ")";
  else if (error != 0)
    message += " (" + std::string(DescribeError(error)) + ", error " + std::to_string(error) + ")";
  throw FetchError(kind, message);
}

void HttpTransfer::FailTooLarge(const std::string& what) {
  // What was read so far is given back at once, not when the last holder lets the transfer go.
  std::string().swap(response_.body);
  Fail(FetchErrorKind::TooLarge, what + ", more than the " + std::to_string(mostBytes_) + " taken", 0);
}

void HttpTransfer::Perform() {
  const HINTERNET session = SharedInternetSession();
  if (!session) Fail(FetchErrorKind::Network, "cannot open an Internet session", GetLastError());
  std::wstring method = method_, headers = headers_;
  std::string_view body = body_;
  HttpTarget target = target_;
  for (int hop = 0;; ++hop) {
    std::optional<HttpTarget> next = PerformHop(session, method, target, headers, body, hop < kMostRedirects);
    if (!next) return;
    // As browsers do: after a 303, or a 301 or 302 answering a POST, the form is not sent
    // again, and the next request is a plain GET.
    const unsigned status = response_.status;
    if (status == 303 || ((status == 301 || status == 302) && method == L"POST")) {
      method = L"GET";
      headers.clear();
      body = {};
    }
    target = std::move(*next);
    response_ = HttpResponse{};
  }
}

std::optional<HttpTarget> HttpTransfer::PerformHop(HINTERNET session, const std::wstring& method,
                                                   const HttpTarget& target, const std::wstring& headers,
                                                   std::string_view body, bool mayRedirect) {
  InternetHandle connection(WinHttpConnect(session, target.host.c_str(), target.port, 0));
  if (!connection) Fail(FetchErrorKind::Network, "cannot reach the host", GetLastError());
  // Closing the connection handle also closes the request handle under it, freeing that
  // handle's value for reuse; so the request is closed first, however this hop ends.
  struct RequestCloser {
    HttpTransfer& transfer;
    ~RequestCloser() { transfer.CloseRequest(); }
  } closeRequestFirst{*this};

  const DWORD flags = kRequestFlags | (target.secure ? WINHTTP_FLAG_SECURE : 0);
  const HINTERNET request = WinHttpOpenRequest(connection.get(), method.c_str(), target.object.c_str(), nullptr,
                                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
  if (!request) Fail(FetchErrorKind::Network, "cannot make the request", GetLastError());
  {
    std::lock_guard lock(mutex_);
    request_.reset(request);
    if (abandoned_) return std::nullopt;
  }
  // WinHTTP's own time-outs end a blocked call by themselves, so that a worker whose
  // caller gave up does not stay blocked for ever.
  const int timeout = static_cast<int>(timeoutMs_);
  WinHttpSetTimeouts(request, timeout, timeout, timeout, timeout);
  DWORD disabled = kDisabledFeatures;
  WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &disabled, sizeof(disabled));

  std::wstring allHeaders = headers;
  if (const std::string cookies = SessionCookieHeader(target.host, target.object, target.secure); !cookies.empty())
    allHeaders += L"Cookie: " + Utf8ToWide(cookies) + L"\r\n";

  if (!EnterCall()) return std::nullopt;
  const auto bodySize = static_cast<DWORD>(body.size());
  const BOOL sent =
      WinHttpSendRequest(request, allHeaders.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : allHeaders.c_str(),
                         static_cast<DWORD>(allHeaders.size()),
                         body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data()), bodySize, bodySize,
                         0) &&
      WinHttpReceiveResponse(request, nullptr);
  const DWORD sendError = sent ? 0 : GetLastError();
  if (!LeaveCall(sent != FALSE)) return std::nullopt;
  if (!sent) Fail(TimedOut(sendError) ? FetchErrorKind::Timeout : FetchErrorKind::Network, "no response", sendError);

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                          &status, &size, WINHTTP_NO_HEADER_INDEX))
    response_.status = status;
  // Every answer's cookies are kept, a redirect's too: a sign-in often sets its cookie on
  // the redirect that follows it.
  for (const std::string& setCookie : SetCookieHeaders(request))
    TakeSessionCookie(setCookie, target.host, target.object, target.secure);

  if (mayRedirect && IsRedirect(status)) {
    if (auto next = RedirectTarget(request, target)) return next;
  }

  if (const std::optional<std::wstring> length = QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH, nullptr))
    response_.contentLength = ParseLength(length->c_str());
  if (response_.contentLength && *response_.contentLength > mostBytes_)
    FailTooLarge("the answer announces " + std::to_string(*response_.contentLength) + " bytes");

  ReadBody(request);
  return std::nullopt;
}

void HttpTransfer::ReadBody(HINTERNET request) {
  std::string& body = response_.body;
  if (response_.contentLength) body.reserve(static_cast<size_t>(*response_.contentLength));
  for (;;) {
    // Blocks until some of the body is there (or it has ended), then takes just that: a
    // read of a fixed size would wait for the whole size before reporting any progress.
    DWORD available = 0;
    if (!EnterCall()) return;
    BOOL ok = WinHttpQueryDataAvailable(request, &available);
    DWORD error = ok ? 0 : GetLastError();
    if (!LeaveCall(ok && available > 0)) return;
    DWORD got = 0;
    if (ok && available > 0) {
      const size_t had = body.size();
      // Reading one byte past the most an answer may hold is enough to tell that it holds more.
      const DWORD want = static_cast<DWORD>(
          std::min<std::uint64_t>({available, kLargestRead, mostBytes_ + 1 - static_cast<std::uint64_t>(had)}));
      // Grown by doubling as a string would, but never past the one byte over the most, so that
      // a body cut at the cap has not held twice the cap on the way.
      if (body.capacity() < had + want)
        body.reserve(static_cast<size_t>(std::min<std::uint64_t>(std::max<size_t>(body.capacity() * 2, had + want), mostBytes_ + 1)));
      body.resize(had + want);
      if (!EnterCall()) return;
      ok = WinHttpReadData(request, body.data() + had, want, &got);
      error = ok ? 0 : GetLastError();
      if (!LeaveCall(ok && got > 0)) return;
      body.resize(had + (ok ? got : 0));
      if (body.size() > mostBytes_) FailTooLarge("the body ran on past " + std::to_string(mostBytes_) + " bytes");
    }
    if (!ok) {
      // A stalled body is a time-out like a stalled connection; any other failure leaves a
      // response that is simply not complete.
      if (TimedOut(error)) Fail(FetchErrorKind::Timeout, "the body stalled", error);
      return;
    }
    if (got == 0) break;
  }
  response_.complete = !response_.contentLength || body.size() == *response_.contentLength;
}

}  // namespace lumadex
