#include "services/get_html_win32.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>

#include "services/ansi_win32.h"
#include "services/charset.h"
#include "services/http_session_win32.h"
#include "services/http_transfer_win32.h"
#include "services/message_wait_win32.h"
#include "services/worker_pool_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;

// WinHTTP's own time-outs normally end a stalled request first; the UI side waits this
// much longer before it gives up on the worker by itself.
std::chrono::milliseconds GraceAfter(std::chrono::milliseconds idleTimeout) {
  return std::clamp<std::chrono::milliseconds>(idleTimeout / 2, 250ms, 5s);
}

// A system without a code page (Wine has no GB18030 or EUC-KR tables) decodes with the
// nearest one it has: GBK holds GB18030's one- and two-byte characters, which are nearly
// all a page uses, and UHC (949) holds the whole of EUC-KR.
unsigned InstalledCodePage(unsigned codePage) {
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be || IsValidCodePage(codePage)) return codePage;
  if (codePage == 54936 && IsValidCodePage(936)) return 936;
  if (codePage == 51949 && IsValidCodePage(949)) return 949;
  return 0;
}

unsigned CodePageOrThrow(std::string_view charset) {
  const auto named = CodePageForCharset(charset);
  if (!named) throw FetchError(FetchErrorKind::Charset, "unknown character set \"" + std::string(charset) + "\"");
  const unsigned codePage = InstalledCodePage(*named);
  if (codePage == 0)
    throw FetchError(FetchErrorKind::Charset, "character set \"" + std::string(charset) + "\" (code page " +
                                                  std::to_string(*named) + ") is not installed");
  return codePage;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  // A byte-order mark outranks the name: "UTF-16" pages are written either way round.
  if (bytes.size() >= 2) {
    const auto first = static_cast<unsigned char>(bytes[0]), second = static_cast<unsigned char>(bytes[1]);
    if (first == 0xFF && second == 0xFE) {
      bigEndian = false;
      bytes.remove_prefix(2);
    } else if (first == 0xFE && second == 0xFF) {
      bigEndian = true;
      bytes.remove_prefix(2);
    }
  }
  std::wstring text;
  text.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    const auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    text.push_back(static_cast<wchar_t>(high << 8 | low));
  }
  if (bytes.size() % 2 != 0) text.push_back(L'\uFFFD');  // a body cut off mid-character
  return text;
}

std::wstring Decode(std::string_view bytes, unsigned codePage) {
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be)
    return DecodeUtf16(bytes, codePage == kCodePageUtf16Be);
  if (codePage == CP_UTF8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
  return text;
}

}  // namespace

std::wstring BytesToText(std::string_view bytes, std::string_view charset) {
  return Decode(bytes, CodePageOrThrow(charset));
}

namespace {

struct Exchanged {
  HttpResponse response;
  std::wstring text;  // the body decoded, when asked for
};

// Sends the request and waits for it alone, dispatching messages.
Exchanged Exchange(const std::wstring& method, const std::wstring& address, const std::wstring& headers,
                   std::string_view body, std::chrono::milliseconds idleTimeout,
                   std::optional<std::string_view> charset) {
  SentRequest request(method, address, headers, body, idleTimeout, kMostPageBytes, charset);
  switch (WaitDispatchingMessages(request.done(), [&] { return request.GiveUpAt(); })) {
    case WaitOutcome::Signalled:
      break;
    case WaitOutcome::Expired:
      throw request.Abandon(FetchErrorKind::Timeout);
    case WaitOutcome::Quit:
      throw request.Abandon(FetchErrorKind::Cancelled);
  }
  HttpResponse response = request.Finish();
  return {std::move(response), std::move(request.text())};
}

}  // namespace

SentRequest::SentRequest(const std::wstring& method, const std::wstring& address, const std::wstring& headers,
                         std::string_view body, std::chrono::milliseconds idleTimeout, std::uint64_t mostBytes,
                         std::optional<std::string_view> charset)
    : method_(method), address_(address), idleTimeout_(std::max(idleTimeout, std::chrono::milliseconds(1))) {
  const std::optional<unsigned> codePage = charset ? std::optional(CodePageOrThrow(*charset)) : std::nullopt;
  auto target = SplitHttpAddress(address);
  if (!target) throw FetchError(FetchErrorKind::Network, "not an http address: " + WideToUtf8(address));
  transfer_ = std::make_shared<HttpTransfer>(method, address, std::move(*target), headers, std::string(body),
                                             idleTimeout_, mostBytes);
  text_ = std::make_shared<std::wstring>();
  try {
    worker_ = std::make_unique<WorkerLease>();
    // The work holds what it touches itself: the request may be abandoned while it runs.
    worker_->Start([transfer = transfer_, text = text_, codePage] {
      transfer->Run();
      if (codePage && !transfer->failure() && transfer->response().complete)
        *text = Decode(transfer->response().body, *codePage);
    });
  } catch (const std::system_error& error) {
    finished_ = true;
    throw FetchError(FetchErrorKind::Network, "cannot start the request: " + std::string(error.what()));
  }
}

SentRequest::~SentRequest() {
  if (!finished_) transfer_->Abandon();
}

HANDLE SentRequest::done() const { return worker_->done(); }

SentRequest::Clock::time_point SentRequest::GiveUpAt() const {
  return transfer_->LastProgress() + idleTimeout_ + GraceAfter(idleTimeout_);
}

HttpResponse SentRequest::Finish() {
  finished_ = true;
  worker_->WaitSucceeded();
  if (transfer_->failure()) throw *transfer_->failure();
  return std::move(transfer_->response());
}

FetchError SentRequest::Abandon(FetchErrorKind kind) {
  finished_ = true;
  transfer_->Abandon();
  const std::string request = WideToUtf8(method_) + " " + WideToUtf8(address_);
  if (kind == FetchErrorKind::Timeout)
    return FetchError(kind, request + ": nothing arrived for " + std::to_string(idleTimeout_.count()) + " ms");
  return FetchError(kind, request + ": the program is closing");
}

std::wstring FetchText(const std::wstring& address, std::string_view charset,
                       std::chrono::milliseconds idleTimeout) {
  Exchanged exchanged = Exchange(L"GET", address, L"", {}, idleTimeout, charset);
  if (!exchanged.response.complete)
    throw FetchError(FetchErrorKind::Network, "GET " + WideToUtf8(address) + ": the connection ended after " +
                                                  std::to_string(exchanged.response.body.size()) +
                                                  " bytes of the page");
  return std::move(exchanged.text);
}

HttpResponse HttpRequest(const std::wstring& method, const std::wstring& address, const std::wstring& headers,
                         std::string_view body, std::chrono::milliseconds idleTimeout) {
  return Exchange(method, address, headers, body, idleTimeout, std::nullopt).response;
}

void ForgetCookies() { ForgetInternetCookies(); }

}  // namespace lumadex
