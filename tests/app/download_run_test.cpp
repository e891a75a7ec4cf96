#include "app/download_run.h"

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lumadex {
namespace {

// The boxes as the test sets them, and everything the run shows, in order.
struct FakeWindow final : RunWindow {
  RunSettings settings;
  // What the boxes hold once the first page has been read, when that is something else.
  std::optional<RunSettings> settingsAfterFirstRead;
  mutable int reads = 0;
  std::vector<std::wstring> statuses, captions;
  std::vector<std::wstring> balloons;
  std::vector<int> progress;
  std::vector<bool> modeBoxes;
  bool timer = false;

  RunSettings ReadSettings() const override {
    return ++reads > 1 && settingsAfterFirstRead ? *settingsAfterFirstRead : settings;
  }
  void ShowStatus(const std::wstring& text) override { statuses.push_back(text); }
  void ShowButtonCaption(const wchar_t* caption) override { captions.push_back(caption); }
  void ShowProgress(int percent) override { progress.push_back(percent); }
  void EnableModeBoxes(bool enabled) override { modeBoxes.push_back(enabled); }
  void ShowBalloon(const wchar_t* text) override { balloons.push_back(text); }
  void RunTimer(bool running) override { timer = running; }
};

// An album of the site "site" (id 7, owner 8): 15 entries a page, entry i linking to the photo
// page of photo i, whose photo is the bytes "photo i".
struct FakeSite final : RunSite {
  explicit FakeSite(int photoCount) {
    const AlbumAddress album{L"7", L"8"};
    const int lastPage = photoCount == 0 ? 1 : (photoCount - 1) / 15 + 1;
    for (int page = 1; page <= lastPage; ++page) {
      std::wstring text = L"<div class=\"pager-top\">\u5171 " + std::to_wstring(photoCount) + L" \u5f20</div>";
      for (int i = (page - 1) * 15 + 1; i <= std::min(photoCount, page * 15); ++i) {
        const std::wstring n = std::to_wstring(i);
        text += L"<li class=\"photoPan\"><a href=\"http://site/photo?n=" + n + L"\">" + n + L"</a></li>";
        pages[L"http://site/photo?n=" + n] = L"<img id=\"photo\" src=\"http://site/p/" + n + L".jpg\" title=\"\">";
        photos[L"http://site/p/" + n + L".jpg"] = "photo " + std::to_string(i);
      }
      text += L"<div class=\"pager-bottom\"></div>";
      pages[PageAddress(L"site", page, album)] = text;
      if (page == 1) pages[FirstPageAddress(L"site", album)] = text;
    }
  }

  std::optional<std::wstring> FetchPage(const std::wstring& address) override {
    Fetching(address);
    const auto it = pages.find(address);
    if (it == pages.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> FetchPhoto(const std::wstring& address) override {
    Fetching(address);
    const auto it = photos.find(address);
    if (it == photos.end()) return std::nullopt;
    return it->second;
  }
  bool WritePhoto(const std::wstring& path, std::string_view bytes) override {
    written[path] = std::string(bytes);
    return true;
  }
  bool FolderAcceptsFiles(const std::wstring&) override { return true; }

  // Handlers of the window run in the middle of a fetch, as they do while FetchText waits.
  void Fetching(const std::wstring& address) {
    fetched.push_back(address);
    if (whileFetching) whileFetching(address);
  }

  std::map<std::wstring, std::wstring> pages;
  std::map<std::wstring, std::string> photos;
  std::vector<std::wstring> fetched;
  std::map<std::wstring, std::string> written;
  std::function<void(const std::wstring&)> whileFetching;
};

class DownloadRunTest : public testing::Test {
 protected:
  DownloadRunTest() : site_(20) {
    window_.settings.albumAddress = L"http://site/getalbum.do?id=7&owner=8";
    window_.settings.saveFolder = L"C:\\photos";
  }
  FakeWindow window_;
  FakeSite site_;
  DownloadRun run_{window_, site_, L"site"};
};

TEST_F(DownloadRunTest, APressWhileRunningStopsAtTheNextEntryAndFurtherPressesWait) {
  RunState seenAfterStop = RunState::Idle;
  site_.whileFetching = [&](const std::wstring& address) {
    if (address != L"http://site/p/3.jpg") return;
    EXPECT_TRUE(run_.Downloading());
    run_.Press();
    seenAfterStop = run_.State();
    // Neither a press during the stop nor one more starts anything.
    run_.Press();
    EXPECT_EQ(window_.reads, 2);
  };
  run_.Press();
  EXPECT_EQ(seenAfterStop, RunState::Stopping);
  EXPECT_EQ(run_.State(), RunState::Idle);
  // The photo being fetched at the press is still saved; the next entry is not begun.
  EXPECT_EQ(run_.SavedPhotos(), 3);
  EXPECT_EQ(run_.DonePhotos(), 3);
  EXPECT_EQ(site_.fetched.back(), L"http://site/p/3.jpg");
  EXPECT_EQ(window_.statuses.back(), L"相册下载中断…");
  EXPECT_EQ(window_.captions, (std::vector<std::wstring>{L"停 止", L"下 载", L"下 载"}));
  EXPECT_FALSE(window_.timer);
  EXPECT_EQ(window_.progress.back(), 0);
  EXPECT_EQ(window_.modeBoxes, (std::vector<bool>{false, true}));

  // Idle again: the next press is a new run from nothing.
  site_.whileFetching = nullptr;
  run_.Press();
  EXPECT_EQ(run_.SavedPhotos(), 20);
  EXPECT_EQ(run_.FailedPhotos(), 0);
  EXPECT_EQ(window_.statuses.back(), L"[相册下载结束] 成功：20 张，失败：0 张");
  EXPECT_TRUE(window_.timer);
}

TEST_F(DownloadRunTest, APressWhileTheFirstPageIsReadDoesNothing) {
  site_.whileFetching = [&](const std::wstring& address) {
    if (address != L"http://site/getalbum.do?id=7&owner=8") return;
    EXPECT_EQ(run_.State(), RunState::Preparing);
    EXPECT_FALSE(run_.Downloading());
    run_.Press();
    EXPECT_EQ(run_.State(), RunState::Preparing);
  };
  run_.Press();
  EXPECT_EQ(run_.SavedPhotos(), 20);
  EXPECT_EQ(window_.captions, (std::vector<std::wstring>{L"停 止", L"下 载"}));
}

// The boxes stay usable while the first page is read; the run takes what they hold after it.
TEST_F(DownloadRunTest, APhotoWhosePathIsRefusedIsNotFetched) {
  RunSettings emptied = window_.settings;
  emptied.saveFolder.clear();  // no folder: no path can be made
  window_.settingsAfterFirstRead = emptied;
  run_.Press();
  EXPECT_EQ(run_.FailedPhotos(), 20);
  EXPECT_EQ(run_.SavedPhotos(), 0);
  for (const std::wstring& address : site_.fetched) EXPECT_EQ(address.find(L".jpg"), std::wstring::npos) << address;
  EXPECT_TRUE(site_.written.empty());
}

TEST_F(DownloadRunTest, AnythingThrownEndsTheRunAndReachesTheCaller) {
  site_.whileFetching = [](const std::wstring& address) {
    if (address == L"http://site/photo?n=2") throw std::runtime_error("broken");
  };
  EXPECT_THROW(run_.Press(), std::runtime_error);
  EXPECT_EQ(run_.State(), RunState::Idle);
  EXPECT_EQ(window_.statuses.back(), L"[相册下载失败] 相册可能不存在或者没有访问权限，参数配置错误");
  EXPECT_EQ(window_.balloons, (std::vector<std::wstring>{L"相册下载失败"}));
  EXPECT_FALSE(window_.timer);
  EXPECT_EQ(window_.modeBoxes.back(), true);
  EXPECT_EQ(window_.captions.back(), L"下 载");
}

TEST(SettingsComplete, NeedsTheAlbumTheFolderAndWhatTheModeAsksFor) {
  RunSettings s;
  s.albumAddress = L"http://site/getalbum.do?id=7&owner=8";
  s.saveFolder = L"C:\\photos";
  EXPECT_TRUE(SettingsComplete(s));
  s.mode = DownloadMode::Newest;
  EXPECT_FALSE(SettingsComplete(s));
  s.newestCount = L"3";
  EXPECT_TRUE(SettingsComplete(s));
  s.mode = DownloadMode::PageRange;
  EXPECT_FALSE(SettingsComplete(s));
  s.endPage = L"2";
  EXPECT_TRUE(SettingsComplete(s));
  s.endPage.clear();
  s.startPage = L"2";
  EXPECT_TRUE(SettingsComplete(s));
  for (std::wstring RunSettings::*field : {&RunSettings::albumAddress, &RunSettings::saveFolder}) {
    RunSettings missing = s;
    (missing.*field).clear();
    EXPECT_FALSE(SettingsComplete(missing));
  }
}

}  // namespace
}  // namespace lumadex
