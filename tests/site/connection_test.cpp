#include <gtest/gtest.h>

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
