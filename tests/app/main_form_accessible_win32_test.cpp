#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>

#include "controls/host/accessible_win32.h"
#include "support/accessible_client_win32.h"
#include "support/form_harness_win32.h"
#include "support/real_input_win32.h"
#include "support/site_client_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;
using test::StateNames;
namespace in = test::input;

constexpr wchar_t kSignedIn[] = L"登录成功，请配置相册信息";

// The main window as a screen reader finds it: every object got by its window.
class MainWindowAccess : public testing::Test {
 protected:
  ComRef<IAccessible> Object(const wchar_t* name) {
    ComRef<IAccessible> object = test::ClientObject(h_->control(name));
    EXPECT_TRUE(object) << name;
    return object;
  }
  std::optional<std::wstring> Name(const wchar_t* name) { return test::NameOf(Object(name).get()); }
  long Role(const wchar_t* name) { return test::RoleOf(Object(name).get()); }
  long State(const wchar_t* name) { return test::StateOf(Object(name).get()); }
  // Where the real keyboard's Tab takes the focus from `from`, step by step, and which
  // controls were announced as focused on the way.
  void ExpectTabWalk(const wchar_t* from, const std::vector<const wchar_t*>& walk) {
    SetFocus(h_->control(from));
    in::Settle();
    test::EventListener focus(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
    std::vector<HWND> expected;
    for (const wchar_t* next : walk) {
      in::Key(VK_TAB);
      EXPECT_EQ(GetFocus(), h_->control(next)) << next;
      expected.push_back(h_->control(next));
      if (wcsncmp(next, L"NBtn", 4) == 0) {
        EXPECT_TRUE(State(next) & STATE_SYSTEM_FOCUSED) << next << ": " << StateNames(State(next));
      }
    }
    std::vector<HWND> announced;
    for (HWND w : expected) announced.push_back(focus.Count(EVENT_OBJECT_FOCUS, w) > 0 ? w : nullptr);
    EXPECT_EQ(announced, expected);
  }

  void SetUp() override { test::SiteConfigure("demo\n"); }

  std::unique_ptr<FormHarness> h_ = std::make_unique<FormHarness>();
};

TEST_F(MainWindowAccess, ControlsReadAsWhatTheyAreNamedAsTheyAreShown) {
  for (const auto& [button, caption] : {std::pair{L"NBtnDown", L"下 载"}, std::pair{L"NBtnLogin", L"登 录"},
                                        std::pair{L"NBtnClip", L"粘 贴"}, std::pair{L"NBtnFile", L"目 录"}}) {
    EXPECT_EQ(Role(button), ROLE_SYSTEM_PUSHBUTTON) << button;
    EXPECT_EQ(Name(button), caption) << button;
  }
  EXPECT_EQ(Role(L"NicePressBar"), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(test::ValueOf(Object(L"NicePressBar").get()), L"0%");
  EXPECT_EQ(Role(L"email"), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Name(L"email"), L"校内帐号：");
  EXPECT_EQ(Name(L"password"), L"用户密码：");
  EXPECT_EQ(Name(L"NewPhotoCount"), L"更新照片数量：");
  EXPECT_EQ(Role(L"FrameUser"), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(Name(L"FrameUser"), L"用户信息");
  EXPECT_EQ(Name(L"FrameDown"), L"下载进度");
  EXPECT_EQ(Role(L"DownInfo"), ROLE_SYSTEM_STATICTEXT);
  // Signed out, the album and mode groups cannot be used, nor what is in them.
  EXPECT_TRUE(State(L"FrameAblum") & STATE_SYSTEM_UNAVAILABLE) << StateNames(State(L"FrameAblum"));
  EXPECT_TRUE(State(L"NBtnDown") & STATE_SYSTEM_UNAVAILABLE) << StateNames(State(L"NBtnDown"));
  EXPECT_FALSE(State(L"NBtnLogin") & STATE_SYSTEM_UNAVAILABLE) << StateNames(State(L"NBtnLogin"));
}

TEST_F(MainWindowAccess, SigningInThroughTheDefaultActionOfTheButton) {
  h_->form().SetText(L"email", L"demo@example.com");
  h_->form().SetText(L"password", L"demo");
  EXPECT_EQ(test::ValueOf(Object(L"password").get()), std::nullopt);
  ComRef<IAccessible> login = Object(L"NBtnLogin");
  ASSERT_EQ(login->accDoDefaultAction(test::SelfChild()), S_OK);
  EXPECT_TRUE(test::PumpUntil([&] { return h_->form().Text(L"LoginInfo") == kSignedIn; }, 10s));
  EXPECT_EQ(h_->form().LoginTries(), 1);
  // The sign-in group is locked for good now, and reads so.
  EXPECT_TRUE(test::StateOf(login.get()) & STATE_SYSTEM_UNAVAILABLE) << StateNames(test::StateOf(login.get()));
  EXPECT_EQ(login->accDoDefaultAction(test::SelfChild()), kNotEnabled);
  test::Pump(100ms);
  EXPECT_EQ(h_->form().LoginTries(), 1);
  EXPECT_FALSE(State(L"NBtnDown") & STATE_SYSTEM_UNAVAILABLE) << StateNames(State(L"NBtnDown"));
}

TEST_F(MainWindowAccess, TabReachesEveryControlInLayoutOrderAndEachIsAnnouncedFocused) {
  in::Activate(h_->form().hwnd());
  ExpectTabWalk(L"email", {L"password", L"CheckUser", L"NBtnLogin", L"email"});
  ASSERT_TRUE(h_->SignIn());
  ExpectTabWalk(L"albumURLTxt", {L"NBtnClip", L"DirPathTxt", L"NBtnFile", L"OptionNew", L"UrlInitName", L"NBtnDown",
                                 L"albumURLTxt"});
}

TEST_F(MainWindowAccess, TheBarFollowsARealDownloadAndTheButtonIsRenamed) {
  // Slow enough photos that the run, four requests at a time, is still going half a second in.
  test::SiteConfigure("demo\nfault 1002 photos latency 200\n");
  h_ = std::make_unique<FormHarness>();
  ASSERT_FALSE(h_->PrepareDownload(1002).empty());
  ComRef<IAccessible> down = Object(L"NBtnDown"), bar = Object(L"NicePressBar");
  test::EventListener events(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE);
  std::optional<std::wstring> nameDuring, valueDuring;
  // Read while the run is under way with a few photos saved: asked again every 50 ms from inside
  // the run's own message loop, until then or until the run is over.
  std::function<void()> sample = [&] {
    const DownloadRun& run = h_->form().Run();
    const bool over = run.SavedPhotos() > 0 && !run.Downloading();
    if ((run.Downloading() && run.SavedPhotos() >= 5) || over) {
      nameDuring = test::NameOf(down.get());
      valueDuring = test::ValueOf(bar.get());
    } else {
      test::RunSoon(50ms, sample);
    }
  };
  test::RunSoon(50ms, sample);
  ASSERT_EQ(down->accDoDefaultAction(test::SelfChild()), S_OK);
  // The whole run happens inside the press, handled while this pumps.
  EXPECT_TRUE(test::PumpUntil(
      [&] { return nameDuring.has_value() && !h_->form().Run().Downloading() && !h_->form().TimerEnabled(); }, 60s));
  test::Pump(50ms);
  EXPECT_EQ(nameDuring, L"停 止");
  ASSERT_TRUE(valueDuring.has_value());
  const int during = std::stoi(*valueDuring);
  EXPECT_GT(during, 0) << *valueDuring;
  EXPECT_LT(during, 100) << *valueDuring;
  EXPECT_EQ(test::ValueOf(bar.get()), L"100%");
  EXPECT_EQ(test::NameOf(down.get()), L"下 载");
  // Renamed twice, and told each time; the bar heard once per percentage shown, of 40 photos.
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, h_->control(L"NBtnDown")), 2);
  const int values = events.Count(EVENT_OBJECT_VALUECHANGE, h_->control(L"NicePressBar"));
  EXPECT_GE(values, 3);
  EXPECT_LE(values, 41);
  test::SiteConfigure("demo\n");
}

TEST_F(MainWindowAccess, TheSkinnedFrameKeepsTheTitleAndTheSystemMenuKey) {
  HWND w = h_->form().hwnd();
  // The window's name is its title. Where the platform's object of the whole window does not
  // answer names (Wine's does not), the client area's carries it.
  ComRef<IAccessible> frame = test::WindowObject(w);
  ASSERT_TRUE(frame);
  BSTR title = nullptr;
  const HRESULT hr = frame->get_accName(test::SelfChild(), &title);
  if (hr != E_NOTIMPL) {
    EXPECT_EQ(std::wstring(title ? title : L""), L"Lumadex");
  }
  SysFreeString(title);
  EXPECT_EQ(test::NameOf(test::ClientObject(w).get()), L"Lumadex");
  in::Activate(w);
  bool menuSeen = false;
  test::RunSoon(400ms, [&] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    menuSeen = menu && IsWindowVisible(menu);
    in::QueueKeys({}, VK_ESCAPE);
  });
  test::RunSoon(2000ms, [] { EndMenu(); });  // never left open, whatever happened
  in::QueueKeys({VK_MENU}, VK_SPACE);
  test::Pump(1000ms);
  EXPECT_TRUE(menuSeen);
  test::Pump(1200ms);
  HWND menu = FindWindowW(L"#32768", nullptr);
  EXPECT_TRUE(!menu || !IsWindowVisible(menu)) << "Escape closes it";
  EXPECT_EQ(test::NameOf(test::ClientObject(w).get()), L"Lumadex");
}

}  // namespace
}  // namespace lumadex
