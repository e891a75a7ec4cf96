#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "controls/host/container_box_win32.h"
#include "services/ansi_win32.h"
#include "services/mod_crypt.h"
#include "support/form_harness_win32.h"
#include "support/site_client_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;

// What a success with the remember box checked stores for demo@example.com and demo.
const std::string kDemoRemembered =
    "1 \x72\x59\x80\x64\x52\x55\x86\x55\x80\x65\x7e\x55\x3c\x57\x82\x62\r\n2 \x72\x59\x80\x64\r\n3 T\r\n";

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::vector<std::string> LogLinesStartingWith(const std::string& prefix) {
  std::vector<std::string> lines;
  for (const std::string& line : test::SiteLog()) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  }
  return lines;
}

bool SignedIn(FormHarness& h) {
  return !IsWindowEnabled(h.control(L"FrameUser")) && IsWindowEnabled(h.control(L"FrameAblum")) &&
         IsWindowEnabled(h.control(L"FrameMode"));
}

class SignIn : public testing::Test {
 protected:
  // Every test starts and ends with the plain demo site: a fault left behind would reach the
  // tests of other files that sign in.
  void SetUp() override { test::SiteConfigure("demo\n"); }
  void TearDown() override { test::SiteConfigure("demo\n"); }
};

TEST_F(SignIn, RememberedSuccessUnlocksTheGroupsAndStoresTheCipheredDetails) {
  FormHarness h;
  SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(h.SignIn());
  EXPECT_TRUE(SignedIn(h));
  EXPECT_TRUE(IsWindowEnabled(h.control(L"NewModeContainer")));
  EXPECT_EQ(GetFocus(), h.control(L"albumURLTxt"));
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), kDemoRemembered);
  // The profile page is fetched once, with the session cookie of the sign-in.
  const auto profile = LogLinesStartingWith("GET /getuser.do?id=");
  ASSERT_EQ(profile.size(), 1u);
  EXPECT_NE(profile[0].find("cookie=1"), std::string::npos);
  EXPECT_EQ(LogLinesStartingWith("POST /Login.do").size(), 1u);
}

TEST_F(SignIn, UncheckedSuccessForgetsTheDetails) {
  FormHarness h("1 \x72\x59\r\n2 \x72\r\n3 T\r\n");
  SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(h.SignIn());
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), "1 \r\n2 \r\n3 F\r\n");
}

TEST_F(SignIn, WrongPasswordSelectsTheAddressAndKeepsTheGroupsLocked) {
  FormHarness h;
  EXPECT_FALSE(h.SignIn(L"demo@example.com", L"wrong"));
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"登录失败，可能是帐号或者密码错误");
  EXPECT_EQ(GetFocus(), h.control(L"email"));
  DWORD start = 0, end = 0;
  SendMessageW(h.control(L"email"), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 16u);
  EXPECT_FALSE(SignedIn(h));
  EXPECT_TRUE(IsWindowEnabled(h.control(L"FrameUser")));
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), "1 \r\n2 \r\n3 F\r\n");
}

// The window keeps handling input while the answer is awaited; what a success remembers is what
// was sent, and the boxes cannot change meanwhile.
TEST_F(SignIn, DetailsAreTakenAtThePressAndLockedWhileTheAnswerIsAwaited) {
  test::SiteConfigure("demo\nfault * login latency 1200\n");
  FormHarness h;
  SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_CHECKED, 0);
  bool ran = false;
  bool boxesLocked = false;
  test::RunSoon(300ms, [&] {
    ran = true;
    boxesLocked = !IsWindowEnabled(h.control(L"email")) && !IsWindowEnabled(h.control(L"password")) &&
                  !IsWindowEnabled(h.control(L"CheckUser"));
    // Whatever reaches the boxes meanwhile is not what was sent.
    h.form().SetText(L"email", L"other@example.com");
    h.form().SetText(L"password", L"other");
    SendMessageW(h.control(L"CheckUser"), BM_SETCHECK, BST_UNCHECKED, 0);
  });
  ASSERT_TRUE(h.SignIn());
  EXPECT_TRUE(ran);
  EXPECT_TRUE(boxesLocked);
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), kDemoRemembered);
}

TEST_F(SignIn, ARestoreFromTheNotificationAreaDuringTheWaitLeavesTheBoxesAlone) {
  test::SiteConfigure("demo\nfault * login latency 1200\n");
  // Remembered from an earlier start: the other demo account.
  const std::string key = "tesvolamir";
  FormHarness h("1 " + Encipher(WideToAnsi(L"测试@example.com"), key) + "\r\n2 " +
                Encipher(WideToAnsi(L"校内密码"), key) + "\r\n3 T\r\n");
  ASSERT_EQ(h.form().Text(L"email"), L"测试@example.com");
  HWND window = h.form().hwnd();
  std::wstring emailAfterRestore, passwordAfterRestore;
  test::RunSoon(200ms, [&] {
    ShowWindow(window, SW_MINIMIZE);
    SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
    test::RunSoon(300ms, [&] {
      emailAfterRestore = h.form().Text(L"email");
      passwordAfterRestore = h.form().Text(L"password");
    });
  });
  ASSERT_TRUE(h.SignIn(L"demo@example.com", L"demo"));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(emailAfterRestore, L"demo@example.com");
  EXPECT_EQ(passwordAfterRestore, L"demo");
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), kDemoRemembered);
}

// A failed attempt gives the boxes back, with the focus where it was at the press.
TEST_F(SignIn, BoxesAreUsableAgainAfterAFailure) {
  test::SiteConfigure("demo\nfault * login status 500\n");
  FormHarness h;
  h.form().SetText(L"email", L"demo@example.com");
  h.form().SetText(L"password", L"demo");
  SetFocus(h.control(L"password"));
  h.Type(L"password", L"\r");
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"登录失败，可能是网络不通");
  for (const wchar_t* box : {L"email", L"password", L"CheckUser", L"NBtnLogin"}) {
    EXPECT_TRUE(IsUsable(h.control(box))) << box;
  }
  EXPECT_EQ(GetFocus(), h.control(L"password"));
}

// Whatever breaks a request, the press ends as a failed sign-in and the next one is taken.
TEST(SignInFailures, AnyExceptionOfTheRequestCountsAsAFailedAttempt) {
  FormHarness h(std::nullopt, L"127.0.0.1:1");
  int requests = 0;
  h.form().SetSignInPosterForTesting([&](const std::wstring&, const std::string&) -> HttpResponse {
    ++requests;
    throw std::bad_alloc();
  });
  EXPECT_FALSE(h.SignIn());
  EXPECT_EQ(requests, 4);
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"登录失败，可能是网络不通");
  EXPECT_TRUE(IsUsable(h.control(L"email")));
  EXPECT_TRUE(IsUsable(h.control(L"CheckUser")));
  h.form().NBtnLogin().Click();
  EXPECT_EQ(requests, 8);

  h.form().SetSignInPosterForTesting([&](const std::wstring&, const std::string& body) {
    ++requests;
    EXPECT_EQ(body, "email=demo@example.com&password=demo");
    HttpResponse answer;
    answer.status = 200;
    answer.complete = true;
    return answer;
  });
  EXPECT_TRUE(h.SignIn());
  EXPECT_EQ(requests, 9);
}

TEST_F(SignIn, EmptyFieldSendsNothing) {
  FormHarness h;
  h.form().SetText(L"email", L"demo@example.com");
  h.form().NBtnLogin().Click();
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"用户名或者密码必须填写");
  EXPECT_EQ(GetFocus(), h.control(L"password"));
  h.form().SetText(L"email", L"");
  h.form().SetText(L"password", L"demo");
  h.form().NBtnLogin().Click();
  EXPECT_EQ(GetFocus(), h.control(L"email"));
  EXPECT_TRUE(test::SiteLog().empty());
}

TEST_F(SignIn, EmptyAnswerCountsAsSuccess) {
  test::SiteConfigure("demo\nfault * login empty\n");
  FormHarness h;
  EXPECT_TRUE(h.SignIn(L"anyone@example.com", L"x"));
  EXPECT_TRUE(SignedIn(h));
}

TEST_F(SignIn, ServerErrorsAreRetriedFourTimesPerPress) {
  test::SiteConfigure("demo\nfault * login status 500\n");
  FormHarness h;
  EXPECT_FALSE(h.SignIn());
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"登录失败，可能是网络不通");
  EXPECT_EQ(LogLinesStartingWith("POST /Login.do").size(), 4u);
  EXPECT_EQ(h.form().LoginTries(), 4);
  h.form().NBtnLogin().Click();
  EXPECT_EQ(LogLinesStartingWith("POST /Login.do").size(), 8u);
  EXPECT_TRUE(IsWindowEnabled(h.control(L"FrameUser")));
  EXPECT_FALSE(IsWindowEnabled(h.control(L"FrameAblum")));
}

TEST(SignInOffline, NoServerMeansFourAttemptsAndANetworkMessage) {
  FormHarness h(std::nullopt, L"127.0.0.1:1");
  EXPECT_FALSE(h.SignIn());
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"登录失败，可能是网络不通");
  EXPECT_EQ(h.form().LoginTries(), 4);
  h.form().NBtnLogin().Click();
  EXPECT_EQ(h.form().LoginTries(), 4);
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), "1 \r\n2 \r\n3 F\r\n");
}

TEST_F(SignIn, PasswordsReachTheSiteExactlyAsTyped) {
  test::SiteConfigure("account a+b&c@example.com a&b=c%d+e\n");
  FormHarness h;
  EXPECT_TRUE(h.SignIn(L"a+b&c@example.com", L"a&b=c%d+e"));
  // A space cannot stand in the site's account list, but it must arrive all the same.
  FormHarness second;
  EXPECT_FALSE(second.SignIn(L"a+b&c@example.com", L"a&b=c%d+e f"));
  const auto login = LogLinesStartingWith("POST /Login.do");
  ASSERT_EQ(login.size(), 2u);
  EXPECT_NE(login[0].find("email-hex=" + Hex("a+b&c@example.com")), std::string::npos) << login[0];
  EXPECT_TRUE(login[0].ends_with("password-hex=" + Hex("a&b=c%d+e"))) << login[0];
  EXPECT_TRUE(login[1].ends_with("password-hex=" + Hex("a&b=c%d+e f"))) << login[1];
}

TEST_F(SignIn, ChinesePasswordGoesAsAnsiBytes) {
  FormHarness h;
  EXPECT_TRUE(h.SignIn(L"测试@example.com", L"校内密码"));
  const auto login = LogLinesStartingWith("POST /Login.do");
  ASSERT_EQ(login.size(), 1u);
  EXPECT_TRUE(login[0].ends_with("password-hex=" + Hex(WideToAnsi(L"校内密码")))) << login[0];
}

}  // namespace
}  // namespace lumadex
