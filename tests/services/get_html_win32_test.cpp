#include "services/get_html_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "services/ansi_win32.h"
#include "support/form_harness_win32.h"
#include "support/process_memory_win32.h"
#include "support/site_client_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::PrivateBytes;
using test::SiteConfigure;
using test::SiteGet;
using test::SiteLog;
using test::SiteResetLog;
using test::SiteUrl;

constexpr char kAlbumPage[] = "/getalbum.do?id=1001&owner=222300001";
constexpr char kProfilePage[] = "/getuser.do?id=222300001";
constexpr char kDemoSignIn[] = "email=demo%40example.com&password=demo";
constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

// Whether `call` throws a FetchError of the kind expected; the message of whatever it
// threw otherwise.
template <typename Call>
testing::AssertionResult ThrowsFetchError(FetchErrorKind expected, Call&& call) {
  try {
    call();
  } catch (const FetchError& error) {
    if (error.kind() == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "FetchError of kind " << static_cast<int>(error.kind()) << ": "
                                       << error.what();
  } catch (const std::exception& error) {
    return testing::AssertionFailure() << "not a FetchError: " << error.what();
  }
  return testing::AssertionFailure() << "nothing thrown";
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

using test::MessageWindow;

class GetHtmlTest : public testing::Test {
 protected:
  // A fresh configuration also ends every session the site had open.
  void SetUp() override { SiteConfigure("demo\n"); }
  void Configure(const std::string& extra) { SiteConfigure("demo\n" + extra + "\n"); }
};

// --- Text and character sets -------------------------------------------------------------

TEST_F(GetHtmlTest, DecodesThePageInTheCharacterSetNamed) {
  const std::string bytes = SiteGet("/Login.do");
  const std::wstring utf8 = FetchText(SiteUrl("/Login.do"), "UTF-8");
  EXPECT_EQ(utf8, Utf8ToWide(bytes));
  EXPECT_TRUE(Contains(utf8, L"\u6821\u5185\u7f51"));  // 校内网

  // Read as GBK, the same bytes give the system's own code-page-936 reading, not the text.
  const std::wstring gbk = FetchText(SiteUrl("/Login.do"), "gbk");
  EXPECT_EQ(gbk, AnsiToWide(bytes));
  EXPECT_FALSE(Contains(gbk, L"\u6821\u5185\u7f51"));
}

TEST_F(GetHtmlTest, ErrorPagesAndEmptyBodiesComeBackAsText) {
  const std::wstring missing = FetchText(SiteUrl("/no/such/page.do"), "UTF-8");
  EXPECT_FALSE(missing.empty());
  EXPECT_EQ(missing, Utf8ToWide(SiteGet("/no/such/page.do")));

  Configure("fault * profile status 500");
  SiteResetLog();
  const std::wstring failed = FetchText(SiteUrl(kProfilePage), "UTF-8");
  EXPECT_FALSE(failed.empty());
  EXPECT_EQ(failed, Utf8ToWide(SiteGet(kProfilePage)));
  ASSERT_FALSE(SiteLog().empty());
  EXPECT_NE(SiteLog().front().find(" status=500 "), std::string::npos) << SiteLog().front();

  Configure("fault * profile empty");
  EXPECT_EQ(FetchText(SiteUrl(kProfilePage), "UTF-8"), L"");
}

TEST_F(GetHtmlTest, AnUnknownCharacterSetFailsBeforeAnythingIsSent) {
  SiteResetLog();
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Charset, [] { FetchText(SiteUrl("/Login.do"), "klingon"); }));
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Charset, [] { FetchText(SiteUrl("/Login.do"), ""); }));
  EXPECT_TRUE(SiteLog().empty());
}

TEST(BytesToText, DecodesEachFamilyOfCharacterSets) {
  // 相册下载 in GBK, 中文 in Big5, 中 in UTF-16 both ways round.
  EXPECT_EQ(BytesToText("\xcf\xe0\xb2\xe1\xcf\xc2\xd4\xd8", "GBK"), L"\u76f8\u518c\u4e0b\u8f7d");
  EXPECT_EQ(BytesToText("\xcf\xe0\xb2\xe1", "gb2312"), L"\u76f8\u518c");
  EXPECT_EQ(BytesToText("\xa4\xa4\xa4\xe5", "Big5"), L"\u4e2d\u6587");
  EXPECT_EQ(BytesToText("\xd6\xd0" "a", "GB18030"), L"\u4e2da");
  EXPECT_EQ(BytesToText("\xb0\xa1", "EUC-KR"), L"\uac00");
  EXPECT_EQ(BytesToText("\x82\xa0", "Shift_JIS"), L"\u3042");
  EXPECT_EQ(BytesToText("\xe4\xb8\xad\xe6\x96\x87", "utf-8"), L"\u4e2d\u6587");
  EXPECT_EQ(BytesToText("caf\xe9", "ISO-8859-1"), L"caf\u00e9");
  EXPECT_EQ(BytesToText("\x80", "windows-1252"), L"\u20ac");
  EXPECT_EQ(BytesToText(std::string_view("\x2d\x4e" "a\0", 4), "UTF-16LE"), L"\u4e2da");
  EXPECT_EQ(BytesToText(std::string_view("\x4e\x2d\0a", 4), "UTF-16BE"), L"\u4e2da");
}

TEST(BytesToText, ByteOrderMarksAreDroppedAndObeyed) {
  EXPECT_EQ(BytesToText("\xef\xbb\xbfok", "UTF-8"), L"ok");
  EXPECT_EQ(BytesToText(std::string_view("\xff\xfe" "o\0k\0", 6), "UTF-16"), L"ok");
  // A big-endian mark wins over the little-endian default of the bare name.
  EXPECT_EQ(BytesToText(std::string_view("\xfe\xff\0o\0k", 6), "UTF-16"), L"ok");
  // Half a character at the end (a cut-off body) still shows that something was there.
  EXPECT_EQ(BytesToText(std::string_view("o\0k", 3), "UTF-16LE"), L"o\ufffd");
}

TEST(BytesToText, NothingDecodesToNothingAndUnknownNamesThrow) {
  for (const char* name : {"UTF-8", "GBK", "UTF-16", "latin1"}) EXPECT_EQ(BytesToText("", name), L"") << name;
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Charset, [] { BytesToText("abc", "utf-9"); }));
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Charset, [] { BytesToText("", "nonsense"); }));
}

// --- Requests -------------------------------------------------------------------------------

TEST_F(GetHtmlTest, TheSignInCookieGoesWithLaterRequests) {
  ForgetCookies();
  SiteResetLog();
  const std::wstring before = FetchText(SiteUrl(kAlbumPage), "UTF-8");
  EXPECT_FALSE(Contains(before, L"photoPan"));

  const HttpResponse signIn = HttpRequest(L"POST", SiteUrl("/Login.do"), kFormHeader, kDemoSignIn, 10s);
  EXPECT_EQ(signIn.status, 200u);
  EXPECT_TRUE(signIn.complete);
  const std::wstring after = FetchText(SiteUrl(kAlbumPage), "UTF-8");
  EXPECT_TRUE(Contains(after, L"photoPan"));
  EXPECT_TRUE(Contains(after, L"\u5171 12 \u5f20"));  // 共 12 张

  ForgetCookies();
  FetchText(SiteUrl(kAlbumPage), "UTF-8");

  const auto log = SiteLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].rfind(std::string("GET ") + kAlbumPage + " cookie=0 ", 0), 0u) << log[0];
  EXPECT_EQ(log[1].rfind("POST /Login.do cookie=0 status=200 ", 0), 0u) << log[1];
  EXPECT_EQ(log[2].rfind(std::string("GET ") + kAlbumPage + " cookie=1 ", 0), 0u) << log[2];
  EXPECT_EQ(log[3].rfind(std::string("GET ") + kAlbumPage + " cookie=0 ", 0), 0u) << log[3];
}

// The download run keeps several requests on their way at once: they go out side by side on
// connections of their own, each with the sign-in cookie, and each comes back whole.
TEST_F(GetHtmlTest, RequestsSentSideBySideEachCarryTheCookie) {
  Configure("fault 1001 pages latency 1500");
  ForgetCookies();
  ASSERT_EQ(HttpRequest(L"POST", SiteUrl("/Login.do"), kFormHeader, kDemoSignIn, 10s).status, 200u);
  SiteResetLog();
  std::vector<std::unique_ptr<SentRequest>> sent;
  for (int page = 0; page < 4; ++page) {
    const std::string address = "/getalbum.do?curpage=0&id=1001&owner=222300001&n=" + std::to_string(page);
    sent.push_back(std::make_unique<SentRequest>(L"GET", SiteUrl(address), L"", "", 10s, kMostPageBytes, "UTF-8"));
  }
  // All four are being served at once (the asking connection makes five).
  std::string stats;
  for (int i = 0; i < 500 && stats.rfind("connections=5 ", 0) != 0; ++i) {
    stats = test::SiteGet("/_ctl/stats");
    Sleep(2);
  }
  EXPECT_EQ(stats.rfind("connections=5 ", 0), 0u) << stats;
  for (auto& request : sent) {
    ASSERT_EQ(WaitForSingleObject(request->done(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    const HttpResponse response = request->Finish();
    EXPECT_TRUE(response.complete);
    EXPECT_TRUE(Contains(request->text(), L"photoPan"));
  }
  const auto log = SiteLog();
  ASSERT_EQ(log.size(), 4u);
  for (const std::string& line : log) EXPECT_NE(line.find(" cookie=1 "), std::string::npos) << line;
}

TEST_F(GetHtmlTest, APostBodyArrivesByteForByte) {
  // The password holds the form's own delimiters, escaped, and GBK bytes left raw, as the
  // sign-in form sends them; nothing may re-encode or trim any of it.
  Configure("account gbk@example.com a&b=\u4e2d");
  ForgetCookies();
  SiteResetLog();
  const HttpResponse signIn = HttpRequest(L"POST", SiteUrl("/Login.do"), kFormHeader,
                                          "email=gbk%40example.com&password=a%26b%3D\xd6\xd0", 10s);
  EXPECT_EQ(signIn.status, 200u);
  FetchText(SiteUrl(kProfilePage), "UTF-8");

  const auto log = SiteLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find(" email-hex=67626b406578616d706c652e636f6d password-hex=6126623dd6d0"), std::string::npos)
      << log[0];
  // Only an exact password opens a session.
  EXPECT_EQ(log[1].rfind(std::string("GET ") + kProfilePage + " cookie=1 ", 0), 0u) << log[1];
}

TEST_F(GetHtmlTest, PathAndQueryAreSentAsWritten) {
  SiteResetLog();
  const std::string target = std::string(kAlbumPage) + "&curpage=0&note=a%26b%3Dc&x=%E4%B8%AD&empty=";
  FetchText(SiteUrl(target + "#fragment"), "UTF-8");
  const auto log = SiteLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("GET " + target + " cookie=", 0), 0u) << log[0];
}

TEST_F(GetHtmlTest, APhotoArrivesWholeOrIsMarkedIncomplete) {
  Configure("fault 1001 photo:2 truncate");
  const std::string good = test::SitePhotoBytes(1001, 1);
  const HttpResponse whole = HttpRequest(L"GET", SiteUrl("/photos/1001/1/a.jpg"), L"", {}, 10s);
  EXPECT_EQ(whole.status, 200u);
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.contentLength, good.size());
  EXPECT_TRUE(whole.body == good);

  const std::string second = test::SitePhotoBytes(1001, 2);
  const HttpResponse cut = HttpRequest(L"GET", SiteUrl("/photos/1001/2/b.jpg"), L"", {}, 10s);
  EXPECT_EQ(cut.status, 200u);
  EXPECT_FALSE(cut.complete);
  EXPECT_EQ(cut.contentLength, second.size());
  EXPECT_LT(cut.body.size(), second.size());
  EXPECT_TRUE(second.compare(0, cut.body.size(), cut.body) == 0);

  // A page that is cut short is not a page.
  Configure("fault * profile truncate");
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] { FetchText(SiteUrl(kProfilePage), "UTF-8"); }));
}

// An answer larger than the request takes fails, whether its length says so before the body
// or the body runs past it; one at the most is taken whole.
TEST_F(GetHtmlTest, AnAnswerPastItsCapFails) {
  const std::string photo = test::SitePhotoBytes(1001, 1);
  const auto fetch = [](uint64_t most) {
    SentRequest request(L"GET", SiteUrl("/photos/1001/1/a.jpg"), L"", {}, 10s, most);
    EXPECT_EQ(WaitForSingleObject(request.done(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    return request.Finish();
  };
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::TooLarge, [&] { fetch(photo.size() - 1); }));
  EXPECT_TRUE(fetch(photo.size()).body == photo);
  // Without a length (a page is sent in chunks) only the body itself can tell.
  const std::string page = SiteGet(kAlbumPage);
  const auto fetchPage = [](uint64_t most) {
    SentRequest request(L"GET", SiteUrl(kAlbumPage), L"", {}, 10s, most, "UTF-8");
    EXPECT_EQ(WaitForSingleObject(request.done(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    return request.Finish();
  };
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::TooLarge, [&] { fetchPage(page.size() / 2); }));
  EXPECT_TRUE(fetchPage(page.size()).complete);
}

// The site's log line for `target` once the site has finished sending it: it is written when
// the connection carrying it closes.
std::string LoggedOnceSent(const std::string& target) {
  for (int i = 0; i < 1000; ++i) {
    for (const std::string& line : SiteLog()) {
      if (line.rfind("GET " + target + " ", 0) == 0) return line;
    }
    Sleep(10);
  }
  return "not in the log: " + target;
}

uint64_t LoggedBytes(const std::string& line) {
  const size_t at = line.find(" bytes=");
  return at == std::string::npos ? UINT64_MAX : std::stoull(line.substr(at + 7));
}

// A body that never ends, or announces more than a photo can be, is cut off at the cap: the
// request fails, the connection is dropped (the site sees the client go), and the memory the
// body took is given back. A page has the smaller cap of the two.
TEST_F(GetHtmlTest, AnAnswerPastItsCapFailsAndDropsItsConnection) {
  Configure("fault 1001 photo:2 endless\nfault 1001 photo:3 huge\nfault * profile endless");
  SiteResetLog();
  const auto photo = [](const char* target) {
    SentRequest request(L"GET", SiteUrl(target), L"", {}, 10s, kMostPhotoBytes);
    EXPECT_EQ(WaitForSingleObject(request.done(), 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    request.Finish();
  };
  const size_t before = PrivateBytes();
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::TooLarge, [&] { photo("/photos/1001/2/b.jpg"); }));
  EXPECT_LT(PrivateBytes(), before + kMostPhotoBytes / 4);
  const std::string endless = LoggedOnceSent("/photos/1001/2/b.jpg");
  EXPECT_GT(LoggedBytes(endless), kMostPhotoBytes) << endless;
  EXPECT_LT(LoggedBytes(endless), 2 * kMostPhotoBytes) << endless;

  // Refused on its Content-Length, before its body is read: the site gets no further than what
  // the connection's buffers take.
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::TooLarge, [&] { photo("/photos/1001/3/c.jpg"); }));
  const std::string huge = LoggedOnceSent("/photos/1001/3/c.jpg");
  EXPECT_LT(LoggedBytes(huge), kMostPhotoBytes / 4) << huge;

  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::TooLarge, [] { FetchText(SiteUrl(kProfilePage), "UTF-8"); }));
  const std::string page = LoggedOnceSent(kProfilePage);
  EXPECT_LT(LoggedBytes(page), 2 * kMostPageBytes) << page;
  EXPECT_NE(SiteGet("/_ctl/stats").find(" streams=0"), std::string::npos);
  // What the dropped connections leave behind does not stand in the next request's way.
  EXPECT_TRUE(HttpRequest(L"GET", SiteUrl("/photos/1001/1/a.jpg"), L"", {}, 10s).complete);
}

TEST(HttpRequest, NoServerOrNoHttpAddressIsANetworkError) {
  const auto start = Clock::now();
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] { FetchText(L"http://127.0.0.1:1/", "UTF-8"); }));
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] {
    HttpRequest(L"POST", L"http://127.0.0.1:1/Login.do", kFormHeader, "a=b", 60s);
  }));
  // Refused at once, not given up on after the idle time-out.
  EXPECT_LT(SecondsSince(start), 20.0);

  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] { FetchText(L"ftp://127.0.0.1/file", "UTF-8"); }));
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] { FetchText(L"not an address", "UTF-8"); }));
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Network, [] { FetchText(L"", "UTF-8"); }));
}

// --- Waiting on the UI thread -----------------------------------------------------------------

TEST_F(GetHtmlTest, AHangingServerTimesOutWithoutFreezingTheWindow) {
  Configure("fault * profile hang 30");
  int ticks = 0;
  bool posted = false;
  MessageWindow window([&](UINT message, WPARAM) {
    if (message == WM_TIMER) ++ticks;
    if (message == WM_APP) posted = true;
  });
  SetTimer(window.hwnd(), 1, 50, nullptr);
  PostMessageW(window.hwnd(), WM_APP, 0, 0);

  const auto start = Clock::now();
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Timeout, [] { FetchText(SiteUrl(kProfilePage), "UTF-8", 2s); }));
  const double waited = SecondsSince(start);
  KillTimer(window.hwnd(), 1);
  EXPECT_GE(waited, 1.5);
  EXPECT_LT(waited, 10.0);
  EXPECT_TRUE(posted);
  // About 40 are due in 2 s; a loaded machine coalesces some.
  EXPECT_GE(ticks, 10);

  // The hung request's worker is still out; the next request must not queue behind it.
  Configure("");
  EXPECT_TRUE(Contains(FetchText(SiteUrl("/Login.do"), "UTF-8", 10s), L"\u6821\u5185\u7f51"));
}

TEST_F(GetHtmlTest, QuitDuringTheWaitCancelsAndStaysQueued) {
  Configure("fault * profile latency 2000");
  MessageWindow window([&](UINT message, WPARAM id) {
    if (message == WM_TIMER) {
      KillTimer(window.hwnd(), id);
      PostQuitMessage(7);
    }
  });
  SetTimer(window.hwnd(), 1, 100, nullptr);
  const auto start = Clock::now();
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Cancelled, [] { FetchText(SiteUrl(kProfilePage), "UTF-8"); }));
  EXPECT_LT(SecondsSince(start), 1.5);

  // Another call made before the main loop sees the quit is cancelled at once as well.
  EXPECT_TRUE(ThrowsFetchError(FetchErrorKind::Cancelled,
                               [] { HttpRequest(L"GET", SiteUrl("/Login.do"), L"", {}, 10s); }));

  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(GetHtmlTest, AHandlerMayFetchWhileAnotherFetchWaits) {
  Configure("fault * profile latency 1500");
  SiteResetLog();
  std::wstring inner;
  bool innerDone = false;
  MessageWindow window([&](UINT message, WPARAM id) {
    if (message != WM_TIMER) return;
    KillTimer(window.hwnd(), id);
    inner = FetchText(SiteUrl("/Login.do"), "UTF-8", 10s);
    innerDone = true;
  });
  SetTimer(window.hwnd(), 1, 100, nullptr);
  // Marked, so that a slow answer to an earlier test's request, logged late, is told apart.
  const std::string outerPage = std::string(kProfilePage) + "&nested=1";
  const std::wstring outer = FetchText(SiteUrl(outerPage), "UTF-8", 10s);
  // The nested request did not wait for the slow one it interrupted.
  EXPECT_TRUE(innerDone);
  EXPECT_TRUE(Contains(inner, L"\u6821\u5185\u7f51"));
  EXPECT_FALSE(outer.empty());
  std::vector<std::string> log;
  for (const std::string& line : SiteLog()) {
    if (line.rfind("GET /Login.do ", 0) == 0 || line.find("nested=1") != std::string::npos) log.push_back(line);
  }
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("GET /Login.do ", 0), 0u) << log[0];
  EXPECT_EQ(log[1].rfind("GET " + outerPage + " ", 0), 0u) << log[1];
}

}  // namespace
}  // namespace lumadex
