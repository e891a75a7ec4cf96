#include "app/download_run.h"

#include "app/album_markers.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
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
// page of photo i, whose photo is the bytes "photo i"; the entries in `noLink` have no link.
// Requests are answered when the run waits, the oldest first unless `pick` chooses another.
struct FakeSite final : RunSite {
  explicit FakeSite(int photoCount, const std::set<int>& noLink = {}) {
    const AlbumAddress album{L"7", L"8"};
    const int lastPage = photoCount == 0 ? 1 : (photoCount - 1) / 15 + 1;
    for (int page = 1; page <= lastPage; ++page) {
      std::wstring text = L"<div class=\"pager-top\">\u5171 " + std::to_wstring(photoCount) + L" \u5f20</div>";
      for (int i = (page - 1) * 15 + 1; i <= std::min(photoCount, page * 15); ++i) {
        const std::wstring n = std::to_wstring(i);
        text += noLink.count(i) ? L"<li class=\"photoPan\">" + n + L"</li>"
                                : L"<li class=\"photoPan\"><a href=\"" + PhotoPage(i) + L"\">" + n + L"</a></li>";
        pages[PhotoPage(i)] = L"<img id=\"photo\" src=\"" + Photo(i) + L"\" title=\"\">";
        photos[Photo(i)] = "photo " + std::to_string(i);
      }
      text += L"<div class=\"pager-bottom\"></div>";
      pages[PageAddress(L"site", page, album)] = text;
      if (page == 1) pages[FirstPageAddress(L"site", album)] = text;
    }
  }
  static std::wstring PhotoPage(int n) { return L"http://site/photo?n=" + std::to_wstring(n); }
  static std::wstring Photo(int n) { return L"http://site/p/" + std::to_wstring(n) + L".jpg"; }

  std::optional<std::wstring> FetchPage(const std::wstring& address) override {
    fetched.push_back(address);
    photosHeld = 0;  // a new run holds nothing yet
    if (whileWaiting) whileWaiting(address);
    const auto it = pages.find(address);
    if (it == pages.end()) return std::nullopt;
    return it->second;
  }
  void Ask(const RunRequest& request) override {
    fetched.push_back(request.address);
    asked.push_back(request);
    out.push_back(request);
    EXPECT_LE(out.size(), 4u);
    if (request.kind == RequestKind::Photo) {
      // A photo is asked for only once its page is read, and while at most the window's photos
      // are held: out, or in and not yet written.
      EXPECT_TRUE(readPages.count(request.address)) << request.address;
      EXPECT_LE(++photosHeld, 4);
    }
  }
  std::optional<RunAnswer> NextAnswer() override {
    if (out.empty()) {
      ADD_FAILURE() << "a wait with nothing asked for would never end";
      throw std::logic_error("nothing out");
    }
    const size_t index = pick ? pick(out) : 0;
    const RunRequest request = out[index];
    if (whileWaiting && whileWaiting(request.address)) return std::nullopt;
    out.erase(out.begin() + static_cast<std::ptrdiff_t>(index));
    RunAnswer answer{request.id, request.kind, {}, {}};
    if (request.kind == RequestKind::Photo) {
      if (const auto it = photos.find(request.address); it != photos.end()) {
        answer.bytes = it->second;
      } else {
        --photosHeld;
      }
    } else if (const auto it = pages.find(request.address); it != pages.end()) {
      answer.text = it->second;
      if (const std::optional<std::wstring> photo = PhotoFileAddress(it->second)) readPages.insert(*photo);
    }
    return answer;
  }
  void AbandonAll() override {
    for (const RunRequest& r : out) photosHeld -= r.kind == RequestKind::Photo;
    abandoned += out.size();
    out.clear();
  }
  bool WritePhoto(const std::wstring& path, std::string_view bytes) override {
    written.emplace_back(path, std::string(bytes));
    --photosHeld;
    return true;
  }
  bool FolderAcceptsFiles(const std::wstring&) override { return true; }

  // The addresses asked for of one kind, in the order asked.
  std::vector<std::wstring> Asked(RequestKind kind) const {
    std::vector<std::wstring> addresses;
    for (const RunRequest& r : asked) {
      if (r.kind == kind) addresses.push_back(r.address);
    }
    return addresses;
  }

  std::map<std::wstring, std::wstring> pages;
  std::map<std::wstring, std::string> photos;
  std::vector<std::wstring> fetched;
  std::vector<RunRequest> asked, out;
  std::set<std::wstring> readPages;  // photo addresses whose pages were answered
  int photosHeld = 0;
  size_t abandoned = 0;
  std::vector<std::pair<std::wstring, std::string>> written;
  std::function<size_t(const std::vector<RunRequest>&)> pick;
  // Handlers of the window, run inside a wait for `address`, as they run while a fetch is
  // waited for. True when one ran: the wait returns without an answer.
  std::function<bool(const std::wstring& address)> whileWaiting;
};

std::vector<std::wstring> Addresses(const wchar_t* prefix, int first, int last, const wchar_t* suffix = L"") {
  std::vector<std::wstring> addresses;
  for (int n = first; n <= last; ++n) addresses.push_back(prefix + std::to_wstring(n) + suffix);
  return addresses;
}

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

TEST_F(DownloadRunTest, APressStopsTheRunAtOnceGivingUpWhatIsOutAndFurtherPressesWait) {
  RunState seenAfterStop = RunState::Idle;
  site_.whileWaiting = [&](const std::wstring& address) {
    if (address != FakeSite::Photo(3) || !run_.Downloading()) return false;
    run_.Press();
    seenAfterStop = run_.State();
    // Neither a press during the stop nor one more starts anything.
    run_.Press();
    EXPECT_EQ(window_.reads, 2);
    return true;
  };
  run_.Press();
  EXPECT_EQ(seenAfterStop, RunState::Stopping);
  EXPECT_EQ(run_.State(), RunState::Idle);
  // Photo 3 was still on its way: it and everything else out were given up, nothing was
  // written after the press, and the counters show the two photos committed before it.
  EXPECT_GT(site_.abandoned, 0u);
  EXPECT_TRUE(site_.out.empty());
  EXPECT_EQ(site_.written.size(), 2u);
  EXPECT_EQ(run_.SavedPhotos(), 2);
  EXPECT_EQ(run_.DonePhotos(), 2);
  EXPECT_EQ(run_.FailedPhotos(), 0);
  EXPECT_EQ(window_.statuses.back(), L"相册下载中断…");
  EXPECT_EQ(window_.captions, (std::vector<std::wstring>{L"停 止", L"下 载", L"下 载"}));
  EXPECT_FALSE(window_.timer);
  EXPECT_EQ(window_.progress.back(), 0);
  EXPECT_EQ(window_.modeBoxes, (std::vector<bool>{false, true}));

  // Idle again: the next press is a new run from nothing.
  site_.whileWaiting = nullptr;
  run_.Press();
  EXPECT_EQ(run_.SavedPhotos(), 20);
  EXPECT_EQ(run_.FailedPhotos(), 0);
  EXPECT_EQ(window_.statuses.back(), L"[相册下载结束] 成功：20 张，失败：0 张");
  EXPECT_TRUE(window_.timer);
}

TEST_F(DownloadRunTest, APressWhileTheFirstPageIsReadDoesNothing) {
  site_.whileWaiting = [&](const std::wstring& address) {
    if (address != L"http://site/getalbum.do?id=7&owner=8") return false;
    EXPECT_EQ(run_.State(), RunState::Preparing);
    EXPECT_FALSE(run_.Downloading());
    run_.Press();
    EXPECT_EQ(run_.State(), RunState::Preparing);
    return false;
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
  EXPECT_TRUE(site_.Asked(RequestKind::Photo).empty());
  EXPECT_TRUE(site_.written.empty());
}

TEST_F(DownloadRunTest, AnythingThrownEndsTheRunGivesUpWhatIsOutAndReachesTheCaller) {
  site_.whileWaiting = [](const std::wstring& address) -> bool {
    if (address == FakeSite::PhotoPage(2)) throw std::runtime_error("broken");
    return false;
  };
  EXPECT_THROW(run_.Press(), std::runtime_error);
  EXPECT_EQ(run_.State(), RunState::Idle);
  EXPECT_TRUE(site_.out.empty());
  EXPECT_GT(site_.abandoned, 0u);
  EXPECT_EQ(window_.statuses.back(), L"[相册下载失败] 相册可能不存在或者没有访问权限，参数配置错误");
  EXPECT_EQ(window_.balloons, (std::vector<std::wstring>{L"相册下载失败"}));
  EXPECT_FALSE(window_.timer);
  EXPECT_EQ(window_.modeBoxes.back(), true);
  EXPECT_EQ(window_.captions.back(), L"下 载");
}

// The orders in which the site may answer the requests out at one time.
struct AnswerOrder {
  const char* name;
  std::function<size_t(const std::vector<RunRequest>&)> pick;
};
const AnswerOrder kAnswerOrders[] = {
    {"oldest first", nullptr},
    {"newest first", [](const std::vector<RunRequest>& out) { return out.size() - 1; }},
    // Photo 3 comes only after photo 4, as a slow answer does.
    {"photo 3 after photo 4",
     [](const std::vector<RunRequest>& out) {
       return out.size() > 1 && out[0].address == FakeSite::Photo(3) ? size_t{1} : size_t{0};
     }},
};

// What a run shows and leaves, to compare with a run whose answers came in another order.
struct RunRecord {
  std::vector<std::wstring> statuses;
  std::vector<std::pair<std::wstring, std::string>> written;
  int saved, failed, done;
  bool operator==(const RunRecord&) const = default;
};

class ReadAheadTest : public testing::TestWithParam<AnswerOrder> {
 protected:
  RunRecord Run(FakeSite& site, const RunSettings& settings) {
    FakeWindow window;
    window.settings = settings;
    site.pick = GetParam().pick;
    DownloadRun run(window, site, L"site");
    run.Press();
    EXPECT_TRUE(site.out.empty());
    return {window.statuses, site.written, run.SavedPhotos(), run.FailedPhotos(), run.DonePhotos()};
  }
  RunSettings Whole(NamingScheme scheme) const {
    RunSettings s;
    s.albumAddress = L"http://site/getalbum.do?id=7&owner=8";
    s.saveFolder = L"C:\\photos";
    s.scheme = scheme;
    return s;
  }
  RunSettings Newest(const wchar_t* count) const {
    RunSettings s = Whole(NamingScheme::OwnName);
    s.mode = DownloadMode::Newest;
    s.newestCount = count;
    return s;
  }
  RunSettings Pages(const wchar_t* start, const wchar_t* end) const {
    RunSettings s = Whole(NamingScheme::OwnName);
    s.mode = DownloadMode::PageRange;
    s.startPage = start;
    s.endPage = end;
    return s;
  }
};

TEST_P(ReadAheadTest, CommitsInAlbumOrderAndAsksWhatAOneAtATimeRunAsks) {
  // Entry 5 has no link, so it uses up no number; photo 7 does not come, its number stays unused.
  FakeSite inOrder(40, {5}), site(40, {5});
  inOrder.photos.erase(FakeSite::Photo(7));
  site.photos.erase(FakeSite::Photo(7));
  const RunRecord expected = [&] {
    FakeWindow window;
    window.settings = Whole(NamingScheme::Ascending);
    DownloadRun run(window, inOrder, L"site");
    run.Press();
    return RunRecord{window.statuses, inOrder.written, run.SavedPhotos(), run.FailedPhotos(), run.DonePhotos()};
  }();
  EXPECT_EQ(Run(site, Whole(NamingScheme::Ascending)), expected);
  EXPECT_EQ(expected.saved, 38);
  EXPECT_EQ(expected.failed, 2);
  ASSERT_EQ(expected.written.size(), 38u);
  EXPECT_EQ(expected.written[4], std::make_pair(std::wstring(L"C:\\photos\\5.jpg"), std::string("photo 6")));
  EXPECT_EQ(expected.written.back(), std::make_pair(std::wstring(L"C:\\photos\\39.jpg"), std::string("photo 40")));
  EXPECT_EQ(expected.statuses.back(), L"[相册下载结束] 成功：38 张，失败：2 张");

  // Each kind in album order, each request once, and nothing else.
  EXPECT_EQ(site.Asked(RequestKind::AlbumPage),
            Addresses(L"http://site/getalbum.do?curpage=", 0, 2, L"&id=7&owner=8"));
  std::vector<std::wstring> photoPages = Addresses(L"http://site/photo?n=", 1, 40);
  std::vector<std::wstring> photos = Addresses(L"http://site/p/", 1, 40, L".jpg");
  photoPages.erase(photoPages.begin() + 4);
  photos.erase(photos.begin() + 4);
  EXPECT_EQ(site.Asked(RequestKind::PhotoPage), photoPages);
  EXPECT_EQ(site.Asked(RequestKind::Photo), photos);
  EXPECT_EQ(site.abandoned, 0u);
}

// Nothing past the last page or entry the mode takes is asked for, however far ahead the
// walk reads; a single page is read once.
TEST_P(ReadAheadTest, TheModeBoundsTheReadAhead) {
  struct Case {
    int photos;
    RunSettings settings;
    int firstPage, lastPage;  // curpage numbers, from 0
    int firstPhoto, lastPhoto;
  } cases[] = {
      {40, Newest(L"20"), 0, 1, 1, 20},  {40, Newest(L"15"), 0, 0, 1, 15}, {40, Pages(L"2", L"2"), 1, 1, 16, 30},
      {40, Pages(L"", L"2"), 0, 1, 1, 30}, {12, Newest(L"3"), 0, -1, 1, 3}, {12, Whole(NamingScheme::OwnName), 0, -1, 1, 12},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.settings.newestCount + L"|" + c.settings.startPage + L"-" + c.settings.endPage);
    FakeSite site(c.photos);
    const RunRecord record = Run(site, c.settings);
    EXPECT_EQ(record.saved, c.lastPhoto - c.firstPhoto + 1);
    EXPECT_EQ(site.Asked(RequestKind::AlbumPage),
              Addresses(L"http://site/getalbum.do?curpage=", c.firstPage, c.lastPage, L"&id=7&owner=8"));
    EXPECT_EQ(site.Asked(RequestKind::PhotoPage), Addresses(L"http://site/photo?n=", c.firstPhoto, c.lastPhoto));
    EXPECT_EQ(site.Asked(RequestKind::Photo), Addresses(L"http://site/p/", c.firstPhoto, c.lastPhoto, L".jpg"));
  }
}

// A photo page without the photo fails the run there: the photos before it are saved, none
// after it, and once its answer is in nothing more is asked for past it.
TEST_P(ReadAheadTest, ABrokenPhotoPageEndsTheRunAtItsPlace) {
  FakeSite site(40);
  site.pages[FakeSite::PhotoPage(6)] = L"<p>no photo here</p>";
  size_t askedBeforeItsAnswer = 0;
  site.whileWaiting = [&](const std::wstring& address) {
    if (address == FakeSite::PhotoPage(6)) askedBeforeItsAnswer = site.asked.size();
    return false;
  };
  const RunRecord record = Run(site, Whole(NamingScheme::OwnName));
  EXPECT_EQ(record.statuses.back(), L"[相册下载失败] 相册可能不存在或者没有访问权限，参数配置错误");
  EXPECT_EQ(record.saved, 5);
  ASSERT_EQ(record.written.size(), 5u);
  EXPECT_EQ(record.written.back().first, L"C:\\photos\\5.jpg");
  const std::vector<std::wstring> before = Addresses(L"http://site/p/", 1, 5, L".jpg");
  for (size_t i = askedBeforeItsAnswer; i < site.asked.size(); ++i) {
    const std::wstring& address = site.asked[i].address;
    EXPECT_NE(std::find(before.begin(), before.end(), address), before.end()) << address;
  }
}

INSTANTIATE_TEST_SUITE_P(AnswerOrders, ReadAheadTest, testing::ValuesIn(kAnswerOrders),
                         [](const testing::TestParamInfo<AnswerOrder>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

// A page may hold far more entries than the site's fifteen: all are taken, in order, but
// only as many are held at a time as the walk looks ahead at.
TEST(ReadAheadPages, AnOvercrowdedPageIsTakenEntryByEntry) {
  std::wstring page = L"<div class=\"pager-top\"></div>";
  for (int i = 0; i < 5000; ++i) page += i % 2 ? L"<li class=\"photoPan\">no link</li>" : L"<li class=\"photoPan\"><a href=\"http://site/photo?n=" + std::to_wstring(i) + L"\">x</a></li>";
  page += L"<div class=\"pager-bottom\"></div>";
  WalkSetup setup{{L"7", L"8"}, L"site", RunPlan{}, false, page,
                  [](const std::wstring& address, int) { return std::optional<std::wstring>(address); }};
  setup.plan.startPage = setup.plan.endPage = 1;
  ReadAhead walk(std::move(setup));
  int linked = 0, unlinked = 0;
  for (;;) {
    EXPECT_LE(walk.EntriesHeld(), kMostAhead);
    while (std::optional<RunRequest> request = walk.NextRequest()) {
      if (request->kind == RequestKind::PhotoPage)
        walk.AnswerPage(request->id, L"<img id=\"photo\" src=\"" + request->address + L".jpg\" title=\"\">");
      else
        walk.AnswerPhoto(request->id, "bytes");
    }
    const std::optional<WalkStep> step = walk.NextStep();
    ASSERT_TRUE(step);
    if (step->kind == WalkStep::Ended) break;
    ASSERT_NE(step->kind, WalkStep::Broken);
    (step->kind == WalkStep::Photo ? linked : unlinked)++;
  }
  EXPECT_EQ(linked, 2500);
  EXPECT_EQ(unlinked, 2500);
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
