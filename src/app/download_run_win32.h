// The download run's pages and photos over the program's HTTP fetch, and its photos saved as
// files. The fetches wait as FetchText does, handling the window's messages meanwhile.
#pragma once
#include "app/download_run.h"

namespace lumadex {

class SiteOverHttp final : public RunSite {
 public:
  std::optional<std::wstring> FetchPage(const std::wstring& address) override;
  std::optional<std::string> FetchPhoto(const std::wstring& address) override;
  bool WritePhoto(const std::wstring& path, std::string_view bytes) override;
  bool FolderAcceptsFiles(const std::wstring& folder) override;
};

}  // namespace lumadex
