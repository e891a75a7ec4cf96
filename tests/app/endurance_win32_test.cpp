// The world breaking while the real window works: the site dying or restarting, the save folder
// going away or refusing files, the disk filling up, the settings file held by someone else, and
// a second copy of the program in the same folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "app/download_run.h"
#include "app/ui_texts.h"
#include "services/ansi_win32.h"
#include "services/get_html_win32.h"
#include "support/form_harness_win32.h"
#include "support/process_memory_win32.h"
#include "support/site_client_win32.h"
#include "support/tcp_relay_win32.h"
#include "support/tray_recorder_win32.h"
#include "support/unix_shell_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;

// The run's longest wait (a page); a run that outlasts it after a break has hung.
constexpr auto kLongestWait = 65s;

using test::FilesIn;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Asks the window from another thread, as the system does to tell a hung window, until it goes;
// keeps the longest time the window took to answer.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window)
      : thread_([this, window] {
          while (!over_) {
            const ULONGLONG asked = GetTickCount64();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            longest_ = std::max(longest_.load(), GetTickCount64() - asked);
            Sleep(20);
          }
        }) {}
  ~AnswerWatch() {
    over_ = true;
    thread_.join();
  }
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;
  std::chrono::milliseconds Longest() const { return std::chrono::milliseconds(longest_.load()); }

 private:
  std::atomic<bool> over_{false};
  std::atomic<ULONGLONG> longest_{0};
  std::thread thread_;
};

// A folder that refuses new files until this goes. Root ignores Unix permissions, so as root the
// folder is made immutable (chattr +i), which stops creating, renaming and deleting names in it
// for everyone; otherwise its write bits are taken away. Wine's read-only attribute on a folder
// stops nothing.
class FolderLock {
 public:
  explicit FolderLock(const std::wstring& folder) : unix_(test::ShellQuoted(test::UnixPathOf(folder))) {}
  ~FolderLock() { Unlock(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Lock() {
    locked_ = test::RunShell("chattr +i " + unix_ + " || chmod a-w " + unix_) == 0;
    return locked_;
  }
  void Unlock() {
    if (locked_) test::RunShell("chattr -i " + unix_ + "; chmod u+w " + unix_);
    locked_ = false;
  }

 private:
  std::string unix_;
  bool locked_ = false;
};

// A filesystem of `size` mounted on an empty folder, for as long as this lives.
class SmallDisk {
 public:
  SmallDisk(const std::wstring& folder, const char* size) : unix_(test::ShellQuoted(test::UnixPathOf(folder))) {
    mounted_ = test::RunShell(std::string("mount -t tmpfs -o size=") + size + " lumadex-test " + unix_) == 0;
  }
  ~SmallDisk() {
    if (mounted_) test::RunShell("umount " + unix_ + " || umount -l " + unix_);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string unix_;
  bool mounted_ = false;
};

// A signed-in window with an album and a fresh save folder filled in, photos named by their
// number in the album, and what is needed to judge what a break left behind.
class Endurance : public testing::Test {
 protected:
  // `host`: where the window finds the site; empty: the test site.
  void Start(const std::string& extraConfig, int album, const std::wstring& host = L"") {
    test::SiteConfigure("demo\n" + extraConfig);
    album_ = album;
    h_ = std::make_unique<FormHarness>(std::nullopt, host);
    photos_ = h_->PrepareDownload(album);
    ASSERT_FALSE(photos_.empty());
    SendMessageW(h_->control(L"AblumUpName"), BM_CLICK, 0, 0);
    tray_.reset();
    tray_ = std::make_unique<test::TrayRecorder>();
  }
  MainForm& form() { return h_->form(); }
  const DownloadRun& run() { return h_->form().Run(); }
  std::wstring Status() { return form().Text(L"DownInfo"); }

  // Presses 下 载 and runs `breakIt` once `saved` photos are saved, watching the window answer
  // meanwhile. Returns the photos there were at the break, with their bytes.
  std::map<std::wstring, std::string> RunAndBreakAfter(int saved, const std::function<void()>& breakIt) {
    std::map<std::wstring, std::string> before;
    ULONGLONG brokenAt = 0;
    bool over = false;
    std::function<void()> look = [&] {
      if (over) return;
      if (run().SavedPhotos() < saved) {
        test::RunSoon(10ms, look);
        return;
      }
      for (const std::wstring& name : FilesIn(photos_)) before[name] = h_->ReadFile(photos_ + L"\\" + name);
      breakIt();
      brokenAt = GetTickCount64();
    };
    test::RunSoon(10ms, look);
    {
      AnswerWatch watch(form().hwnd());
      form().NBtnDown().Click();
      EXPECT_LT(watch.Longest(), 5s) << "the window stopped answering";
    }
    over = true;
    test::Pump(30ms);  // the last look, before what it refers to goes
    EXPECT_NE(brokenAt, 0u) << "the run ended before the break";
    EXPECT_LT(std::chrono::milliseconds(GetTickCount64() - brokenAt), kLongestWait);
    EXPECT_EQ(run().State(), RunState::Idle);
    return before;
  }

  void ExpectEnding(RunEnding ending) {
    bool failureShown = false;
    for (const test::TrayCall& call : tray_->calls())
      failureShown |= call.record.uFlags == NIF_INFO && AnsiToWide(call.info()) == texts::kBalloonFailed;
    EXPECT_EQ(failureShown, ending == RunEnding::Failed);
    EXPECT_EQ(Status(), ending == RunEnding::Failed ? std::wstring(texts::kRunFailed)
                                                    : texts::RunEnded(run().SavedPhotos(), run().FailedPhotos()));
    EXPECT_EQ(form().NBtnDown().Caption(), std::wstring(texts::kDownloadCaption));
  }
  // Every file in the folder is a photo the run counted as saved, byte for byte the site's, and
  // nothing half written is left there or beside it.
  void ExpectOnlyWholePhotos(const std::wstring& folder, int savedCount) {
    const std::set<std::wstring> files = FilesIn(folder);
    EXPECT_EQ(files.size(), static_cast<size_t>(savedCount));
    for (const std::wstring& name : files) {
      SCOPED_TRACE(name);
      const int n = _wtoi(name.c_str());
      ASSERT_EQ(name, std::to_wstring(n) + L".jpg");
      // Compared whole, without printing a photo's bytes when they differ.
      EXPECT_TRUE(h_->ReadFile(folder + L"\\" + name) == test::SitePhotoBytes(album_, n));
    }
    ExpectNoTemporaryFile();
  }
  void ExpectNoTemporaryFile() {
    for (const std::wstring& folder : {photos_, h_->folder()}) {
      for (const std::wstring& name : FilesIn(folder)) EXPECT_FALSE(name.ends_with(L".tmp")) << name;
    }
  }
  void ExpectStillThere(const std::map<std::wstring, std::string>& before) {
    EXPECT_FALSE(before.empty());
    for (const auto& [name, bytes] : before) EXPECT_TRUE(h_->ReadFile(photos_ + L"\\" + name) == bytes) << name;
  }

  std::unique_ptr<FormHarness> h_;
  std::unique_ptr<test::TrayRecorder> tray_;
  std::wstring photos_;
  int album_ = 0;
};

// Nothing answers on the site's port from the break on, and the connections that were open are
// reset: the next page the walk needs cannot be fetched, which fails the run.
TEST_F(Endurance, SiteDyingMidRunFailsTheRunAndKeepsTheSavedPhotos) {
  test::TcpRelay relay(test::SiteHost());
  Start("fault 1002 photos latency 100\n", 1002, relay.Host());
  const auto before = RunAndBreakAfter(5, [&] { relay.Kill(); });
  ExpectEnding(RunEnding::Failed);
  EXPECT_LT(run().SavedPhotos(), 40);
  ExpectOnlyWholePhotos(photos_, run().SavedPhotos());
  ExpectStillThere(before);
}

// After a restart the session cookie is no longer known: pages come back as a signed-out
// visitor's, without the markers the walk looks for.
TEST_F(Endurance, SiteRestartingMidRunFailsTheRunAndKeepsTheSavedPhotos) {
  Start("fault 1002 photos latency 100\n", 1002);
  const auto before = RunAndBreakAfter(5, [] { test::SiteForgetSessions(); });
  ExpectEnding(RunEnding::Failed);
  EXPECT_LT(run().SavedPhotos(), 40);
  ExpectOnlyWholePhotos(photos_, run().SavedPhotos());
  ExpectStillThere(before);
}

// Each photo after the break costs itself; nothing makes the folder again or writes elsewhere.
TEST_F(Endurance, SaveFolderDeletedMidRunCostsTheRestOfThePhotos) {
  Start("fault 1002 photos latency 50\n", 1002);
  RunAndBreakAfter(5, [&] { test::DeleteTree(photos_); });
  ExpectEnding(RunEnding::Ended);
  EXPECT_GE(run().SavedPhotos(), 5);
  EXPECT_EQ(run().SavedPhotos() + run().FailedPhotos(), 40);
  EXPECT_LT(run().SavedPhotos(), 40);
  EXPECT_FALSE(Exists(photos_));
  EXPECT_EQ(FilesIn(h_->folder()), std::set<std::wstring>{L"Lumadex.ini"});
}

TEST_F(Endurance, SaveFolderMadeReadOnlyMidRunCostsTheRestOfThePhotos) {
  Start("fault 1002 photos latency 50\n", 1002);
  FolderLock lock(photos_);
  if (!lock.Lock()) GTEST_SKIP() << "neither chattr +i nor chmod could make the save folder refuse files here";
  const bool refuses = !FileHandle(CreateFileW((photos_ + L"\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
  lock.Unlock();
  DeleteFileW((photos_ + L"\\probe").c_str());
  if (!refuses) GTEST_SKIP() << "the locked save folder still takes new files on this filesystem";

  const auto before = RunAndBreakAfter(5, [&] { ASSERT_TRUE(lock.Lock()); });
  ExpectEnding(RunEnding::Ended);
  EXPECT_EQ(run().SavedPhotos() + run().FailedPhotos(), 40);
  EXPECT_LT(run().SavedPhotos(), 40);
  ExpectOnlyWholePhotos(photos_, run().SavedPhotos());
  ExpectStillThere(before);
}

// A save folder on a filesystem of 1 MiB holds about a dozen of the album's photos.
TEST_F(Endurance, DiskFillingUpCostsThePhotosThatDoNotFit) {
  Start("", 1002);
  SmallDisk disk(photos_, "1m");
  if (!disk.mounted()) GTEST_SKIP() << "no small filesystem to be had: mounting a tmpfs is not permitted here";
  form().NBtnDown().Click();
  ExpectEnding(RunEnding::Ended);
  EXPECT_GT(run().SavedPhotos(), 0);
  EXPECT_GT(run().FailedPhotos(), 0);
  EXPECT_EQ(run().SavedPhotos() + run().FailedPhotos(), 40);
  ExpectOnlyWholePhotos(photos_, run().SavedPhotos());
}

// Whether the site has stopped sending every answer it was streaming, within a few seconds.
bool SiteStreamsNothing() {
  for (int i = 0; i < 500; ++i) {
    if (test::SiteGet("/_ctl/stats").find(" streams=0") != std::string::npos) return true;
    Sleep(10);
  }
  return false;
}

// A photo whose body never ends and one announced at 3 GB each cost their photo alone: the
// connection is dropped at the cap and what the body took is given back. A photo page or an
// album page that never ends fails the run once the walk gets to it, as a page without its
// markers does.
TEST_F(Endurance, AnswersPastTheirCapCostTheirPhotoOrTheRun) {
  Start("fault 1002 photo:3 endless\nfault 1002 photo:7 huge\n", 1002);
  const size_t before = test::PrivateBytes();
  {
    AnswerWatch watch(form().hwnd());
    form().NBtnDown().Click();
    EXPECT_LT(watch.Longest(), 5s) << "the window stopped answering";
  }
  ExpectEnding(RunEnding::Ended);
  EXPECT_EQ(run().SavedPhotos(), 38);
  EXPECT_EQ(run().FailedPhotos(), 2);
  ExpectOnlyWholePhotos(photos_, 38);
  for (const wchar_t* lost : {L"3.jpg", L"7.jpg"}) EXPECT_EQ(FilesIn(photos_).count(lost), 0u) << lost;
  EXPECT_LT(test::PrivateBytes(), before + kMostPhotoBytes / 4);
  EXPECT_TRUE(SiteStreamsNothing());

  for (const auto& [fault, saved] : {std::pair{"fault 1002 photopage:9 endless\n", 8},
                                     std::pair{"fault 1002 page:1 endless\n", 15}}) {
    SCOPED_TRACE(fault);
    h_.reset();
    Start(fault, 1002);
    form().NBtnDown().Click();
    ExpectEnding(RunEnding::Failed);
    EXPECT_EQ(run().SavedPhotos(), saved);
    ExpectOnlyWholePhotos(photos_, saved);
    EXPECT_TRUE(SiteStreamsNothing());
  }
}

// The sign-in's answer is shown whatever becomes of remembering it; a file that cannot be
// replaced is left exactly as it was. Unheld, the same sign-in does change it.
TEST_F(Endurance, SettingsFileHeldOrReadOnlyAtSignInStaysAsItWas) {
  for (const char* hold : {"held without sharing", "read-only", "free"}) {
    SCOPED_TRACE(hold);
    test::SiteConfigure("demo\n");
    FormHarness h;
    const std::string before = h.ReadFile(L"Lumadex.ini");
    ASSERT_FALSE(before.empty());
    SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_CHECKED, 0);
    FileHandle held;
    if (hold[0] == 'h') {
      held.reset(CreateFileW(h.SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(held);
    } else if (hold[0] == 'r') {
      ASSERT_TRUE(SetFileAttributesW(h.SettingsFile().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EXPECT_TRUE(h.SignIn());
    EXPECT_EQ(h.form().Text(L"LoginInfo"), std::wstring(texts::kLoginSucceeded));
    held.reset();
    SetFileAttributesW(h.SettingsFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    if (hold[0] == 'f') {
      EXPECT_NE(h.ReadFile(L"Lumadex.ini"), before);
    } else {
      EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), before);
    }
    EXPECT_EQ(FilesIn(h.folder()), std::set<std::wstring>{L"Lumadex.ini"});
  }
}

// A copy started while another has only just created the settings file finds it empty; its
// sign-in must still leave a whole file, the one a fresh folder gets.
TEST_F(Endurance, SettingsFileFoundEmptyAtStartIsWrittenWholeAtSignIn) {
  test::SiteConfigure("demo\n");
  std::string whole;
  for (const std::optional<std::string>& start : {std::optional<std::string>(), std::optional<std::string>("")}) {
    FormHarness h(start);
    SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(h.SignIn());
    if (!start) {
      whole = h.ReadFile(L"Lumadex.ini");
      continue;
    }
    EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), whole);
    const std::unique_ptr<MainForm> next = h.StartAnother();
    EXPECT_EQ(next->Text(L"email"), L"demo@example.com");
  }
}

std::unique_ptr<MainForm> SignedInWindow(const FormHarness& h, bool remember) {
  std::unique_ptr<MainForm> form = h.StartAnother();
  form->SetText(L"email", L"demo@example.com");
  form->SetText(L"password", L"demo");
  SendMessageW(form->Control(L"CheckUser"), BM_SETCHECK, remember ? BST_CHECKED : BST_UNCHECKED, 0);
  form->NBtnLogin().Click();
  if (form->Text(L"LoginInfo") != texts::kLoginSucceeded) return nullptr;
  return form;
}

// This process and another copy of the program (lumadex_second_copy, beside the tests) sign in
// again and again on one settings file, one remembering the details and one forgetting them,
// and then download the same album into the same folder at the same time.
TEST_F(Endurance, TwoCopiesInOneFolderKeepTheSettingsFileAndThePhotosWhole) {
  constexpr int kSignIns = 15;
  Start("", 1002);
  // What each copy's sign-in leaves in the file on its own.
  ASSERT_TRUE(SignedInWindow(*h_, true));
  const std::string remembered = h_->ReadFile(L"Lumadex.ini");
  ASSERT_TRUE(SignedInWindow(*h_, false));
  const std::string forgotten = h_->ReadFile(L"Lumadex.ini");
  ASSERT_NE(remembered, forgotten);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program = self;
  program = program.substr(0, program.find_last_of(L'\\') + 1) + L"lumadex_second_copy.exe";
  const std::wstring goName = L"Local\\LumadexSecondCopyGo-" + std::to_wstring(GetCurrentProcessId());
  const KernelObject go(CreateEventW(nullptr, TRUE, FALSE, goName.c_str()));
  std::wstring line = L"\"" + program + L"\" " + test::TestSiteHost() + L" 1002 \"" + photos_ + L"\" \"" +
                      h_->SettingsFile() + L"\" 1 " + std::to_wstring(kSignIns) + L" " + goName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  const KernelObject process(info.hProcess);
  const KernelObject thread(info.hThread);
  // The other copy needs a moment to start; it waits for the word to go with its first sign-in.
  test::Pump(1500ms);
  SetEvent(go.get());

  std::unique_ptr<MainForm> mine;
  for (int i = 0; i < kSignIns; ++i) {
    mine.reset();
    mine = SignedInWindow(*h_, false);
    ASSERT_TRUE(mine) << "sign-in " << i + 1;
  }
  mine->SetText(L"albumURLTxt", test::SiteUrl("/getalbum.do?id=1002&owner=222300001"));
  mine->SetText(L"DirPathTxt", photos_);
  SendMessageW(mine->Control(L"AblumUpName"), BM_CLICK, 0, 0);
  mine->NBtnDown().Click();
  EXPECT_EQ(mine->Run().SavedPhotos(), 40);
  ASSERT_TRUE(test::PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, 120s));
  DWORD exitCode = 1;
  GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u) << "the other copy did not save every photo";

  const std::string settings = h_->ReadFile(L"Lumadex.ini");
  EXPECT_TRUE(settings == remembered || settings == forgotten) << settings;
  ExpectOnlyWholePhotos(photos_, 40);
}

}  // namespace
}  // namespace lumadex
