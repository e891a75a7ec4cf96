#include "services/cookie_jar.h"

#include <gtest/gtest.h>

#include <string>

namespace lumadex {
namespace {

constexpr CookieTime kNow = 1'700'000'000;  // 2023-11-14 22:13:20 UTC

TEST(CookieDate, ReadsTheFormsSitesWrite) {
  // 1994-11-06 08:49:37 UTC, written the three ways HTTP dates have been written.
  constexpr CookieTime kSunday = 784111777;
  EXPECT_EQ(ParseCookieDate("Sun, 06 Nov 1994 08:49:37 GMT"), kSunday);
  EXPECT_EQ(ParseCookieDate("Sunday, 06-Nov-94 08:49:37 GMT"), kSunday);
  EXPECT_EQ(ParseCookieDate("Sun Nov  6 08:49:37 1994"), kSunday);
  EXPECT_EQ(ParseCookieDate("Thu, 01 Jan 1970 00:00:00 GMT"), 0);
  EXPECT_EQ(ParseCookieDate("Tue, 29 Feb 2028 23:59:59 GMT"), 1835481599);
  EXPECT_EQ(ParseCookieDate("1 JANUARY 00 0:0:0"), 946684800);  // two-digit years below 70 are 20xx
}

TEST(CookieDate, RefusesWhatNamesNoDate) {
  EXPECT_FALSE(ParseCookieDate(""));
  EXPECT_FALSE(ParseCookieDate("tomorrow"));
  EXPECT_FALSE(ParseCookieDate("Sun, 06 Nov 1994 GMT"));             // no time
  EXPECT_FALSE(ParseCookieDate("Fri, 30 Feb 2024 10:00:00 GMT"));    // no such day
  EXPECT_FALSE(ParseCookieDate("Mon, 29 Feb 2100 10:00:00 GMT"));    // 2100 is no leap year
  EXPECT_FALSE(ParseCookieDate("Sun, 06 Nov 1994 24:00:00 GMT"));
  EXPECT_FALSE(ParseCookieDate("Sun, 06 Nov 1600 08:49:37 GMT"));
  EXPECT_FALSE(ParseCookieDate("Sun, 06 Nov 123456 08:49:37 GMT"));  // no five-digit year
}

TEST(CookieJar, TheSignInCookieGoesBackToItsHostOnly) {
  CookieJar jar;
  EXPECT_TRUE(jar.Take("xnsid=abc123; path=/", "127.0.0.1", "/Login.do", false, kNow));
  EXPECT_EQ(jar.HeaderFor("127.0.0.1", "/getalbum.do?id=1001&owner=222300001", false, kNow), "xnsid=abc123");
  EXPECT_EQ(jar.HeaderFor("127.0.0.1", "/photos/1001/1/a.jpg", false, kNow + 86400), "xnsid=abc123");
  // Another host, even one that looks related, gets nothing.
  EXPECT_EQ(jar.HeaderFor("127.0.0.2", "/", false, kNow), "");
  EXPECT_EQ(jar.HeaderFor("localhost", "/", false, kNow), "");
  EXPECT_EQ(jar.HeaderFor("x.127.0.0.1", "/", false, kNow), "");

  CookieJar named;
  named.Take("s=1", "login.xiaonei.example", "/Login.do", false, kNow);
  EXPECT_EQ(named.HeaderFor("LOGIN.Xiaonei.example", "/", false, kNow), "s=1");
  EXPECT_EQ(named.HeaderFor("photo.xiaonei.example", "/", false, kNow), "");
  EXPECT_EQ(named.HeaderFor("sub.login.xiaonei.example", "/", false, kNow), "");
}

TEST(CookieJar, DomainCookiesReachSubdomainsButHostsCannotSetOthers) {
  CookieJar jar;
  EXPECT_TRUE(jar.Take("s=1; Domain=.xiaonei.example; Path=/", "login.xiaonei.example", "/Login.do", false, kNow));
  EXPECT_EQ(jar.HeaderFor("photo.xiaonei.example", "/getalbum.do", false, kNow), "s=1");
  EXPECT_EQ(jar.HeaderFor("xiaonei.example", "/", false, kNow), "s=1");
  EXPECT_EQ(jar.HeaderFor("evilxiaonei.example", "/", false, kNow), "");
  EXPECT_EQ(jar.HeaderFor("xiaonei.example.evil", "/", false, kNow), "");

  EXPECT_FALSE(jar.Take("t=1; Domain=other.example", "login.xiaonei.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("t=1; Domain=photo.xiaonei.example", "login.xiaonei.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("t=1; Domain=example", "login.xiaonei.example", "/", false, kNow));  // a bare suffix
  EXPECT_FALSE(jar.Take("t=1; Domain=0.0.1", "127.0.0.1", "/", false, kNow));  // addresses match only themselves
  EXPECT_TRUE(jar.Take("t=1; Domain=127.0.0.1", "127.0.0.1", "/", false, kNow));
  EXPECT_EQ(jar.cookies().size(), 2u);
}

TEST(CookieJar, PathsLimitWhereACookieGoesAndOrderTheHeader) {
  CookieJar jar;
  jar.Take("top=1; Path=/", "h.example", "/", false, kNow);
  jar.Take("deep=2; Path=/photos/1001", "h.example", "/", false, kNow);
  jar.Take("folder=3", "h.example", "/album/list.do?x=/y/z", false, kNow);  // no Path: the request's folder
  EXPECT_EQ(jar.HeaderFor("h.example", "/photos/1001/7/a.jpg", false, kNow), "deep=2; top=1");
  EXPECT_EQ(jar.HeaderFor("h.example", "/photos/1001", false, kNow), "deep=2; top=1");
  EXPECT_EQ(jar.HeaderFor("h.example", "/photos/10011/a.jpg", false, kNow), "top=1");  // not a path boundary
  EXPECT_EQ(jar.HeaderFor("h.example", "/album/show.do", false, kNow), "folder=3; top=1");
  EXPECT_EQ(jar.HeaderFor("h.example", "/albums", false, kNow), "top=1");
  EXPECT_EQ(jar.HeaderFor("h.example", "", false, kNow), "top=1");
}

TEST(CookieJar, ALaterSetCookieReplacesOrDeletes) {
  CookieJar jar;
  jar.Take("xnsid=first; path=/", "h.example", "/Login.do", false, kNow);
  jar.Take("other=x; path=/", "h.example", "/", false, kNow);
  EXPECT_TRUE(jar.Take("xnsid=second; path=/", "h.example", "/Login.do", false, kNow + 5));
  // The replacement keeps the place of the first: older cookies go first.
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow + 5), "xnsid=second; other=x");
  EXPECT_EQ(jar.cookies().size(), 2u);

  // The same name under another path is another cookie.
  jar.Take("xnsid=narrow; path=/photos", "h.example", "/", false, kNow + 5);
  EXPECT_EQ(jar.HeaderFor("h.example", "/photos/1", false, kNow + 5), "xnsid=narrow; xnsid=second; other=x");

  // An expiry in the past deletes, with Expires and with Max-Age.
  EXPECT_TRUE(jar.Take("xnsid=; path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT", "h.example", "/", false, kNow + 6));
  EXPECT_TRUE(jar.Take("xnsid=gone; Path=/photos; Max-Age=0", "h.example", "/", false, kNow + 6));
  EXPECT_EQ(jar.HeaderFor("h.example", "/photos/1", false, kNow + 6), "other=x");
  EXPECT_FALSE(jar.Take("never=1; Max-Age=-5", "h.example", "/", false, kNow + 6));
}

TEST(CookieJar, CookiesEndWhenTheyExpire) {
  CookieJar jar;
  jar.Take("short=1; Max-Age=60", "h.example", "/", false, kNow);
  jar.Take("dated=2; Expires=Wed, 15 Nov 2023 00:00:00 GMT", "h.example", "/", false, kNow);
  // Max-Age wins over Expires, whichever comes first.
  jar.Take("both=3; Max-Age=10; Expires=Fri, 01 Jan 2100 00:00:00 GMT", "h.example", "/", false, kNow);
  jar.Take("junk=4; Max-Age=soon; Expires=whenever", "h.example", "/", false, kNow);  // unreadable: session cookie
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow), "short=1; dated=2; both=3; junk=4");
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow + 10), "short=1; dated=2; junk=4");
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow + 60), "dated=2; junk=4");
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, 1700006400), "junk=4");
  // An absurd Max-Age neither overflows nor expires the cookie.
  jar.Take("far=5; Max-Age=99999999999999999999999999", "h.example", "/", false, kNow);
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow + 1'000'000'000), "junk=4; far=5");
}

TEST(CookieJar, MalformedAndHostileCookiesAreIgnored) {
  CookieJar jar;
  EXPECT_FALSE(jar.Take("", "h.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("novalue", "h.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("=value", "h.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("a=1\r\nX-Injected: yes", "h.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("big=" + std::string(CookieJar::kMaxCookieBytes, 'x'), "h.example", "/", false, kNow));
  EXPECT_FALSE(jar.Take("a=1", "", "/", false, kNow));
  // Secure cookies: not from a plain answer, and never sent over plain HTTP.
  EXPECT_FALSE(jar.Take("s=1; Secure", "h.example", "/", false, kNow));
  EXPECT_TRUE(jar.Take("s=1; Secure", "h.example", "/", true, kNow));
  EXPECT_EQ(jar.HeaderFor("h.example", "/", false, kNow), "");
  EXPECT_EQ(jar.HeaderFor("h.example", "/", true, kNow), "s=1");
  // Spaces around names and values go; an empty value is a value; "=" may be in one.
  EXPECT_TRUE(jar.Take("  sp = a=b==  ; path=/", "h.example", "/", false, kNow));
  EXPECT_TRUE(jar.Take("empty=", "h.example", "/", false, kNow));
  EXPECT_EQ(jar.HeaderFor("h.example", "/", true, kNow), "s=1; sp=a=b==; empty=");
}

TEST(CookieJar, AFloodingSiteCannotGrowTheJarWithoutEnd) {
  CookieJar jar;
  for (size_t i = 0; i < CookieJar::kMaxPerDomain + 10; ++i)
    jar.Take(std::string("c").append(std::to_string(i)).append("=v"), "flood.example", "/", false, kNow);
  EXPECT_EQ(jar.cookies().size(), CookieJar::kMaxPerDomain);
  // The oldest went; the newest are all there.
  const std::string header = jar.HeaderFor("flood.example", "/", false, kNow);
  EXPECT_EQ(header.find("c0=v"), std::string::npos);
  EXPECT_NE(header.find("c59=v"), std::string::npos);

  for (size_t i = 0; i < CookieJar::kMaxCookies + 10; ++i)
    jar.Take("x=1", std::string("h").append(std::to_string(i)).append(".example"), "/", false, kNow);
  EXPECT_EQ(jar.cookies().size(), CookieJar::kMaxCookies);
  EXPECT_EQ(jar.HeaderFor("h0.example", "/", false, kNow), "");
  EXPECT_EQ(jar.HeaderFor("h1009.example", "/", false, kNow), "x=1");

  jar.Clear();
  EXPECT_TRUE(jar.cookies().empty());
}

}  // namespace
}  // namespace lumadex
