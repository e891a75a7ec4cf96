// The download run's pages and photos over the program's HTTP fetch, and its photos saved as
// files. The walk's requests go out side by side, each from a worker thread of the pool; the
// run waits for them on the window's thread, handling the window's messages meanwhile.
#pragma once
#include <deque>
#include <memory>
#include <vector>

#include "app/download_run.h"
#include "services/get_html_win32.h"

namespace lumadex {

class SiteOverHttp final : public RunSite {
 public:
  std::optional<std::wstring> FetchPage(const std::wstring& address) override;
  void Ask(const RunRequest& request) override;
  std::optional<RunAnswer> NextAnswer() override;
  void AbandonAll() override;
  bool WritePhoto(const std::wstring& path, std::string_view bytes) override;
  bool FolderAcceptsFiles(const std::wstring& folder) override;

 private:
  struct Out {
    RequestId id;
    RequestKind kind;
    std::unique_ptr<SentRequest> request;
  };
  // The answer of a request whose done() was seen set.
  static RunAnswer Answered(Out& out);

  std::vector<Out> out_;
  // Answers known without waiting: requests that could not be sent, timed out or were cut
  // short by the program's end.
  std::deque<RunAnswer> ready_;
};

}  // namespace lumadex
