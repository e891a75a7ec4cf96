// The main window's four push buttons: what they are made of, how the keyboard and the pointer
// reach them, and how the download button behaves in the middle of a run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "controls/button/skin_button_win32.h"
#include "controls/host/container_box_win32.h"
#include "support/form_harness_win32.h"
#include "support/real_input_win32.h"
#include "support/site_client_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;
namespace in = test::input;

constexpr const wchar_t* kButtons[] = {L"NBtnLogin", L"NBtnClip", L"NBtnFile", L"NBtnDown"};

void UnlockAlbumAndMode(FormHarness& h) {
  SetOwnEnabled(h.control(L"FrameAblum"), true);
  SetOwnEnabled(h.control(L"FrameMode"), true);
  SetOwnEnabled(h.control(L"NewModeContainer"), true);
}

TEST(MainWindowSkinButtons, TheFourButtonsComeFromTheirStoredSets) {
  FormHarness h;
  for (const wchar_t* name : kButtons) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(name[4]));
    SkinButton* b = SkinButton::FromWindow(h.control(name));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Properties().Style, button::kStyleGradient);
    EXPECT_EQ(b->Properties().Font.face, L"宋体");
    EXPECT_EQ(b->Properties().Font.points, std::wstring(name) == L"NBtnDown" ? 10.5 : 9.0);
    EXPECT_FALSE(b->Properties().UseCustomColors);
    // The octagon outline of the gradient style at the button's size.
    RECT r;
    GetClientRect(h.control(name), &r);
    const int w = r.right, hgt = r.bottom;
    POINT pts[] = {{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, hgt - 3}, {w - 3, hgt}, {4, hgt}, {0, hgt - 4}};
    HRGN want = CreatePolygonRgn(pts, 8, ALTERNATE);
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h.control(name), got), ERROR);
    EXPECT_TRUE(EqualRgn(got, want));
    DeleteObject(want);
    DeleteObject(got);
  }
  EXPECT_EQ(h.form().NBtnDown().Caption(), L"下 载");
  EXPECT_EQ(h.form().NBtnLogin().Caption(), L"登 录");
  // The album group is locked until a sign-in: its buttons show their disabled face (+15).
  in::Settle(50);
  const std::uint32_t face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
  auto lighter = [](std::uint32_t c) {
    auto ch = [](std::uint32_t v) { return std::min<std::uint32_t>(255, v + 15); };
    return ch(c & 0xFF) | (ch((c >> 8) & 0xFF) << 8) | (ch((c >> 16) & 0xFF) << 16);
  };
  auto pixel = [](HWND w, int x, int y) {
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return static_cast<std::uint32_t>(c);
  };
  EXPECT_FALSE(IsUsable(h.control(L"NBtnClip")));
  EXPECT_EQ(pixel(h.control(L"NBtnClip"), 2, 22), lighter(face));  // face row H − 3
  EXPECT_EQ(pixel(h.control(L"NBtnLogin"), 2, 22), face);
}

TEST(MainWindowSkinButtons, TabArrowsSpaceAndEnterOnTheButtons) {
  FormHarness h;
  UnlockAlbumAndMode(h);
  in::Activate(h.form().hwnd());
  SetFocus(h.control(L"CheckUser"));
  in::Key(VK_TAB);
  EXPECT_EQ(GetFocus(), h.control(L"NBtnLogin"));
  in::Key(VK_TAB);
  EXPECT_EQ(GetFocus(), h.control(L"albumURLTxt"));
  in::Key(VK_TAB);
  EXPECT_EQ(GetFocus(), h.control(L"NBtnClip"));
  in::Key(VK_RIGHT);
  EXPECT_EQ(GetFocus(), h.control(L"DirPathTxt"));
  SetFocus(h.control(L"NBtnFile"));
  in::Key(VK_RIGHT);
  EXPECT_EQ(GetFocus(), h.control(L"OptionNew"));
  SetFocus(h.control(L"NBtnFile"));
  in::Key(VK_LEFT);
  EXPECT_EQ(GetFocus(), h.control(L"DirPathTxt"));
  SetFocus(h.control(L"NBtnDown"));
  in::Key(VK_RIGHT);  // the order wraps round to the first box
  EXPECT_EQ(GetFocus(), h.control(L"email"));

  // Space on the focused paste button pastes; Enter on it does nothing.
  test::PutOnClipboard(h.form().hwnd(), L"http://127.0.0.1/getalbum.do?id=7&owner=8");
  SetFocus(h.control(L"NBtnClip"));
  in::Key(VK_RETURN);
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), L"");
  in::Key(VK_SPACE);
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), L"http://127.0.0.1/getalbum.do?id=7&owner=8");
  EXPECT_EQ(GetFocus(), h.control(L"NBtnClip"));
}

TEST(MainWindowSkinButtons, APointerClickOnPastePastes) {
  FormHarness h;
  UnlockAlbumAndMode(h);
  in::Activate(h.form().hwnd());
  test::PutOnClipboard(h.form().hwnd(), L"http://127.0.0.1/getalbum.do?id=9&owner=8");
  HWND clip = h.control(L"NBtnClip");
  in::MoveTo(in::CentreOf(clip));
  EXPECT_EQ(SkinButton::FromWindow(clip)->State(), button::ButtonState::Hot);
  in::LeftClick();
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), L"http://127.0.0.1/getalbum.do?id=9&owner=8");
  in::MoveTo(POINT{2, 2});
  in::Settle(150);
  EXPECT_EQ(SkinButton::FromWindow(clip)->State(), button::ButtonState::Normal);
}

TEST(MainWindowSkinButtons, DoubleClickOnStopStopsOnce) {
  test::SiteConfigure("demo\nfault 1002 photos latency 400\n");
  FormHarness h;
  ASSERT_FALSE(h.PrepareDownload(1002).empty());
  in::Activate(h.form().hwnd());
  HWND down = h.control(L"NBtnDown");
  in::MoveTo(in::CentreOf(down));
  std::wstring captionDuringRun;
  int clicksSeenStopping = 0;
  test::RunSoon(900ms, [&] {
    captionDuringRun = h.form().NBtnDown().Caption();
    in::DoubleClick();
    clicksSeenStopping = h.form().Run().Downloading() ? 0 : 1;
  });
  in::LeftClick();  // starts the run; returns when the run is over
  test::Pump(300ms);
  EXPECT_EQ(captionDuringRun, L"停 止");
  EXPECT_EQ(clicksSeenStopping, 1);
  EXPECT_FALSE(h.form().Run().Downloading());
  EXPECT_EQ(h.form().NBtnDown().Caption(), L"下 载");
  EXPECT_EQ(h.form().Text(L"DownInfo"), L"相册下载中断…");
  EXPECT_LT(h.form().Run().SavedPhotos(), 40);
  EXPECT_EQ(GetCapture(), nullptr);
  in::MoveTo(POINT{2, 2});
}

}  // namespace
}  // namespace lumadex
