#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "catalog_parser.h"
#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kAlbum2 = "/getalbum.do?id=1002&owner=222300001";

std::string raw_get(const LiveSite& site, const std::string& target, const std::string& cookie) {
  return "GET " + target + " HTTP/1.1\r\nHost: " + site.host() + "\r\nCookie: " + cookie + "\r\nConnection: close\r\n\r\n";
}

TEST(Faults, LatencyDelaysOnlyItsTarget) {
  LiveSite site("demo\nfault 1002 first latency 400\n");
  std::string cookie = site.sign_in();
  auto start = Clock::now();
  auto res = site.get(kAlbum2, cookie);
  auto slow = Clock::now() - start;
  ASSERT_TRUE(res);
  EXPECT_EQ(album_entries(res->body).size(), 15u);  // delayed, not changed
  EXPECT_GE(slow, std::chrono::milliseconds(350));

  start = Clock::now();
  ASSERT_TRUE(site.get(kAlbum2 + "&curpage=0", cookie));  // page:0 is not "first"
  EXPECT_LT(Clock::now() - start, slow);
}

TEST(Faults, ANamedPhotosLatencyLetsTheNextOneOvertakeIt) {
  LiveSite site("demo\nfault 1001 photo:3 latency 400\n");
  site.server().state().photos.use_small_photos(true);
  auto third = std::async(std::launch::async, [&] { return site.get("/photos/1001/3/x.jpg"); });
  // Its connection is being served (beside the one asking) before the fourth is sent.
  for (int i = 0; i < 200 && site_stat(site, "connections") < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(site.get("/photos/1001/4/x.jpg")->status, 200);
  EXPECT_EQ(third.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  EXPECT_EQ(third.get()->status, 200);
  auto log = site.log_lines();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("GET /photos/1001/4/", 0), 0u);
  EXPECT_EQ(log[1].rfind("GET /photos/1001/3/", 0), 0u);
}

TEST(Faults, HangSendsNothingThenClosesWithoutStallingOthers) {
  LiveSite site("demo\nfault 1002 page:1 hang 2\n");
  std::string cookie = site.sign_in();
  auto hung = std::async(std::launch::async, [&] { return raw_exchange(site.port(), raw_get(site, kAlbum2 + "&curpage=1", cookie)); });
  ASSERT_TRUE(site.wait_for_log("GET " + kAlbum2 + "&curpage=1 cookie=1 status=200 bytes=0"));

  // While it hangs, other requests are answered.
  auto other = site.get(kAlbum2 + "&curpage=2", cookie);
  ASSERT_TRUE(other);
  EXPECT_EQ(album_entries(other->body).size(), 10u);
  EXPECT_EQ(hung.wait_for(std::chrono::seconds(0)), std::future_status::timeout);

  EXPECT_EQ(hung.get(), "");  // closed without a byte of response
}

TEST(Faults, StoppingTheSiteEndsAHang) {
  auto site = std::make_unique<LiveSite>("demo\nfault * photos hang\n");  // 120 s by default
  auto hung = std::async(std::launch::async, [&, port = site->port()] {
    return raw_exchange(port, "GET /photos/1001/1/x.jpg HTTP/1.1\r\nHost: h\r\n\r\n", 60000);
  });
  ASSERT_TRUE(site->wait_for_log("GET /photos/1001/1/x.jpg"));
  auto stopping = std::async(std::launch::async, [&] { site->stop(); });
  ASSERT_EQ(stopping.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  ASSERT_EQ(hung.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(hung.get(), "");
}

TEST(Faults, StatusAnswersWithThatCodeAndAnHtmlBody) {
  LiveSite site("demo\nfault * photo:3 status 503\nfault 1002 photopages status 404\n");
  auto photo = site.get("/photos/1001/3/x.jpg");
  ASSERT_TRUE(photo);
  EXPECT_EQ(photo->status, 503);
  EXPECT_EQ(photo->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(photo->body.find("<html>"), std::string::npos);
  auto neighbour = site.get("/photos/1001/4/x.jpg");
  ASSERT_TRUE(neighbour);
  EXPECT_EQ(neighbour->status, 200);

  auto page = site.get("/getphoto.do?id=100200001&owner=222300001", site.sign_in());
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 404);
  auto log = site.log_lines();
  ASSERT_GE(log.size(), 1u);
  EXPECT_EQ(log[0], "GET /photos/1001/3/x.jpg cookie=0 status=503 bytes=" + std::to_string(photo->body.size()));
}

TEST(Faults, NarrowestRuleWins) {
  LiveSite site("demo\nfault * pages status 500\nfault 1002 pages status 502\nfault * page:1 status 404\n"
                "fault 1002 page:1 status 503\n");
  std::string cookie = site.sign_in();
  auto status_of = [&](const std::string& url) {
    auto res = site.get(url, cookie);
    return res ? res->status : -1;
  };
  EXPECT_EQ(status_of("/getalbum.do?id=1001&owner=222300001"), 500);
  EXPECT_EQ(status_of("/getalbum.do?id=1001&owner=222300001&curpage=1"), 404);
  EXPECT_EQ(status_of(kAlbum2), 502);
  EXPECT_EQ(status_of(kAlbum2 + "&curpage=1"), 503);
}

TEST(Faults, EmptyIsA200WithNoBody) {
  LiveSite site("demo\nfault * login empty\n");
  std::string form = "email=demo%40example.com&password=demo";
  std::string reply = raw_exchange(site.port(), "POST /Login.do HTTP/1.1\r\nHost: h\r\nContent-Length: " +
                                                    std::to_string(form.size()) + "\r\nConnection: close\r\n\r\n" + form);
  EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u) << reply;
  EXPECT_NE(reply.find("Content-Length: 0\r\n"), std::string::npos);
  EXPECT_EQ(reply.find("Set-Cookie"), std::string::npos);
  EXPECT_EQ(reply.substr(reply.find("\r\n\r\n") + 4), "");
}

TEST(Faults, TruncateSendsLessThanItPromises) {
  LiveSite site("demo\nfault 1002 photo:7 truncate\nfault 1002 first truncate\n");
  std::string cookie = site.sign_in();
  for (const std::string& target : {std::string("/photos/1002/7/x.jpg"), kAlbum2}) {
    std::string reply = raw_exchange(site.port(), raw_get(site, target, cookie));
    auto header_end = reply.find("\r\n\r\n");
    ASSERT_NE(header_end, std::string::npos) << target;
    auto length_at = reply.find("Content-Length: ");
    ASSERT_LT(length_at, header_end);
    std::size_t promised = std::stoul(reply.substr(length_at + 16));
    std::size_t got = reply.size() - header_end - 4;
    EXPECT_GT(got, 0u);
    EXPECT_LT(got, promised) << target;
    EXPECT_TRUE(site.wait_for_log("GET " + target + " cookie=1 status=200 bytes=" + std::to_string(got)));
  }
}

TEST(FaultPlan, EndlessAndHugeAreOutcomesThatTheNarrowestRulePicks) {
  auto rules = parse_catalog("demo\nfault * photos huge\nfault 1001 photo:2 endless\nfault 1001 photo:3 status 500\n"
                             "fault * photos latency 20\n").catalog->faults;
  auto photo = [&](std::int64_t n) { return plan_faults(rules, {RequestFamily::PhotoFile, 1001, {}, n}); };
  EXPECT_EQ(photo(1).outcome, Outcome::Huge);
  EXPECT_EQ(photo(1).latency, std::chrono::milliseconds(20));  // latency is of its own sort
  EXPECT_EQ(photo(2).outcome, Outcome::Endless);
  EXPECT_EQ(photo(3).outcome, Outcome::Status);
  EXPECT_EQ(plan_faults(rules, {RequestFamily::PhotoPage, 1001, {}, 1}).outcome, Outcome::Normal);
}

// Reads `most` bytes of a streamed answer, hangs up, and checks the site lets go of it.
class Streams : public ::testing::Test {
 protected:
  Streams()
      : site("demo\nfault 1001 photo:1 endless\nfault 1001 photo:2 huge\nfault 1002 first endless\n") {}

  std::string read_and_leave(const std::string& request, std::size_t most) {
    std::string got = raw_exchange(site.port(), request, 10000, most);
    EXPECT_GE(got.size(), most) << "the stream ended early";
    return got;
  }
  void expect_let_go(const std::string& log_prefix, std::size_t at_least) {
    EXPECT_TRUE(site.wait_for_log(log_prefix));
    for (int i = 0; i < 200 && site_stat(site, "streams") != 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_EQ(site_stat(site, "streams"), 0);
    for (const auto& line : site.log_lines()) {
      if (line.rfind(log_prefix, 0) != 0) continue;
      EXPECT_GE(std::stoull(line.substr(line.find(" bytes=") + 7)), at_least) << line;
    }
    // The thread it held is free for others.
    auto next = site.get("/photos/1001/5/x.jpg");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->status, 200);
  }

  LiveSite site;
};

std::string head_of(const std::string& reply) { return reply.substr(0, reply.find("\r\n\r\n") + 4); }

TEST_F(Streams, EndlessPhotoIsChunkedFillerAfterHalfThePhoto) {
  const std::size_t kRead = 2 << 20;  // far more than any photo
  std::string reply = read_and_leave("GET /photos/1001/1/x.jpg HTTP/1.1\r\nHost: h\r\n\r\n", kRead);
  std::string head = head_of(reply);
  EXPECT_NE(head.find("Transfer-Encoding: chunked\r\n"), std::string::npos) << head;
  EXPECT_EQ(head.find("Content-Length"), std::string::npos) << head;
  // The first chunk is the real photo's first half; nothing after it ends the picture.
  std::string body = reply.substr(head.size());
  std::string photo = site.get("/_ctl/photo?album=1001&n=1")->body;
  std::size_t first = std::stoul(body, nullptr, 16);
  EXPECT_EQ(first, photo.size() / 2);
  EXPECT_EQ(body.substr(body.find("\r\n") + 2, first), photo.substr(0, first));
  EXPECT_EQ(body.find("\xFF\xD9"), std::string::npos);
  expect_let_go("GET /photos/1001/1/", kRead / 2);
}

TEST_F(Streams, EndlessPageNeverReachesItsEnd) {
  std::string reply = read_and_leave(raw_get(site, kAlbum2, site.sign_in()), 1 << 20);
  EXPECT_NE(reply.find("pager-top"), std::string::npos);
  EXPECT_EQ(reply.find("pager-bottom"), std::string::npos);
  expect_let_go("GET " + kAlbum2 + " cookie=1 status=200", 1 << 19);
}

TEST_F(Streams, HugeAnnouncesThreeGigabytesAndKeepsSending) {
  std::string reply = read_and_leave("GET /photos/1001/2/x.jpg HTTP/1.1\r\nHost: h\r\n\r\n", 4 << 20);
  std::string head = head_of(reply);
  EXPECT_NE(head.find("Content-Length: 3000000000\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Connection: close\r\n"), std::string::npos) << head;
  std::string photo = site.get("/_ctl/photo?album=1001&n=2")->body;
  EXPECT_EQ(reply.substr(head.size(), photo.size() / 2), photo.substr(0, photo.size() / 2));
  expect_let_go("GET /photos/1001/2/", 2 << 20);
}

TEST(Faults, NolinkTakesTheLinkButKeepsTheEntry) {
  LiveSite site("demo\nfault 1002 entry:17 nolink\n");
  auto res = site.get(kAlbum2 + "&curpage=1", site.sign_in());
  ASSERT_TRUE(res);
  auto entries = album_entries(res->body);
  ASSERT_EQ(entries.size(), 15u);
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].has_link, i != 1) << i;
}

TEST(Faults, MarkersCanBeRemovedOneByOne) {
  struct Case {
    const char* kind;
    const char* gone;
  };
  for (const Case c : {Case{"no-photoPan", "photoPan"}, Case{"no-pager-top", "pager-top"},
                       Case{"no-pager-bottom", "pager-bottom"}}) {
    LiveSite site(std::string("demo\nfault 1002 page:0 ") + c.kind + "\n");
    std::string cookie = site.sign_in();
    auto res = site.get(kAlbum2 + "&curpage=0", cookie);
    ASSERT_TRUE(res);
    for (const char* marker : {"photoPan", "pager-top", "pager-bottom"}) {
      EXPECT_EQ(res->body.find(marker) == std::string::npos, std::string(marker) == c.gone) << c.kind << " " << marker;
    }
    auto untouched = site.get(kAlbum2 + "&curpage=1", cookie);
    ASSERT_TRUE(untouched);
    EXPECT_NE(untouched->body.find(c.gone), std::string::npos);
  }
}

TEST(Faults, CountTextReplacesWhatIsBetweenTheMarks) {
  LiveSite site("demo\nfault 1002 pages count  7 \nfault 1003 pages count abc\nfault 1001 first count 40000\n");
  std::string cookie = site.sign_in();
  auto body_of = [&](const std::string& url) { return site.get(url, cookie)->body; };
  EXPECT_NE(body_of(kAlbum2).find("共 7 张"), std::string::npos);
  EXPECT_NE(body_of("/getalbum.do?id=1003&owner=222300001").find("共abc张"), std::string::npos);
  EXPECT_NE(body_of("/getalbum.do?id=1001&owner=222300001").find("共40000张"), std::string::npos);
  EXPECT_EQ(album_entries(body_of(kAlbum2)).size(), 15u);
}

TEST(Faults, NoImgTakesThePhotoAwayFromItsPage) {
  LiveSite site("demo\nfault 1001 photopage:2 no-img\n");
  std::string cookie = site.sign_in();
  auto bare = site.get("/getphoto.do?id=100100002&owner=222300001", cookie);
  auto normal = site.get("/getphoto.do?id=100100003&owner=222300001", cookie);
  ASSERT_TRUE(bare && normal);
  EXPECT_EQ(bare->status, 200);
  EXPECT_EQ(bare->body.find("<img id=\"photo\" src=\""), std::string::npos);
  EXPECT_NE(normal->body.find("<img id=\"photo\" src=\""), std::string::npos);
}

}  // namespace
}  // namespace lumadex::site::testing
