#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "app/download_run.h"
#include "services/ansi_win32.h"
#include "services/mod_tray_win32.h"
#include "support/form_harness_win32.h"
#include "support/site_client_win32.h"
#include "support/tray_recorder_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;

constexpr wchar_t kRunFailed[] = L"[相册下载失败] 相册可能不存在或者没有访问权限，参数配置错误";

std::vector<std::string> Requests(const std::string& prefix = "GET /") {
  std::vector<std::string> lines;
  for (const std::string& line : test::SiteLog()) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(0, line.find(' ', 4)));
  }
  return lines;
}

size_t CountStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.rfind(prefix, 0) == 0;
  }));
}

using test::FilesIn;

// A signed-in window with the album and a fresh save folder filled in.
class Download : public testing::Test {
 protected:
  void Start(const std::string& extraConfig, int album) {
    test::SiteConfigure("demo\n" + extraConfig);
    h_ = std::make_unique<FormHarness>();
    photos_ = h_->PrepareDownload(album);
    ASSERT_FALSE(photos_.empty());
    test::SiteResetLog();
    // One recorder at a time: each puts the shell's call back when it goes.
    tray_.reset();
    tray_ = std::make_unique<test::TrayRecorder>();
  }
  // The balloon texts shown since Start.
  std::vector<std::wstring> Balloons() const {
    std::vector<std::wstring> texts;
    for (const test::TrayCall& call : tray_->calls()) {
      if (call.record.uFlags == NIF_INFO) texts.push_back(AnsiToWide(call.info()));
    }
    return texts;
  }
  MainForm& form() { return h_->form(); }
  const DownloadRun& run() { return h_->form().Run(); }
  // Presses 下 载 for a run that ends as `ending` before any photo is asked for.
  void PressForNoPhoto(RunEnding ending) {
    form().NBtnDown().Click();
    ExpectIdleAfter(ending);
    EXPECT_EQ(CountStartingWith(Requests(), "GET /getphoto.do"), 0u);
  }
  // What every ending leaves behind, and what each leaves of its own.
  void ExpectIdleAfter(RunEnding ending) {
    EXPECT_EQ(run().State(), RunState::Idle);
    EXPECT_FALSE(run().Downloading());
    EXPECT_EQ(form().NBtnDown().Caption(), L"下 载");
    for (const wchar_t* box : {L"ModeContainer", L"NewModeContainer", L"PageModeContainer", L"UpdateModeContainer"}) {
      EXPECT_TRUE(IsWindowEnabled(h_->control(box))) << box;
    }
    const std::vector<std::wstring> balloons = Balloons();
    const bool failureShown = std::find(balloons.begin(), balloons.end(), L"相册下载失败") != balloons.end();
    switch (ending) {
      case RunEnding::Ended:
        EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：" + std::to_wstring(run().SavedPhotos()) +
                                                L" 张，失败：" + std::to_wstring(run().FailedPhotos()) + L" 张");
        // Until the bar shows 100, which the timer announces itself.
        EXPECT_TRUE(form().TimerEnabled());
        EXPECT_FALSE(failureShown);
        break;
      case RunEnding::Stopped:
        EXPECT_EQ(form().Text(L"DownInfo"), L"相册下载中断…");
        EXPECT_FALSE(form().TimerEnabled());
        EXPECT_EQ(form().NicePressBar().Value(), 0);
        EXPECT_FALSE(failureShown);
        break;
      case RunEnding::Refused:
      case RunEnding::Failed:
        EXPECT_EQ(form().Text(L"DownInfo"), kRunFailed);
        EXPECT_FALSE(form().TimerEnabled());
        EXPECT_TRUE(failureShown);
        break;
    }
  }
  void Choose(const wchar_t* option) { SendMessageW(h_->control(option), BM_CLICK, 0, 0); }
  std::string Saved(const std::wstring& name) { return h_->ReadFile(photos_ + L"\\" + name); }
  // Lets the progress timer catch up with the counters.
  void LetTheTimerRun() {
    test::PumpUntil([&] { return !form().TimerEnabled(); }, 3s);
  }

  std::unique_ptr<FormHarness> h_;
  std::unique_ptr<test::TrayRecorder> tray_;
  std::wstring photos_;
};

TEST_F(Download, WholeAlbumMakesExactlyTheExpectedRequests) {
  Start("", 1002);
  Choose(L"AblumUpName");
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：40 张，失败：0 张");
  EXPECT_EQ(run().TotalPhotos(), 40);
  // The requests go out side by side, so the site may answer them in another order; each is
  // made once, and nothing else is asked for.
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u + 3u + 80u);
  EXPECT_EQ(requests[0], "GET /getalbum.do?id=1002&owner=222300001");
  for (int page = 0; page < 3; ++page) {
    EXPECT_EQ(CountStartingWith(requests, "GET /getalbum.do?curpage=" + std::to_string(page) + "&id=1002&owner=222300001"), 1u);
  }
  EXPECT_EQ(std::set<std::string>(requests.begin(), requests.end()).size(), requests.size());
  EXPECT_EQ(CountStartingWith(requests, "GET /getphoto.do?"), 40u);
  for (int n = 1; n <= 40; ++n) EXPECT_EQ(CountStartingWith(requests, "GET /photos/1002/" + std::to_string(n) + "/"), 1u) << n;
  EXPECT_EQ(FilesIn(photos_).size(), 40u);
  for (int n = 1; n <= 40; ++n) {
    EXPECT_EQ(Saved(std::to_wstring(n) + L".jpg"), test::SitePhotoBytes(1002, n)) << n;
  }
  ExpectIdleAfter(RunEnding::Ended);
  LetTheTimerRun();
  EXPECT_EQ(form().NicePressBar().Value(), 100);
  EXPECT_FALSE(form().TimerEnabled());
  EXPECT_EQ(Balloons(), std::vector<std::wstring>{L"相册下载完成"});
}

TEST_F(Download, DescendingNamesCountDownInPageOrder) {
  Start("", 1002);
  Choose(L"AblumDownName");
  form().NBtnDown().Click();
  EXPECT_EQ(Saved(L"40.jpg"), test::SitePhotoBytes(1002, 1));
  EXPECT_EQ(Saved(L"1.jpg"), test::SitePhotoBytes(1002, 40));
  EXPECT_EQ(FilesIn(photos_).size(), 40u);
}

TEST_F(Download, SinglePageAlbumIsReadOnceAndKeepsTheSiteNames) {
  Start("", 1001);
  form().NBtnDown().Click();
  const auto requests = Requests();
  EXPECT_EQ(CountStartingWith(requests, "GET /getalbum.do"), 1u);
  EXPECT_EQ(requests.size(), 1u + 24u);
  const auto files = FilesIn(photos_);
  EXPECT_EQ(files.size(), 12u);
  for (const std::wstring& name : files) EXPECT_EQ(name.substr(name.size() - 4), L".jpg");
}

TEST_F(Download, PageRangeCountsFullAndLastPages) {
  Start("", 1003);
  Choose(L"OptionPage");
  form().SetText(L"PhotoBenginPage", L"2");
  form().SetText(L"PhotoEndPage", L"2");
  form().NBtnDown().Click();
  EXPECT_EQ(run().TotalPhotos(), 15);
  EXPECT_EQ(run().SavedPhotos(), 15);
  EXPECT_EQ(CountStartingWith(Requests(), "GET /getalbum.do?curpage=1&"), 1u);
  EXPECT_EQ(CountStartingWith(Requests(), "GET /getalbum.do?curpage=0&"), 0u);

  form().SetText(L"PhotoBenginPage", L"1");
  form().NBtnDown().Click();
  EXPECT_EQ(run().TotalPhotos(), 30);
}

TEST_F(Download, PageRangeBeyondTheAlbumIsRefused) {
  Start("", 1003);
  Choose(L"OptionPage");
  form().SetText(L"PhotoBenginPage", L"3");
  PressForNoPhoto(RunEnding::Refused);
}

TEST_F(Download, NewestPhotosStopAtTheCount) {
  Start("", 1002);
  Choose(L"OptionUpdate");
  h_->Type(L"NewPhotoCount", L"20");
  form().NBtnDown().Click();
  EXPECT_EQ(run().TotalPhotos(), 20);
  EXPECT_EQ(run().SavedPhotos(), 20);
  auto requests = Requests();
  EXPECT_EQ(CountStartingWith(requests, "GET /getalbum.do?curpage=1&"), 1u);
  EXPECT_EQ(CountStartingWith(requests, "GET /getalbum.do?curpage=2&"), 0u);
  // However far the run reads ahead, nothing past the newest 20 is asked for.
  EXPECT_EQ(CountStartingWith(requests, "GET /getphoto.do"), 20u);
  EXPECT_EQ(CountStartingWith(requests, "GET /photos/1002/"), 20u);
  EXPECT_EQ(CountStartingWith(requests, "GET /photos/1002/20/"), 1u);

  test::SiteResetLog();
  form().SetText(L"NewPhotoCount", L"15");
  form().NBtnDown().Click();
  requests = Requests();
  EXPECT_EQ(CountStartingWith(requests, "GET /getalbum.do?curpage=1&"), 0u);
  EXPECT_EQ(CountStartingWith(requests, "GET /getphoto.do"), 15u);

  // The refusal also stops the timer the run before left going.
  ASSERT_TRUE(form().TimerEnabled());
  test::SiteResetLog();
  form().SetText(L"NewPhotoCount", L"41");
  PressForNoPhoto(RunEnding::Refused);
}

TEST_F(Download, IncompleteSettingsAreRefusedBeforeAnyRequest) {
  Start("", 1002);
  form().SetText(L"DirPathTxt", L"");
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载失败] 相册信息或者下载模式配置错误");
  form().SetText(L"DirPathTxt", photos_);
  Choose(L"OptionUpdate");
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载失败] 相册信息或者下载模式配置错误");
  EXPECT_TRUE(test::SiteLog().empty());
}

TEST_F(Download, EntriesWithoutALinkAreCountedAsFailures) {
  Start("fault 1002 entry:5 nolink\n", 1002);
  Choose(L"AblumUpName");
  form().NBtnDown().Click();
  EXPECT_EQ(run().FailedPhotos(), 1);
  EXPECT_EQ(run().SavedPhotos(), 39);
  // Numbers are not used up by the entry without a link.
  EXPECT_EQ(Saved(L"5.jpg"), test::SitePhotoBytes(1002, 6));
  EXPECT_TRUE(Saved(L"40.jpg").empty());
  test::Pump(400ms);
  EXPECT_LT(form().NicePressBar().Value(), 100);
  EXPECT_TRUE(form().TimerEnabled());
  EXPECT_TRUE(Balloons().empty());
}

// The requests out at the press are given up: whatever they bring later is not written, and
// no file is left half written.
TEST_F(Download, StopKeepsWhatWasSavedAndWritesNothingAfterwards) {
  Start("fault 1002 photos latency 400\n", 1002);
  test::RunSoon(900ms, [&] {
    EXPECT_EQ(form().NBtnDown().Caption(), L"停 止");
    form().NBtnDown().Click();
  });
  form().NBtnDown().Click();
  ExpectIdleAfter(RunEnding::Stopped);
  const std::set<std::wstring> files = FilesIn(photos_);
  EXPECT_GT(run().SavedPhotos(), 0);
  EXPECT_LT(run().SavedPhotos(), 40);
  EXPECT_EQ(run().DonePhotos(), run().SavedPhotos());
  EXPECT_EQ(files.size(), static_cast<size_t>(run().SavedPhotos()));
  // Time enough for every request that was out to have been answered.
  test::Pump(1500ms);
  EXPECT_EQ(FilesIn(photos_), files);
  EXPECT_EQ(form().Text(L"DownInfo"), L"相册下载中断…");
}

// Photo 3 is answered long after photo 4 and the ones after it; the files, the counters and
// the status line still move one photo after another in album order, and the window's timers
// go on meanwhile.
TEST_F(Download, AnswersOutOfOrderAreCommittedInAlbumOrder) {
  Start("fault 1002 photo:3 latency 1500\n", 1002);
  Choose(L"AblumUpName");
  int looks = 0;
  bool over = false;
  std::function<void()> look = [&] {
    if (over) return;
    ++looks;
    // Exactly the photos 1 to the count saved are there, whatever has come in since.
    const int saved = run().SavedPhotos();
    std::set<std::wstring> expected;
    for (int n = 1; n <= saved; ++n) expected.insert(std::to_wstring(n) + L".jpg");
    EXPECT_EQ(FilesIn(photos_), expected);
    EXPECT_EQ(run().DonePhotos(), saved);
    test::RunSoon(20ms, look);
  };
  test::RunSoon(20ms, look);
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：40 张，失败：0 张");
  ExpectIdleAfter(RunEnding::Ended);
  over = true;
  test::Pump(100ms);  // the last look, before what it refers to goes
  EXPECT_GT(looks, 10);
  for (int n = 1; n <= 40; ++n) {
    EXPECT_TRUE(Saved(std::to_wstring(n) + L".jpg") == test::SitePhotoBytes(1002, n)) << n;
  }
  // The site did answer photo 4 first: the log is written as each answer goes out.
  const auto requests = Requests("GET /photos/1002/");
  const auto third = std::find_if(requests.begin(), requests.end(), [](const std::string& r) { return r.rfind("GET /photos/1002/3/", 0) == 0; });
  const auto fourth = std::find_if(requests.begin(), requests.end(), [](const std::string& r) { return r.rfind("GET /photos/1002/4/", 0) == 0; });
  EXPECT_LT(fourth - requests.begin(), third - requests.begin());
}

// The close request is refused while the run goes on, which it then does; once it has ended
// the window closes.
TEST_F(Download, CloseIsRefusedDuringARunAndMinimisingSaysSo) {
  Start("fault 1001 photos latency 600\n", 1001);
  HWND window = form().hwnd();
  std::wstring boxText;
  std::wstring balloonDuringRun;
  test::RunSoon(400ms, [&] {
    test::RunSoon(300ms, [&] {
      if (HWND box = FindWindowW(L"#32770", L"退出程序")) {
        wchar_t text[128] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 128);
        boxText = text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    });
    SendMessageW(window, WM_CLOSE, 0, 0);
    ShowWindow(window, SW_MINIMIZE);
    balloonDuringRun = Balloons().empty() ? L"" : Balloons().back();
  });
  form().NBtnDown().Click();
  EXPECT_EQ(boxText, L"相册下载中，请您先停止");
  EXPECT_EQ(balloonDuringRun, L"正在下载中…");
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(run().SavedPhotos(), 12);
  test::PumpUntil([&] { return !Balloons().empty() && Balloons().back() == L"相册下载完成"; }, 3s);
  EXPECT_EQ(Balloons().back(), L"相册下载完成");
  EXPECT_EQ(form().NicePressBar().Value(), 100);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Download, BadPhotoAnswersWriteNothing) {
  Start("fault 1001 photo:2 status 404\nfault 1001 photo:3 status 500\nfault 1001 photo:4 empty\n"
        "fault 1001 photo:5 truncate\n",
        1001);
  Choose(L"AblumUpName");
  test::WriteBytes(photos_ + L"\\3.jpg", "a good photo from an earlier run");
  form().NBtnDown().Click();
  EXPECT_EQ(run().FailedPhotos(), 4);
  EXPECT_EQ(run().SavedPhotos(), 8);
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：8 张，失败：4 张");
  const auto files = FilesIn(photos_);
  EXPECT_EQ(files.count(L"2.jpg"), 0u);
  EXPECT_EQ(files.count(L"4.jpg"), 0u);
  EXPECT_EQ(files.count(L"5.jpg"), 0u);
  EXPECT_EQ(Saved(L"3.jpg"), "a good photo from an earlier run");
  EXPECT_EQ(files.size(), 9u);  // no temporary file is left behind either
}

TEST_F(Download, NamesFromTheSiteCannotLeaveTheSaveFolder) {
  Start("photo-name 1001 3 ..\\..\\evil.exe\nphoto-name 1001 4 a.jpg?v=2\nphoto-name 1001 5 x:*\"<>|.jpg\n", 1001);
  form().NBtnDown().Click();
  EXPECT_EQ(FilesIn(h_->folder()).count(L"evil.exe"), 0u);
  EXPECT_EQ(GetFileAttributesW((h_->folder() + L"\\..\\evil.exe").c_str()), INVALID_FILE_ATTRIBUTES);
  const auto files = FilesIn(photos_);
  EXPECT_EQ(files.count(L"a.jpg_v=2"), 1u);
  EXPECT_EQ(files.count(L"x______.jpg"), 1u);
  for (const std::wstring& name : files) EXPECT_EQ(name.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos);
}

TEST_F(Download, FailuresOfTheAlbumPagesEndTheRun) {
  struct Case {
    const char* config;
    const char* album;
  } cases[] = {
      {"fault 1002 first no-pager-top\n", "id=1002&owner=222300001"},
      {"fault 1002 first count abc\n", "id=1002&owner=222300001"},
      {"fault 1002 first count 40000\n", "id=1002&owner=222300001"},
      {"fault 1002 page:1 no-photoPan\n", "id=1002&owner=222300001"},
      {"fault 1002 page:0 no-pager-bottom\n", "id=1002&owner=222300001"},
      {"fault 1002 photopage:3 no-img\n", "id=1002&owner=222300001"},
      {"", "id=1002"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    Start(c.config, 1002);
    form().SetText(L"albumURLTxt", test::SiteUrl(std::string("/getalbum.do?") + c.album));
    form().NBtnDown().Click();
    ExpectIdleAfter(RunEnding::Failed);
    h_.reset();
  }
}

TEST_F(Download, PhotosSavedBeforeAFailureStay) {
  Start("fault 1002 photopage:20 no-img\n", 1002);
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), kRunFailed);
  EXPECT_EQ(FilesIn(photos_).size(), 19u);
  EXPECT_EQ(run().SavedPhotos(), 19);
}

TEST_F(Download, MissingSaveFolderEndsTheRunAtOnce) {
  Start("", 1002);
  form().SetText(L"DirPathTxt", photos_ + L"\\does-not-exist");
  PressForNoPhoto(RunEnding::Failed);
}

// The folder dialog gives folders of any length; the file calls take them in their long form.
TEST_F(Download, ASaveFolderOfThreeHundredCharactersTakesThePhotos) {
  Start("", 1001);
  std::wstring folder = photos_;
  for (size_t rest = 300 - folder.size(); rest > 0;) {
    const size_t length = rest <= 121 ? rest - 1 : std::min<size_t>(120, rest - 12);
    folder += L"\\" + std::wstring(length, L'd');
    rest -= length + 1;
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
  }
  ASSERT_EQ(folder.size(), 300u);
  form().SetText(L"DirPathTxt", folder);
  Choose(L"AblumUpName");
  form().NBtnDown().Click();
  EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：12 张，失败：0 张");
  const std::wstring longForm = L"\\\\?\\" + folder;
  EXPECT_EQ(FilesIn(longForm).size(), 12u);
  // Compared whole, without printing a photo's bytes when they differ.
  EXPECT_TRUE(h_->ReadFile(longForm + L"\\1.jpg") == test::SitePhotoBytes(1001, 1));
  EXPECT_TRUE(h_->ReadFile(longForm + L"\\12.jpg") == test::SitePhotoBytes(1001, 12));
}

// None of the newest photos, or the pages up to page 0, make an empty run that says so.
TEST_F(Download, ZeroPhotosOrPagesEndAtOnceWithNothingSaved) {
  Start("", 1002);
  for (const wchar_t* option : {L"OptionUpdate", L"OptionPage"}) {
    SCOPED_TRACE(option);
    test::SiteResetLog();
    Choose(option);
    // A leading 0 cannot be typed into the boxes, but it can be pasted.
    form().SetText(std::wstring(option) == L"OptionUpdate" ? L"NewPhotoCount" : L"PhotoEndPage", L"0");
    form().NBtnDown().Click();
    EXPECT_EQ(form().Text(L"DownInfo"), L"[相册下载结束] 成功：0 张，失败：0 张");
    EXPECT_EQ(run().TotalPhotos(), 0);
    ExpectIdleAfter(RunEnding::Ended);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"GET /getalbum.do?id=1002&owner=222300001"}));
    EXPECT_TRUE(FilesIn(photos_).empty());
  }
  // A start page of 0 would ask for a page before the first: refused.
  form().SetText(L"PhotoBenginPage", L"0");
  form().SetText(L"PhotoEndPage", L"2");
  PressForNoPhoto(RunEnding::Refused);
}

// One slow test: the program's own 20-second limit for a photo is not shortened for it.
TEST_F(Download, HangingPhotoTimesOutAndTheRunGoesOn) {
  Start("fault 1001 photo:2 hang 60\n", 1001);
  const ULONGLONG started = GetTickCount64();
  form().NBtnDown().Click();
  const ULONGLONG elapsed = GetTickCount64() - started;
  EXPECT_EQ(run().FailedPhotos(), 1);
  EXPECT_EQ(run().SavedPhotos(), 11);
  EXPECT_GE(elapsed, 18000u);
  EXPECT_LT(elapsed, 45000u);
}

}  // namespace
}  // namespace lumadex
