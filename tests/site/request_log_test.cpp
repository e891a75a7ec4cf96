#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

TEST(RequestLog, OneLinePerRequestWithRawTargetCookieStatusAndBytes) {
  LiveSite site;
  std::string cookie = site.sign_in();
  site.client().Post("/_ctl/reset", "", "text/plain");

  // Sent by hand: httplib's client would re-encode the "+".
  const std::string odd_query = "/getalbum.do?owner=222300001&id=1001&x=%41+b%zz";
  std::string page = raw_exchange(site.port(), "GET " + odd_query + " HTTP/1.1\r\nHost: h\r\nCookie: " + cookie +
                                                   "\r\nConnection: close\r\n\r\n");
  ASSERT_NE(page.find("\r\n\r\n"), std::string::npos);
  std::size_t page_bytes = page.size() - page.find("\r\n\r\n") - 4;
  auto signed_out = site.get("/getuser.do?id=222300001");
  auto missing = site.get("/no/such/page");
  auto stale = site.get("/getuser.do?id=1", "xnsid=ffffffffffffffffffffffffffffffff");
  ASSERT_TRUE(signed_out && missing && stale);
  site.get("/_ctl/health");

  auto lines = site.log_lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "GET " + odd_query + " cookie=1 status=200 bytes=" + std::to_string(page_bytes));
  EXPECT_EQ(lines[1], "GET /getuser.do?id=222300001 cookie=0 status=200 bytes=" + std::to_string(signed_out->body.size()));
  EXPECT_EQ(lines[2], "GET /no/such/page cookie=0 status=404 bytes=" + std::to_string(missing->body.size()));
  EXPECT_EQ(lines[3].rfind("GET /getuser.do?id=1 cookie=0 ", 0), 0u);
}

TEST(RequestLog, ResetClearsTheLogOnly) {
  LiveSite site;
  std::string cookie = site.sign_in();
  site.client().Post("/_ctl/reset", "", "text/plain");
  EXPECT_TRUE(site.log_lines().empty());
  auto res = site.get("/getalbum.do?id=1001&owner=222300001", cookie);
  ASSERT_TRUE(res);
  EXPECT_EQ(album_entries(res->body).size(), 12u);  // the session survived
  EXPECT_EQ(site.log_lines().size(), 1u);
}

TEST(RequestLog, NewConfigStartsAFreshWorld) {
  LiveSite site;
  std::string cookie = site.sign_in();
  site.configure("# only this\naccount new@example.com pw\nalbum 5 owner=9 count=3\n");
  EXPECT_TRUE(site.log_lines().empty());

  // Old sessions, accounts and albums are gone.
  auto old = site.get("/getalbum.do?id=5&owner=9", cookie);
  ASSERT_TRUE(old);
  EXPECT_EQ(old->body.find("photoPan"), std::string::npos);
  EXPECT_TRUE(site.sign_in().empty());
  std::string fresh = site.sign_in("email=new%40example.com&password=pw");
  auto now = site.get("/getalbum.do?id=5&owner=9", fresh);
  ASSERT_TRUE(now);
  EXPECT_EQ(album_entries(now->body).size(), 3u);
  auto demo_album = site.get("/getalbum.do?id=1001&owner=222300001", fresh);
  EXPECT_NE(demo_album->body.find("相册不存在"), std::string::npos);
}

TEST(RequestLog, BadConfigIsRefusedWithItsLineAndChangesNothing) {
  LiveSite site;
  auto res = site.client().Post("/_ctl/config", "demo\n\nalbum 5 owner=9 count=3\nfault 5 pagez status 500\n", "text/plain");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  EXPECT_EQ(res->body.rfind("line 4:", 0), 0u) << res->body;
  EXPECT_EQ(res->body.find('\n'), std::string::npos);
  EXPECT_FALSE(site.sign_in().empty());  // the demo set is still there
}

TEST(RequestLog, FileGetsEveryLineAsItHappens) {
  char path[] = "/tmp/lumadex-site-log-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    LiveSite site;
    ASSERT_TRUE(site.server().state().log.mirror_to(path));
    site.get("/getuser.do");
    site.client().Post("/_ctl/reset", "", "text/plain");  // clears memory, not the file
    site.get("/photos/1001/1/a.jpg");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("GET /getuser.do cookie=0 status=200"), 0u);
    EXPECT_NE(text.str().find("\nGET /photos/1001/1/a.jpg cookie=0 status=200"), std::string::npos);
  }
  std::remove(path);
}

}  // namespace
}  // namespace lumadex::site::testing
