#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

// These tests are about connections, not pictures: small photos keep them quick.
TEST(Connections, OneConnectionCarriesHundredsOfRequestsInOrder) {
  LiveSite site;
  site.server().state().photos.use_small_photos(true);
  // All sent at once on one socket; only the last asks the site to close.
  std::string requests;
  for (int i = 1; i <= 300; ++i) {
    std::string target = i == 150 ? "/nothing-here" : "/photos/1001/" + std::to_string(i % 12 + 1) + "/x.jpg";
    requests += "GET " + target + " HTTP/1.1\r\nHost: h\r\n" + (i == 300 ? "Connection: close\r\n" : "") + "\r\n";
  }
  std::string replies = raw_exchange(site.port(), requests);
  EXPECT_EQ(occurrences(replies, "HTTP/1.1 200 OK\r\n"), 299u);
  auto missing = replies.find("HTTP/1.1 404 Not Found\r\n");
  ASSERT_NE(missing, std::string::npos);
  EXPECT_EQ(occurrences(replies.substr(0, missing), "HTTP/1.1 200 OK\r\n"), 149u);
  EXPECT_EQ(replies.substr(replies.size() - 2), "\xFF\xD9");  // the last photo arrived whole
}

TEST(Connections, SlowRequestsAreAnsweredSideBySide) {
  LiveSite site("demo\nfault * photos latency 300\n");
  site.server().state().photos.use_small_photos(true);
  constexpr int kSlow = 6;
  auto start = std::chrono::steady_clock::now();
  std::vector<std::future<int>> slow;
  for (int i = 1; i <= kSlow; ++i) {
    slow.push_back(std::async(std::launch::async, [&site, i] {
      auto res = site.get("/photos/1002/" + std::to_string(i) + "/x.jpg");
      return res ? res->status : -1;
    }));
  }
  for (auto& s : slow) EXPECT_EQ(s.get(), 200);
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(300));
  // One after another they would take 6 x 300 ms; side by side, about one of them.
  EXPECT_LT(took, std::chrono::milliseconds(3 * 300));
}

// A client that keeps connections open, more than the site has threads, each idle after
// one answer: one more client must still get in long before the keep-alive time runs out.
TEST(Connections, IdleKeptAliveConnectionsMakeWayForNewOnes) {
  LiveSite site;
  std::vector<int> idle;
  const std::string ask = "GET /_ctl/health HTTP/1.1\r\nHost: h\r\n\r\n";
  auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < SiteHttpServer::kThreads + 4; ++i) {
    if (i == SiteHttpServer::kThreads) start = std::chrono::steady_clock::now();  // every thread is taken now
    int fd = connect_to(site.port());
    ASSERT_GE(fd, 0);
    idle.push_back(fd);
    ASSERT_EQ(::send(fd, ask.data(), ask.size(), MSG_NOSIGNAL), static_cast<ssize_t>(ask.size()));
    char buf[1024];
    ASSERT_GT(::recv(fd, buf, sizeof buf, 0), 0) << "connection " << i << " got no answer";
  }
  auto page = site.get("/getuser.do?id=222300001");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // keep-alive lasts 15 s
  EXPECT_LE(site_stat(site, "connections"), static_cast<std::int64_t>(SiteHttpServer::kThreads));
  for (int fd : idle) ::close(fd);
}

TEST(Connections, ManyHangingRequestsDoNotStarveTheRest) {
  LiveSite site("demo\nfault * photos hang 5\n");
  site.server().state().photos.use_small_photos(true);
  constexpr std::size_t kHanging = 40;
  std::vector<std::future<std::string>> hung;
  for (std::size_t i = 0; i < kHanging; ++i) {
    hung.push_back(std::async(std::launch::async, [&site, i] {
      return raw_exchange(site.port(), "GET /photos/1003/" + std::to_string(i % 30 + 1) + "/x.jpg HTTP/1.1\r\nHost: h\r\n\r\n");
    }));
  }
  ASSERT_TRUE(site.wait_for_log("GET /photos/1003/", kHanging));

  auto page = site.get("/getuser.do?id=222300001", site.sign_in());
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(hung.front().wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  for (auto& h : hung) EXPECT_EQ(h.get(), "");
}

}  // namespace
}  // namespace lumadex::site::testing
