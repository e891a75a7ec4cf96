#include <gtest/gtest.h>

#include "form_encoding.h"
#include "gbk.h"
#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

httplib::Result post_login(const LiveSite& site, const std::string& form) {
  return site.client().Post("/Login.do", form, "application/x-www-form-urlencoded");
}

// The log line of the only sign-in so far.
std::string login_line(const LiveSite& site) {
  for (const auto& line : site.log_lines()) {
    if (line.rfind("POST /Login.do ", 0) == 0) return line;
  }
  return {};
}

TEST(Login, RightPasswordOpensASessionAndShowsHome) {
  LiveSite site;
  auto res = post_login(site, "email=demo%40example.com&password=demo");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_NE(res->body.find("<body id=\"home\" class=\""), std::string::npos);
  std::string cookie = res->get_header_value("Set-Cookie");
  EXPECT_EQ(cookie.rfind("xnsid=", 0), 0u);
  EXPECT_NE(cookie.find("; path=/"), std::string::npos);
  // A session cookie: it ends with the browser.
  EXPECT_EQ(cookie.find("xpires"), std::string::npos);
  EXPECT_EQ(cookie.find("Max-Age"), std::string::npos);

  auto album = site.get("/getalbum.do?id=1001&owner=222300001", cookie.substr(0, cookie.find(';')));
  ASSERT_TRUE(album);
  EXPECT_EQ(album_entries(album->body).size(), 12u);
}

TEST(Login, EachSignInGetsItsOwnSession) {
  LiveSite site;
  std::string a = site.sign_in(), b = site.sign_in();
  EXPECT_FALSE(a.empty());
  EXPECT_NE(a, b);
}

TEST(Login, ForgottenSessionsGetWhatASignedOutVisitorGets) {
  LiveSite site;
  const std::string album = "/getalbum.do?id=1001&owner=222300001";
  std::string a = site.sign_in(), b = site.sign_in();
  ASSERT_EQ(site.client().Post("/_ctl/forget-sessions", "", "text/plain")->status, 200);
  std::string signed_out = site.get(album)->body;
  EXPECT_EQ(site.get(album, a)->body, signed_out);
  EXPECT_EQ(site.get(album, b)->body, signed_out);
  auto lines = site.log_lines();  // kept: it tells what the client did before and after
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].rfind("GET " + album + " cookie=0 ", 0), 0u) << lines[3];
  EXPECT_EQ(album_entries(site.get(album, site.sign_in())->body).size(), 12u);  // signing in again works
}

TEST(Login, WrongDetailsGiveTheLoginPageWithoutCookie) {
  LiveSite site;
  for (std::string form : {"email=demo%40example.com&password=dem", "email=nobody%40example.com&password=demo",
                                  "email=demo%40example.com", ""}) {
    auto res = post_login(site, form);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_FALSE(res->has_header("Set-Cookie")) << form;
    EXPECT_NE(res->body.find("<body id=\"login\""), std::string::npos);
    EXPECT_EQ(res->body.find("<body id=\"home\""), std::string::npos);
  }
}

TEST(Login, ChinesePasswordMustArriveAsGbk) {
  LiveSite site;
  auto gbk_email = utf8_to_gbk("测试@example.com").value();
  auto gbk_password = utf8_to_gbk("校内密码").value();
  std::string email = "email=" + percent_encode_all(gbk_email);

  auto as_utf8 = post_login(site, email + "&password=" + percent_encode_all("校内密码"));
  ASSERT_TRUE(as_utf8);
  EXPECT_FALSE(as_utf8->has_header("Set-Cookie"));

  site.client().Post("/_ctl/reset", "", "text/plain");
  auto as_gbk = post_login(site, email + "&password=" + percent_encode_all(gbk_password));
  ASSERT_TRUE(as_gbk);
  EXPECT_TRUE(as_gbk->has_header("Set-Cookie"));
  EXPECT_EQ(login_line(site), "POST /Login.do cookie=0 status=200 bytes=" + std::to_string(as_gbk->body.size()) +
                                  " email-hex=" + to_hex(gbk_email) + " password-hex=" + to_hex(gbk_password));
}

TEST(Login, EscapesAreDecodedButPlusIsKept) {
  LiveSite site("account plus@example.com a+b\n");
  // %26 %3D %25 %2B %20 decode to & = % + space; the log shows the bytes the site compared.
  ASSERT_TRUE(post_login(site, "email=x&password=a%26b%3Dc%25d%2Be%20f"));
  EXPECT_NE(login_line(site).find(" email-hex=78 password-hex=" + to_hex("a&b=c%d+e f")), std::string::npos);

  // Older clients send a literal "+", which means "+", not a space.
  EXPECT_FALSE(site.sign_in("email=plus%40example.com&password=a+b").empty());
  EXPECT_TRUE(site.sign_in("email=plus%40example.com&password=a%20b").empty());
  EXPECT_FALSE(site.sign_in("email=plus%40example.com&password=a%2Bb").empty());
}

TEST(Login, MissingFieldsAreLoggedEmpty) {
  LiveSite site;
  ASSERT_TRUE(post_login(site, "password=x"));
  std::string line = login_line(site);
  EXPECT_NE(line.find(" email-hex= password-hex=78"), std::string::npos) << line;
}

}  // namespace
}  // namespace lumadex::site::testing
