#include "services/dir_path_win32.h"

#include <gtest/gtest.h>

#include "support/owner_window_win32.h"
#include <shlobj.h>
#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>

namespace lumadex {
namespace {

namespace fs = std::filesystem;

using test::OwnerWindow;

// Plays the user of the folder dialog: from inside the dialog's own message loop (a thread
// timer), finds the dialog owned by `owner` and hands it to `act`. Gives up after ten seconds,
// closing any dialog of the thread so that the test ends.
class DialogDriver {
 public:
  DialogDriver(HWND owner, std::function<void(HWND)> act) : owner_(owner), act_(std::move(act)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
  }
  ~DialogDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  bool found() const { return found_; }
  const std::wstring& texts() const { return texts_; }

 private:
  static constexpr int kGiveUpTicks = 200;

  struct Search {
    HWND owner;
    HWND dialog;
  };

  // Window-enumeration callbacks are stdcall on 32-bit Windows, which lambdas cannot be.
  static BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770") return TRUE;
    if (search->owner != nullptr && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->dialog = window;
    return FALSE;
  }

  static BOOL CALLBACK CollectText(HWND child, LPARAM data) {
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    *reinterpret_cast<std::wstring*>(data) += std::wstring(text) + L"\n";
    return TRUE;
  }

  static HWND FindDialog(HWND owner) {
    Search search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialog;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* self = current_;
    if (self == nullptr || self->done_) return;
    if (const HWND dialog = FindDialog(self->owner_)) {
      self->done_ = self->found_ = true;
      EnumChildWindows(dialog, &CollectText, reinterpret_cast<LPARAM>(&self->texts_));
      self->act_(dialog);
    } else if (++self->ticks_ > kGiveUpTicks) {
      self->done_ = true;
      if (const HWND stray = FindDialog(nullptr)) PostMessageW(stray, WM_COMMAND, IDCANCEL, 0);
    }
  }

  static inline DialogDriver* current_ = nullptr;
  HWND owner_;
  std::function<void(HWND)> act_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  bool done_ = false;
  bool found_ = false;
  std::wstring texts_;
};

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

std::wstring SelectedTreeText(HWND dialog) {
  HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
  if (!tree) return {};
  TVITEMW item{};
  wchar_t text[MAX_PATH] = {};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return text;
}

// Selects a folder the way the dialog's callback would, then presses OK. The dialog fills its
// tree while it opens (slowly on a fresh system), so the selection is repeated until it holds.
void Choose(HWND dialog, const fs::path& folder) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    if (SelectedTreeText(dialog) == folder.filename().wstring()) break;
    const DWORD until = GetTickCount() + 50;
    MSG msg;
    while (GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(5);
    }
  }
  Press(dialog, IDOK);
}

class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name) : path_(fs::temp_directory_path() / name) {
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(BrowseForFolder, CancelGivesAnEmptyPath) {
  OwnerWindow owner;
  DialogDriver driver(owner.get(), [](HWND dialog) { Press(dialog, IDCANCEL); });
  const std::wstring prompt = L"\u9009\u62e9\u4fdd\u5b58\u76ee\u5f55";  // 选择保存目录
  EXPECT_EQ(BrowseForFolder(owner.get(), prompt), L"");
  ASSERT_TRUE(driver.found()) << "no folder dialog owned by the window appeared";
  // The prompt is shown in the dialog, Chinese and all.
  EXPECT_NE(driver.texts().find(prompt), std::wstring::npos);
}

TEST(BrowseForFolder, ChosenFolderComesBackWhole) {
  // A name outside the ANSI code page as well as a Chinese one.
  const TempFolder folder(L"lumadex-\u76f8\u518c-\u00e9\u0e01");
  OwnerWindow owner;
  DialogDriver driver(owner.get(), [&](HWND dialog) { Choose(dialog, folder.path()); });
  const std::wstring chosen = BrowseForFolder(owner.get(), L"Save to");
  ASSERT_TRUE(driver.found());
  ASSERT_FALSE(chosen.empty());
  std::error_code error;
  const std::u8string shown = fs::path(chosen).u8string();
  EXPECT_TRUE(fs::equivalent(chosen, folder.path(), error)) << std::string(shown.begin(), shown.end());
}

TEST(BrowseForFolder, ItemsThatAreNoFolderOnADiskGiveAnEmptyPath) {
  OwnerWindow owner;
  DialogDriver driver(owner.get(), [](HWND dialog) {
    PIDLIST_ABSOLUTE computer = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
      SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
      CoTaskMemFree(computer);
    }
    // OK is greyed out for such items; the message goes around that.
    Press(dialog, IDOK);
  });
  EXPECT_EQ(BrowseForFolder(owner.get(), L"Save to"), L"");
  EXPECT_TRUE(driver.found());
}

}  // namespace
}  // namespace lumadex
