#include <gtest/gtest.h>

#include <vector>

#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

std::string album_url(std::int64_t album, std::int64_t owner, int page = -1) {
  std::string url = "/getalbum.do?id=" + std::to_string(album) + "&owner=" + std::to_string(owner);
  return page < 0 ? url : url + "&curpage=" + std::to_string(page);
}

void expect_no_album_markers(const std::string& html) {
  for (const char* marker : {"photoPan", "pager-top", "pager-bottom", "共", "<img id=\"photo\"", "<body id=\"home\""}) {
    EXPECT_EQ(html.find(marker), std::string::npos) << marker;
  }
}

TEST(AlbumPage, SignedOutVisitorsGetNoMarkersAtAll) {
  LiveSite site;
  for (const std::string& cookie : {std::string(), std::string("xnsid=0123456789abcdef0123456789abcdef")}) {
    for (int page : {-1, 0, 2}) {
      auto res = site.get(album_url(1002, 222300001, page), cookie);
      ASSERT_TRUE(res);
      EXPECT_EQ(res->status, 200);
      EXPECT_NE(res->body.find("请先登录"), std::string::npos);
      expect_no_album_markers(res->body);
    }
  }
}

// Every page of a demo album, and one past the last, signed in.
void expect_pages_hold_their_photos(std::int64_t album, int count, std::vector<int> pages = {}) {
  LiveSite site;
  std::string cookie = site.sign_in();
  int page_count = (count + 14) / 15;
  if (pages.empty()) {
    for (int page = 0; page <= page_count; ++page) pages.push_back(page);
  }
  for (int page : pages) {
    SCOPED_TRACE("page " + std::to_string(page));
    auto res = site.get(album_url(album, 222300001, page), cookie);
    ASSERT_TRUE(res);
    const std::string& html = res->body;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(occurrences(html, "<div class=\"pager-top\">"), 1u);
    EXPECT_EQ(occurrences(html, "<div class=\"pager-bottom\">"), 1u);
    // The count must be the only thing between 共 and 张 anywhere on the page.
    EXPECT_EQ(occurrences(html, "共"), 1u);
    EXPECT_NE(html.find("共 " + std::to_string(count) + " 张"), std::string::npos);

    auto entries = album_entries(html);
    int first = page * 15 + 1;
    int expected = std::max(0, std::min(15, count - first + 1));
    ASSERT_EQ(static_cast<int>(entries.size()), expected);
    for (int i = 0; i < expected; ++i) {
      const auto& e = entries[static_cast<std::size_t>(i)];
      EXPECT_TRUE(e.has_link);
      EXPECT_EQ(e.photo_id, album * 100000 + first + i);
      EXPECT_EQ(e.link, "http://" + site.host() + "/getphoto.do?id=" + std::to_string(e.photo_id) + "&owner=222300001");
    }
  }
  // Without curpage the site shows the first page.
  auto first = site.get(album_url(album, 222300001), cookie);
  ASSERT_TRUE(first);
  auto listed = album_entries(first->body);
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed.front().photo_id, album * 100000 + 1);
}

TEST(AlbumPage, OnePageAlbumListsAllTwelve) { expect_pages_hold_their_photos(1001, 12); }
TEST(AlbumPage, ShortLastPageHoldsTheRemainingTen) { expect_pages_hold_their_photos(1002, 40); }
TEST(AlbumPage, TwoFullPagesHoldFifteenEach) { expect_pages_hold_their_photos(1003, 30); }
// 667 pages, the last with 10: the first ones, the middle, the last two and one past them.
TEST(AlbumPage, TenThousandPhotosKeepPagesOfFifteen) {
  expect_pages_hold_their_photos(1005, 10000, {0, 1, 2, 333, 665, 666, 667});
}

TEST(AlbumPage, AddressesFollowTheHostTheVisitorUsed) {
  LiveSite site;
  std::string cookie = site.sign_in();
  httplib::Headers headers{{"Cookie", cookie}, {"Host", "localhost:" + std::to_string(site.port())}};
  auto res = site.client().Get(album_url(1001, 222300001).c_str(), headers);
  ASSERT_TRUE(res);
  auto entries = album_entries(res->body);
  ASSERT_EQ(entries.size(), 12u);
  std::string base = "http://localhost:" + std::to_string(site.port()) + "/";
  EXPECT_EQ(entries[0].link.rfind(base + "getphoto.do?", 0), 0u) << entries[0].link;
  EXPECT_NE(res->body.find("src=\"" + base + "photos/1001/1/thumb_"), std::string::npos);
  EXPECT_EQ(res->body.find("127.0.0.1"), std::string::npos);
}

TEST(AlbumPage, QueryKeysMayComeInAnyOrder) {
  LiveSite site;
  std::string cookie = site.sign_in();
  auto res = site.get("/getalbum.do?curpage=1&owner=222300001&id=1002", cookie);
  ASSERT_TRUE(res);
  auto entries = album_entries(res->body);
  ASSERT_EQ(entries.size(), 15u);
  EXPECT_EQ(entries[0].photo_id, 100200016);
}

TEST(AlbumPage, UnknownAlbumOrWrongOwnerIsAPlainMissingPage) {
  LiveSite site;
  std::string cookie = site.sign_in();
  for (const std::string& url : {album_url(999, 222300001), album_url(1002, 222300002), std::string("/getalbum.do?id=1002"),
                                 std::string("/getalbum.do?id=abc&owner=222300001")}) {
    auto res = site.get(url, cookie);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_NE(res->body.find("相册不存在"), std::string::npos) << url;
    expect_no_album_markers(res->body);
  }
}

TEST(AlbumPage, EmptyAlbumKeepsItsMarkers) {
  LiveSite site("account a@example.com pw\nalbum 7 owner=5 count=0\n");
  std::string cookie = site.sign_in("email=a%40example.com&password=pw");
  auto res = site.get(album_url(7, 5), cookie);
  ASSERT_TRUE(res);
  EXPECT_NE(res->body.find("共 0 张"), std::string::npos);
  EXPECT_NE(res->body.find("pager-top"), std::string::npos);
  EXPECT_NE(res->body.find("pager-bottom"), std::string::npos);
  EXPECT_TRUE(album_entries(res->body).empty());
}

}  // namespace
}  // namespace lumadex::site::testing
