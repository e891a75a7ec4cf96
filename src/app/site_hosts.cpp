#include "app/site_hosts.h"

#include "lumadex/site_config.h"

namespace lumadex {
namespace {

// The build settings are plain ASCII (checked when the build is configured).
std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

}  // namespace

SiteHosts SiteHosts::Built() {
  return {Widen(build::kLoginHost), Widen(build::kMainHost), Widen(build::kPhotoHost), Widen(build::kProfileId)};
}

SiteHosts SiteHosts::AllOn(const std::wstring& host) { return {host, host, host, Widen(build::kProfileId)}; }

}  // namespace lumadex
