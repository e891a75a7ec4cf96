#include "winmsg/thread_hooks_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

#include "support/form_harness_win32.h"
#include "winmsg/failure_reports_win32.h"
#include "winmsg/queued_input_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex {
namespace {

// The harness's pump, with this file's usual limit.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
  return test::PumpUntil(done, limit);
}

void PumpFor(std::chrono::milliseconds span) {
  PumpUntil([] { return false; }, span);
}

// Key presses that reached the focused window, system keys included.
std::vector<UINT> g_keysSeen;

// A shown, focused top-level window that keyboard input goes to; or, not focused, a hidden one.
class KeyWindow : public WindowBase {
 public:
  explicit KeyWindow(bool focused = true) {
    WindowClass wc;
    wc.name = L"LumadexHookTestWindow";
    CreateWindowFor(wc, 0, L"hooks", WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, nullptr, nullptr);
    if (!focused) return;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    PumpFor(std::chrono::milliseconds(50));
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        g_keysSeen.push_back(static_cast<UINT>(wp));
        return 0;
      // Alt+F4, Alt+Escape and a lone Alt would close the window, switch away or enter menu mode.
      case WM_SYSCOMMAND:
      case WM_CLOSE:
        return 0;
      default:
        return DefaultHandling(msg, wp, lp);
    }
  }
};

using test::QueueKeys;

bool Saw(UINT vKey) {
  for (UINT k : g_keysSeen)
    if (k == vKey) return true;
  return false;
}

class TestEngine : public IAltKeyTarget {
 public:
  explicit TestEngine(bool active, bool uses = true) : active_(active), uses_(uses) {}
  ~TestEngine() { DetachKeyboardHook(this); }
  bool WindowActive() const override { return active_; }
  bool HandleAltKey(UINT vKey) override {
    offered.push_back(vKey);
    if (during) during();
    return uses_;
  }
  std::vector<UINT> offered;
  std::function<void()> during;

 private:
  bool active_;
  bool uses_;
};

class KeyboardHook : public testing::Test {
 protected:
  void SetUp() override { g_keysSeen.clear(); }
  void TearDown() override { EXPECT_FALSE(thread_hooks::KeyboardHookInstalled()); }
  KeyWindow window_;
};

TEST_F(KeyboardHook, TheActiveEngineTakesAltKeysAndAUsedKeyGoesNoFurther) {
  TestEngine inactive(false);
  TestEngine active(true, /*uses=*/true);
  ASSERT_TRUE(AttachKeyboardHook(&inactive));
  ASSERT_TRUE(AttachKeyboardHook(&active));
  ASSERT_TRUE(AttachKeyboardHook(&active));  // once only
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 2u);

  QueueKeys({VK_MENU}, 'F');
  ASSERT_TRUE(PumpUntil([&] { return !active.offered.empty() && Saw(VK_MENU); }));
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(active.offered, std::vector<UINT>{'F'});
  EXPECT_TRUE(inactive.offered.empty());
  EXPECT_FALSE(Saw('F'));  // eaten by the hook
  EXPECT_TRUE(Saw(VK_MENU));
  DetachKeyboardHook(&inactive);
  DetachKeyboardHook(&active);
}

TEST_F(KeyboardHook, AnUnusedKeyReachesTheWindow) {
  TestEngine engine(true, /*uses=*/false);
  ASSERT_TRUE(AttachKeyboardHook(&engine));
  QueueKeys({VK_MENU}, 'Q');
  ASSERT_TRUE(PumpUntil([&] { return Saw('Q'); }));
  EXPECT_EQ(engine.offered, std::vector<UINT>{'Q'});
  // A key without Alt is never offered.
  g_keysSeen.clear();
  QueueKeys({}, 'W');
  ASSERT_TRUE(PumpUntil([&] { return Saw('W'); }));
  EXPECT_EQ(engine.offered, std::vector<UINT>{'Q'});
  DetachKeyboardHook(&engine);
}

TEST_F(KeyboardHook, SystemCombinationsPassUntouched) {
  TestEngine engine(true, /*uses=*/true);
  ASSERT_TRUE(AttachKeyboardHook(&engine));
  QueueKeys({VK_MENU}, VK_F4);
  QueueKeys({VK_MENU}, VK_ESCAPE);
  QueueKeys({VK_MENU}, VK_DELETE);
  QueueKeys({VK_CONTROL, VK_MENU}, 'G');
  ASSERT_TRUE(PumpUntil([&] { return Saw(VK_F4) && Saw(VK_ESCAPE) && Saw(VK_DELETE) && Saw('G'); }));
  EXPECT_TRUE(engine.offered.empty());
  // The window is still there: the hook did not let Alt+F4 turn into a close either way.
  EXPECT_TRUE(IsWindow(window_.hwnd()));
  DetachKeyboardHook(&engine);
}

TEST_F(KeyboardHook, TheHookGoesWithItsLastEngine) {
  TestEngine first(true), second(true);
  ASSERT_TRUE(AttachKeyboardHook(&first));
  ASSERT_TRUE(AttachKeyboardHook(&second));
  DetachKeyboardHook(&first);
  EXPECT_TRUE(thread_hooks::KeyboardHookInstalled());
  DetachKeyboardHook(&first);  // not in the list any more: nothing changes
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 1u);

  // An engine leaving while it handles a key: the hook stays sound and the key is used.
  second.during = [&] { DetachKeyboardHook(&second); };
  QueueKeys({VK_MENU}, 'H');
  ASSERT_TRUE(PumpUntil([&] { return !second.offered.empty(); }));
  EXPECT_FALSE(thread_hooks::KeyboardHookInstalled());
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 0u);

  g_keysSeen.clear();
  QueueKeys({VK_MENU}, 'J');
  ASSERT_TRUE(PumpUntil([&] { return Saw('J'); }));
  EXPECT_TRUE(first.offered.empty());
  EXPECT_EQ(second.offered, std::vector<UINT>{'H'});
}

TEST_F(KeyboardHook, OfTwoActiveEnginesTheFirstTakesTheKey) {
  TestEngine first(true), second(true);
  ASSERT_TRUE(AttachKeyboardHook(&first));
  ASSERT_TRUE(AttachKeyboardHook(&second));
  QueueKeys({VK_MENU}, 'K');
  ASSERT_TRUE(PumpUntil([&] { return !first.offered.empty(); }));
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(first.offered, std::vector<UINT>{'K'});
  EXPECT_TRUE(second.offered.empty());
  DetachKeyboardHook(&first);
  DetachKeyboardHook(&second);
}

TEST_F(KeyboardHook, AFailingEngineLetsTheKeyPassAndIsReported) {
  test::FailureReports reports;
  TestEngine engine(true);
  engine.during = [] { throw std::runtime_error("engine failure"); };
  ASSERT_TRUE(AttachKeyboardHook(&engine));
  QueueKeys({VK_MENU}, 'L');
  ASSERT_TRUE(PumpUntil([&] { return Saw('L'); }));
  EXPECT_EQ(engine.offered, std::vector<UINT>{'L'});
  EXPECT_TRUE(reports.Mention(L"the keyboard hook"));
  DetachKeyboardHook(&engine);
}

TEST_F(KeyboardHook, AnEngineGoesFromTheHookWithItsWindow) {
  TestEngine stays(false);
  ASSERT_TRUE(AttachKeyboardHook(&stays));
  auto engineWindow = std::make_unique<KeyWindow>(/*focused=*/false);
  const HWND handle = engineWindow->hwnd();
  {
    TestEngine first(true), second(true);
    ASSERT_TRUE(AttachKeyboardHook(&first, handle));
    ASSERT_TRUE(AttachKeyboardHook(&second, handle));
    EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 3u);
    // The engines are not told: they must not be asked anything once their window is gone.
    first.during = second.during = [] { ADD_FAILURE() << "an engine asked after its window went"; };
    engineWindow.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 1u);
    QueueKeys({VK_MENU}, 'M');
    ASSERT_TRUE(PumpUntil([&] { return Saw('M'); }));
    EXPECT_TRUE(first.offered.empty());
  }
  EXPECT_FALSE(subclass_registry::IsSubclassed(handle));
  DetachKeyboardHook(&stays);

  // A window the framework cannot watch (another process's): the engine is refused, nothing stays.
  TestEngine refused(true);
  EXPECT_FALSE(AttachKeyboardHook(&refused, GetDesktopWindow()));
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), 0u);
}

// --- the message-filter hook inside a popup menu's loop ---

class TestTracker : public IMenuMessageFilter {
 public:
  bool FilterMenuMessage(const MSG& msg) override {
    if (msg.message == WM_KEYDOWN) keys.push_back(static_cast<UINT>(msg.wParam));
    // Eats the first Down key; everything else goes on to the menu.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_DOWN && !ateDown) {
      ateDown = true;
      return true;
    }
    return false;
  }
  std::vector<UINT> keys;
  bool ateDown = false;
};

// Opens a popup of the items (ids from 101) and answers its loop with the keys; the id chosen.
UINT ChooseByKeys(const KeyWindow& owner, std::initializer_list<const wchar_t*> items, std::initializer_list<WORD> keys) {
  HMENU popup = CreatePopupMenu();
  UINT id = 101;
  for (const wchar_t* item : items) AppendMenuW(popup, MF_STRING, id++, item);
  for (WORD key : keys) QueueKeys({}, key);
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY, 60, 60, owner.hwnd(), nullptr));
  DestroyMenu(popup);
  return chosen;
}

TEST(MenuFilterHook, SeesTheKeysOfAPopupMenuLoop) {
  g_keysSeen.clear();
  KeyWindow window;
  TestTracker tracker;
  ASSERT_TRUE(AttachMenuFilterHook(&tracker));
  EXPECT_TRUE(thread_hooks::MenuFilterHookInstalled());
  // The menu opens with nothing selected; the first Down is eaten, so the two that arrive
  // select the second entry, and Enter chooses it.
  const UINT chosen = ChooseByKeys(window, {L"第一", L"第二", L"第三"}, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  DetachMenuFilterHook();

  EXPECT_FALSE(thread_hooks::MenuFilterHookInstalled());
  EXPECT_EQ(tracker.keys, (std::vector<UINT>{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
  EXPECT_EQ(chosen, 102u);
}

TEST(MenuFilterHook, AFailingTrackerLetsTheMessagesPassAndIsReported) {
  test::FailureReports reports;
  KeyWindow window;
  struct FailingTracker : IMenuMessageFilter {
    bool FilterMenuMessage(const MSG& msg) override {
      if (msg.message == WM_KEYDOWN) throw std::runtime_error("tracker failure");
      return false;
    }
  } tracker;
  ASSERT_TRUE(AttachMenuFilterHook(&tracker));
  const UINT chosen = ChooseByKeys(window, {L"一", L"二"}, {VK_DOWN, VK_DOWN, VK_RETURN});
  DetachMenuFilterHook();
  EXPECT_EQ(chosen, 102u);
  EXPECT_TRUE(reports.Mention(L"the menu filter hook"));
}

TEST(MenuFilterHook, ADetachedHookForgetsItsTracker) {
  KeyWindow window;
  TestTracker first, second;
  ASSERT_TRUE(AttachMenuFilterHook(&first));
  ASSERT_TRUE(AttachMenuFilterHook(&second));  // replaces the first
  DetachMenuFilterHook();
  EXPECT_FALSE(thread_hooks::MenuFilterHookInstalled());

  // No hook, no tracker: a menu loop now reaches neither.
  EXPECT_EQ(ChooseByKeys(window, {L"一"}, {VK_DOWN, VK_RETURN}), 101u);
  EXPECT_TRUE(first.keys.empty());
  EXPECT_TRUE(second.keys.empty());
}

}  // namespace
}  // namespace lumadex
