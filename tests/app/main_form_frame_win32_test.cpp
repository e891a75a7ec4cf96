#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "services/ansi_win32.h"
#include "services/mod_tray_win32.h"
#include "skin/skin_test_windows_win32.h"
#include "support/form_harness_win32.h"
#include "support/pixel_capture_win32.h"
#include "support/real_input_win32.h"
#include "support/site_client_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/subclass_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;

// The program's own skin picture, read pixel by pixel, as the expected source of the frame.
test::Capture ResourcePicture(int id) {
  const Bitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return test::Capture::Bitmap(bitmap.get());
}

const test::Capture& CaptionPicture() {
  static const test::Capture picture = ResourcePicture(IDB_SKIN_CAPTION);
  return picture;
}
const test::Capture& BorderPicture() {
  static const test::Capture picture = ResourcePicture(IDB_SKIN_BORDER);
  return picture;
}
const test::SkinSource& ProgramSkin() {
  static const test::SkinSource skin{[](long x, long y) { return CaptionPicture().at(x, y); },
                                     [](long x, long y) { return BorderPicture().at(x, y); }};
  return skin;
}

// The title's own rectangle is left out: its text is the font's business.
constexpr RECT kTitle{92, 11, 514 - 96, 29};

::testing::AssertionResult FrameIsTheSkin(HWND window, bool active, bool closePressed = false) {
  std::string first;
  const int bad = test::FrameMismatches(ProgramSkin(), window, active, closePressed, kTitle, &first);
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " frame pixels are not the skin's, " << first;
}

LRESULT HitAt(HWND w, long x, long y) { return SendMessageW(w, WM_NCHITTEST, 0, test::ScreenPoint(w, x, y)); }

// A press and release on a caption button, as the mouse gives them.
void ClickFrame(HWND w, long x, long y) {
  const LPARAM at = test::ScreenPoint(w, x, y);
  const LRESULT code = SendMessageW(w, WM_NCHITTEST, 0, at);
  SendMessageW(w, WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), at);
  SendMessageW(w, WM_NCLBUTTONUP, static_cast<WPARAM>(code), at);
}

TEST(MainWindowFrame, SkinnedFrameAroundTheSameClientArea) {
  ASSERT_EQ(CaptionPicture().width(), 640);
  ASSERT_EQ(CaptionPicture().height(), 48);
  ASSERT_EQ(BorderPicture().width(), 70);
  ASSERT_EQ(BorderPicture().height(), 10);
  FormHarness h;
  HWND w = h.form().hwnd();
  ASSERT_NE(h.form().Caption(), nullptr);
  RECT frame{}, client{};
  GetWindowRect(w, &frame);
  GetClientRect(w, &client);
  EXPECT_EQ(frame.right - frame.left, 514);
  EXPECT_EQ(frame.bottom - frame.top, 423);
  EXPECT_EQ(client.right, 494);
  EXPECT_EQ(client.bottom, 365);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.x - frame.left, 10);
  EXPECT_EQ(origin.y - frame.top, 48);
  // Still centred on the screen.
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_TRUE(FrameIsTheSkin(w, true));
}

TEST(MainWindowFrame, HitTestOfCaptionButtonsIconAndBorders) {
  FormHarness h;
  HWND w = h.form().hwnd();
  EXPECT_EQ(HitAt(w, 250, 20), HTCAPTION);
  EXPECT_EQ(HitAt(w, 499, 15), HTSYSMENU);  // close
  EXPECT_EQ(HitAt(w, 479, 15), HTSYSMENU);  // minimise
  EXPECT_EQ(HitAt(w, 25, 25), HTSYSMENU);   // the emblem
  EXPECT_EQ(HitAt(w, 3, 200), HTCLIENT);    // the window is not sizable: borders are inert
  EXPECT_EQ(HitAt(w, 510, 200), HTCLIENT);
  EXPECT_EQ(HitAt(w, 250, 418), HTCLIENT);
  EXPECT_EQ(HitAt(w, 250, 40), HTCLIENT);
}

TEST(MainWindowFrame, MinimiseButtonHidesIntoTheTrayAndTheFrameComesBackIntact) {
  FormHarness h;
  HWND w = h.form().hwnd();
  ClickFrame(w, 479, 15);
  test::PumpUntil([&] { return !IsWindowVisible(w); }, 2000ms);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(AnsiToWide(TrayRecordForTesting().szInfo), L"谢谢您的支持");
  SendMessageW(w, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
  test::Pump(100ms);
  ASSERT_TRUE(IsWindowVisible(w));
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(FrameIsTheSkin(w, true));
}

// The glyphs clicked as a user clicks them: the platform turns the button events into frame
// messages itself, with whatever parameter widths the build has.
TEST(MainWindowFrame, RealClicksOnTheMinimiseAndCloseGlyphs) {
  FormHarness h;
  HWND w = h.form().hwnd();
  RECT r{};
  GetWindowRect(w, &r);
  test::input::MoveTo(POINT{r.left + 479, r.top + 15});
  test::input::LeftClick();
  EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(w); }, 2000ms)) << "the minimise glyph";
  SendMessageW(w, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);  // back from the tray
  test::Pump(100ms);
  ASSERT_TRUE(IsWindowVisible(w));

  // The close glyph of a window in the background: the press activates it first.
  test::FrameTestWindow other(WS_OVERLAPPEDWINDOW, 200, 120, L"other");
  SetForegroundWindow(other.hwnd());
  test::Pump(100ms);
  GetWindowRect(w, &r);
  test::input::MoveTo(POINT{r.left + 499, r.top + 15});
  test::input::LeftClick();
  EXPECT_TRUE(test::PumpUntil([&] { return !IsWindow(w); }, 2000ms)) << "the close glyph";
}

TEST(MainWindowFrame, CloseButtonReleasedElsewhereDoesNothing) {
  FormHarness h;
  HWND w = h.form().hwnd();
  const LPARAM close = test::ScreenPoint(w, 499, 15);
  SendMessageW(w, WM_NCHITTEST, 0, close);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTSYSMENU, close);
  EXPECT_TRUE(FrameIsTheSkin(w, true, true));
  // Released over the client area, then over the caption.
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, test::ScreenPoint(w, 250, 20));
  test::Pump(100ms);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(FrameIsTheSkin(w, true));
}

TEST(MainWindowFrame, CloseButtonEndsAnIdleWindowAndIsRefusedDuringARun) {
  test::SiteConfigure("demo\nfault 1002 photos latency 100\n");
  FormHarness h;
  ASSERT_FALSE(h.PrepareDownload(1002).empty());
  HWND w = h.form().hwnd();
  bool refused = false;
  h.DuringARun([&] {
    test::RunSoon(300ms, [&] {
      HWND box = FindWindowW(L"#32770", L"退出程序");
      if (!box) return;
      refused = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ClickFrame(w, 499, 15);
    test::PumpUntil([&] { return refused; }, 2000ms);
    test::Pump(100ms);
    EXPECT_TRUE(h.form().Run().Downloading());
  });
  EXPECT_TRUE(refused);
  ASSERT_TRUE(IsWindow(w));
  EXPECT_TRUE(subclass_registry::IsSubclassed(w));
  EXPECT_TRUE(FrameIsTheSkin(w, true));

  ClickFrame(w, 499, 15);
  test::PumpUntil([&] { return !IsWindow(w); }, 2000ms);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(subclass_registry::IsSubclassed(w));
}

// Right after start, the first press on the caption drags, with the buttons as the user has
// them (Wine hands the left button on as the primary one even when they are swapped).
TEST(MainWindowFrame, CaptionDragMovesTheWindowAtOnceWithEitherButtonSetting) {
  for (const bool swapped : {false, true}) {
    SCOPED_TRACE(swapped ? "swapped buttons" : "plain buttons");
    std::optional<test::SwappedButtons> swap;
    if (swapped) swap.emplace();
    FormHarness h;
    HWND w = h.form().hwnd();
    RECT before{};
    GetWindowRect(w, &before);
    SetCursorPos(before.left + 250, before.top + 20);
    test::Pump(30ms);
    test::RunSoon(80ms, [] {
      POINT p{};
      GetCursorPos(&p);
      SetCursorPos(p.x - 40, p.y + 25);
    });
    test::HoldLeftButton(250ms, 600ms);
    RECT after{};
    GetWindowRect(w, &after);
    EXPECT_EQ(after.left - before.left, -40);
    EXPECT_EQ(after.top - before.top, 25);
    EXPECT_EQ(after.right - after.left, 514);
    EXPECT_TRUE(FrameIsTheSkin(w, true));
  }
}

// F10 or a lone Alt on a window whose strip has no items does nothing, and what is typed next
// reaches the focused field, right after start and before the pointer has crossed the window.
TEST(MainWindowFrame, F10OrAltThenTypingReachesTheFocusedField) {
  for (const WORD key : {WORD{VK_F10}, WORD{VK_MENU}}) {
    SCOPED_TRACE(key == VK_F10 ? "F10" : "Alt");
    test::input::MoveTo(POINT{2, 2});
    FormHarness h;
    HWND email = h.control(L"email");
    ASSERT_EQ(GetFocus(), email);
    test::input::QueueKeys({}, key);
    test::input::QueueKeys({}, 'A');
    test::input::QueueKeys({}, 'B');
    test::RunSoon(1000ms, [] { EndMenu(); });  // a menu opened by mistake must not hang the test
    test::Pump(400ms);
    wchar_t text[16] = {};
    GetWindowTextW(email, text, 16);
    EXPECT_STREQ(text, L"ab");
    test::Pump(700ms);
  }
}

TEST(MainWindowFrame, ActivationSwitchesTheLook) {
  FormHarness h;
  HWND w = h.form().hwnd();
  ASSERT_TRUE(FrameIsTheSkin(w, true));
  {
    test::FrameTestWindow other(WS_OVERLAPPEDWINDOW, 200, 120, L"other");
    SetWindowPos(other.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(other.hwnd());
    test::Pump(50ms);
    EXPECT_TRUE(FrameIsTheSkin(w, false));
    SetForegroundWindow(w);
    test::Pump(50ms);
    EXPECT_TRUE(FrameIsTheSkin(w, true));
    SetForegroundWindow(other.hwnd());
    test::Pump(50ms);
  }
  // The other window gone, the main window is active again.
  test::Pump(50ms);
  SetForegroundWindow(w);
  test::Pump(50ms);
  EXPECT_TRUE(FrameIsTheSkin(w, true));
}

TEST(MainWindowFrame, NoStandardFrameAfterTitleChangeOrSystemMenu) {
  FormHarness h;
  HWND w = h.form().hwnd();
  SetWindowTextW(w, L"Lumadex 相册下载");
  test::Pump(30ms);
  EXPECT_TRUE(FrameIsTheSkin(w, true));
  SetWindowTextW(w, L"Lumadex");

  // Alt+Space opens the system menu; Escape closes it.
  bool menuSeen = false;
  test::RunSoon(300ms, [&] {
    menuSeen = FindWindowW(L"#32768", nullptr) != nullptr;
    test::input::QueueKeys({}, VK_ESCAPE);
  });
  test::RunSoon(1500ms, [] { EndMenu(); });  // never left open, whatever happened
  PostMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
  test::Pump(800ms);
  EXPECT_TRUE(menuSeen);
  test::Pump(800ms);
  EXPECT_TRUE(FrameIsTheSkin(w, true));
}

}  // namespace
}  // namespace lumadex
