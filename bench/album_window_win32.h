// The real main window of a benchmark or soak run: signed in to the demo site with the demo
// account, with an album's address and a save folder filled in, ready for 下 载.
#pragma once
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_form_win32.h"

namespace lumadex::bench {

// nullptr, with a line on stderr, when the sign-in fails. The settings file goes beside the
// save folder, not into whatever folder the run was started from.
inline std::unique_ptr<MainForm> AlbumWindow(const std::wstring& host, const std::wstring& album,
                                             const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  auto form = std::make_unique<MainForm>(
      GetModuleHandleW(nullptr),
      MainFormOptions{SiteHosts::AllOn(host), std::filesystem::path(folder).parent_path() / L"Lumadex.ini"});
  form->Create(SW_SHOWNORMAL, false);
  form->SetText(L"email", L"demo@example.com");
  form->SetText(L"password", L"demo");
  form->NBtnLogin().Click();
  if (form->Text(L"LoginInfo") != L"登录成功，请配置相册信息") {
    std::fprintf(stderr, "sign-in failed\n");
    return nullptr;
  }
  form->SetText(L"albumURLTxt", L"http://" + host + L"/getalbum.do?id=" + album + L"&owner=222300001");
  form->SetText(L"DirPathTxt", folder);
  return form;
}

}  // namespace lumadex::bench
