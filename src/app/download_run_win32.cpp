#include "app/download_run_win32.h"

#include <algorithm>
#include <chrono>

#include "app/photo_file_win32.h"
#include "services/message_wait_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

constexpr auto kPhotoTimeout = std::chrono::seconds(20);
constexpr auto kPageTimeout = std::chrono::seconds(60);

// The run tells the user with its fixed texts; what went wrong is told here.
void Report(const FetchError& error, RequestKind kind) {
  try {
    throw error;
  } catch (const FetchError&) {
    ReportCallbackFailure(kind == RequestKind::Photo ? L"a photo of the download run" : L"a page of the download run");
  }
}

}  // namespace

std::optional<std::wstring> SiteOverHttp::FetchPage(const std::wstring& address) {
  try {
    return FetchText(address, "UTF-8");
  } catch (const FetchError& error) {
    Report(error, RequestKind::AlbumPage);
    return std::nullopt;
  }
}

void SiteOverHttp::Ask(const RunRequest& request) {
  const bool photo = request.kind == RequestKind::Photo;
  try {
    out_.push_back({request.id, request.kind,
                    std::make_unique<SentRequest>(L"GET", request.address, L"", std::string_view{},
                                                  photo ? kPhotoTimeout : kPageTimeout,
                                                  photo ? kMostPhotoBytes : kMostPageBytes,
                                                  photo ? std::nullopt : std::optional<std::string_view>("UTF-8"))});
  } catch (const FetchError& error) {
    Report(error, request.kind);
    ready_.push_back({request.id, request.kind, {}, {}});
  }
}

RunAnswer SiteOverHttp::Answered(Out& out) {
  RunAnswer answer{out.id, out.kind, {}, {}};
  try {
    HttpResponse response = out.request->Finish();
    if (out.kind == RequestKind::Photo) {
      // An error page, a cut-off body or nothing at all is no photo.
      const bool good =
          response.status >= 200 && response.status < 300 && response.complete && !response.body.empty();
      if (good) answer.bytes = std::move(response.body);
    } else if (response.complete) {
      answer.text = std::move(out.request->text());
    } else {
      throw FetchError(FetchErrorKind::Network, "a page ended after " + std::to_string(response.body.size()) + " bytes");
    }
  } catch (const FetchError& error) {
    Report(error, out.kind);
  }
  return answer;
}

std::optional<RunAnswer> SiteOverHttp::NextAnswer() {
  if (ready_.empty() && !out_.empty()) {
    std::vector<HANDLE> events;
    auto giveUpAt = SentRequest::Clock::time_point::max();
    for (const Out& out : out_) {
      events.push_back(out.request->done());
      giveUpAt = std::min(giveUpAt, out.request->GiveUpAt());
    }
    const std::optional<AnyWait> waited = WaitForAnyOnce(events, giveUpAt);
    if (!waited) return std::nullopt;
    switch (waited->outcome) {
      case WaitOutcome::Signalled:
        ready_.push_back(Answered(out_[waited->index]));
        out_.erase(out_.begin() + static_cast<std::ptrdiff_t>(waited->index));
        break;
      case WaitOutcome::Expired:
      case WaitOutcome::Quit: {
        // A time-out costs the requests it struck; the program's end, all of them.
        const auto now = SentRequest::Clock::now();
        const bool quit = waited->outcome == WaitOutcome::Quit;
        std::erase_if(out_, [&](Out& out) {
          if (!quit && out.request->GiveUpAt() > now) return false;
          Report(out.request->Abandon(quit ? FetchErrorKind::Cancelled : FetchErrorKind::Timeout), out.kind);
          ready_.push_back({out.id, out.kind, {}, {}});
          return true;
        });
        break;
      }
    }
  }
  if (ready_.empty()) return std::nullopt;
  RunAnswer answer = std::move(ready_.front());
  ready_.pop_front();
  return answer;
}

void SiteOverHttp::AbandonAll() {
  out_.clear();
  ready_.clear();
}

bool SiteOverHttp::WritePhoto(const std::wstring& path, std::string_view bytes) { return WritePhotoFile(path, bytes); }

bool SiteOverHttp::FolderAcceptsFiles(const std::wstring& folder) { return lumadex::FolderAcceptsFiles(folder); }

}  // namespace lumadex
