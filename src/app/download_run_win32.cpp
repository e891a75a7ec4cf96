#include "app/download_run_win32.h"

#include <chrono>

#include "app/photo_file_win32.h"
#include "services/get_html_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

constexpr auto kPhotoTimeout = std::chrono::seconds(20);

}  // namespace

std::optional<std::wstring> SiteOverHttp::FetchPage(const std::wstring& address) {
  try {
    return FetchText(address, "UTF-8");
  } catch (const FetchError&) {
    // The run tells the user with its fixed failure text; what went wrong is told here.
    ReportCallbackFailure(L"a page of the download run");
    return std::nullopt;
  }
}

std::optional<std::string> SiteOverHttp::FetchPhoto(const std::wstring& address) {
  try {
    HttpResponse response = HttpRequest(L"GET", address, L"", {}, kPhotoTimeout);
    // An error page, a cut-off body or nothing at all is no photo.
    const bool good = response.status >= 200 && response.status < 300 && response.complete && !response.body.empty();
    if (good) return std::move(response.body);
  } catch (const FetchError&) {
    ReportCallbackFailure(L"a photo of the download run");
  }
  return std::nullopt;
}

bool SiteOverHttp::WritePhoto(const std::wstring& path, std::string_view bytes) { return WritePhotoFile(path, bytes); }

bool SiteOverHttp::FolderAcceptsFiles(const std::wstring& folder) { return lumadex::FolderAcceptsFiles(folder); }

}  // namespace lumadex
