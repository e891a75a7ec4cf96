#include "support/form_harness_win32.h"

#include <atomic>
#include <map>

namespace lumadex::test {
namespace {

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto& actions = PendingActions();
  const auto it = actions.find(id);
  if (it == actions.end()) return;
  std::function<void()> action = std::move(it->second);
  actions.erase(it);
  action();
}

std::wstring NewTestFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"lumadex-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++);
  DeleteTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

std::wstring TestSiteHost() {
  wchar_t value[256] = {};
  const DWORD length = GetEnvironmentVariableW(L"LUMADEX_TEST_SITE", value, 256);
  return length > 0 && length < 256 ? std::wstring(value, length) : std::wstring(L"127.0.0.1:18080");
}

namespace {

// `path` is in its "\\?\" form, so that folders beyond MAX_PATH go as well. Links to folders are
// removed, never followed.
void DeleteLongTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveDirectoryW(child.c_str());
      } else {
        DeleteLongTree(child);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

// Only absolute folders below a drive's root; the shell's own delete is not used, since it cuts
// long paths short and then deletes from the wrong folder.
void DeleteTree(const std::wstring& folder) {
  const bool absolute = folder.size() > 3 && folder[1] == L':' && folder[2] == L'\\';
  if (!absolute || folder.find(L"\\..") != std::wstring::npos) return;
  const std::wstring path = L"\\\\?\\" + folder;
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  DeleteLongTree(path);
}

FormHarness::FormHarness(std::optional<std::string> settings, const std::wstring& host)
    : folder_(NewTestFolder()), host_(host.empty() ? TestSiteHost() : host) {
  if (settings) WriteBytes(SettingsFile(), *settings);
  form_ = StartAnother();
}

FormHarness::~FormHarness() {
  form_.reset();
  Pump(std::chrono::milliseconds(10));
  DeleteTree(folder_);
}

MainFormOptions FormHarness::Options() const { return {SiteHosts::AllOn(host_), SettingsFile()}; }

std::unique_ptr<MainForm> FormHarness::StartAnother() const {
  auto form = std::make_unique<MainForm>(GetModuleHandleW(nullptr), Options());
  if (!form->Create(SW_SHOWNORMAL, /*quitOnDestroy=*/false)) return nullptr;
  SetForegroundWindow(form->hwnd());
  Pump(std::chrono::milliseconds(50));
  return form;
}

std::wstring FormHarness::MakeFolder(const std::wstring& name) {
  const std::wstring path = folder_ + L"\\" + name;
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

std::string FormHarness::ReadFile(const std::wstring& name) const {
  const std::wstring path = name.find(L'\\') == std::wstring::npos ? folder_ + L"\\" + name : name;
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

void FormHarness::Type(const wchar_t* control, const std::wstring& characters) {
  for (wchar_t ch : characters) SendMessageW(form_->Control(control), WM_CHAR, ch, 1);
}

bool FormHarness::SignIn(const std::wstring& email, const std::wstring& password) {
  form_->SetText(L"email", email);
  form_->SetText(L"password", password);
  form_->NBtnLogin().Click();
  return form_->Text(L"LoginInfo") == L"登录成功，请配置相册信息";
}

std::wstring FormHarness::PrepareDownload(int album) {
  if (!SignIn()) return {};
  const std::wstring photos = MakeFolder(L"photos");
  form_->SetText(L"albumURLTxt",
                 L"http://" + host_ + L"/getalbum.do?id=" + std::to_wstring(album) + L"&owner=222300001");
  form_->SetText(L"DirPathTxt", photos);
  return photos;
}

void FormHarness::DuringARun(std::function<void()> during) {
  RunSoon(std::chrono::milliseconds(300), [this, during = std::move(during)] {
    during();
    if (form_->Run().Downloading()) form_->NBtnDown().Click();
  });
  form_->NBtnDown().Click();
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const size_t size = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size)) {
    memcpy(GlobalLock(memory), text.c_str(), size);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it has taken it.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

MessageWindow::MessageWindow(std::function<void(UINT, WPARAM)> onMessage) : onMessage_(std::move(onMessage)) {
  CreateWindowFor(WindowClass{L"LumadexTestMessageWindow"}, 0, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                  nullptr);
}

LRESULT MessageWindow::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
  if (message != WM_TIMER && message < WM_APP) return DefaultHandling(message, wp, lp);
  onMessage_(message, wp);
  return 0;
}

void Pump(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limit.count());
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)),
                              QS_ALLINPUT);
  }
}

void RunSoon(std::chrono::milliseconds delay, std::function<void()> action) {
  const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), RunPendingAction);
  PendingActions()[id] = std::move(action);
}

std::set<std::wstring> FilesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

}  // namespace lumadex::test
