// lumadex_second_copy HOST ALBUM FOLDER SETTINGS REMEMBER SIGN-INS EVENT: another copy of the
// program for the tests, in a process of its own. Once the named event is set it opens the
// real main window on SETTINGS SIGN-INS times, signing in with the demo account each time
// (remembering it when REMEMBER is 1), and in the last window downloads the whole album ALBUM
// into FOLDER under counted names. Exit status 0 when every photo was saved; 2 when a sign-in
// failed; 3 when the run lost photos; 4 for bad arguments or no event.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/main_form_win32.h"
#include "app/program_start_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace {

using lumadex::MainForm;

std::unique_ptr<MainForm> SignedInWindow(const std::wstring& host, const std::wstring& settings, bool remember) {
  auto form = std::make_unique<MainForm>(GetModuleHandleW(nullptr),
                                         lumadex::MainFormOptions{lumadex::SiteHosts::AllOn(host), settings});
  if (!form->Create(SW_SHOWNORMAL, false)) return nullptr;
  form->SetText(L"email", L"demo@example.com");
  form->SetText(L"password", L"demo");
  SendMessageW(form->Control(L"CheckUser"), BM_SETCHECK, remember ? BST_CHECKED : BST_UNCHECKED, 0);
  form->NBtnLogin().Click();
  if (form->Text(L"LoginInfo") != L"登录成功，请配置相册信息") return nullptr;
  return form;
}

int Run(int argc, wchar_t** argv) {
  if (argc != 8) return 4;
  const std::wstring host = argv[1], album = argv[2], folder = argv[3], settings = argv[4];
  const bool remember = std::wstring(argv[5]) == L"1";
  const int signIns = _wtoi(argv[6]);
  const lumadex::KernelObject go(OpenEventW(SYNCHRONIZE, FALSE, argv[7]));
  if (!go || signIns < 1 || WaitForSingleObject(go.get(), 30000) != WAIT_OBJECT_0) return 4;
  std::unique_ptr<MainForm> form;
  for (int i = 0; i < signIns; ++i) {
    form.reset();
    form = SignedInWindow(host, settings, remember);
    if (!form) {
      std::fprintf(stderr, "sign-in %d failed\n", i + 1);
      return 2;
    }
  }
  form->SetText(L"albumURLTxt", L"http://" + host + L"/getalbum.do?id=" + album + L"&owner=222300001");
  form->SetText(L"DirPathTxt", folder);
  SendMessageW(form->Control(L"AblumUpName"), BM_CLICK, 0, 0);
  form->NBtnDown().Click();
  const auto& run = form->Run();
  std::fprintf(stderr, "saved %d of %d, failed %d\n", run.SavedPhotos(), run.TotalPhotos(), run.FailedPhotos());
  return run.TotalPhotos() > 0 && run.SavedPhotos() == run.TotalPhotos() ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return lumadex::RunProgramThread([&] { return Run(argc, argv); });
}
