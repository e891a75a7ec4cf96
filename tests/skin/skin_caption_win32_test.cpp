#include "skin/skin_caption_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "skin/skin_test_windows_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/system_colour_win32.h"
#include "winmsg/thread_hooks_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::BorderPixel;
using test::CaptionPixel;
using test::FrameMismatches;
using test::FrameTestWindow;
using test::Capture;

const test::SkinSource kTestSkin{CaptionPixel, BorderPixel};

constexpr DWORD kAllButtons = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kNoMaximize = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// A window under a painter with the test skin, the title yellow while active, magenta while not.
struct SkinnedWindow {
  explicit SkinnedWindow(DWORD style, int width = 400, int height = 300, const wchar_t* title = L"")
      : window(style, width, height, title), hwnd(window.hwnd()) {
    painter.SetActiveCaptionColor(0x00FFFF);
    painter.SetInActiveCaptionColor(0xFF00FF);
    skin.AttachTo(painter, hwnd);
  }
  // The frame's pixels that are not what the skin says; `skip` (the title) is left out.
  ::testing::AssertionResult IsTheSkin(bool active, bool closePressed = false, RECT skip = {}) const {
    std::string first;
    const int bad = FrameMismatches(kTestSkin, hwnd, active, closePressed, skip, &first);
    if (bad == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " frame pixels are not the skin's, " << first;
  }

  test::TestSkin skin;
  FrameTestWindow window;
  const HWND hwnd;
  cSkinCaption painter;
};

// The pixels in the title area that are not caption background: the title's ink.
struct Ink {
  int count = 0;
  long left = LONG_MAX, right = -1;
};
Ink TitleInk(HWND window, long fromX, long toX) {
  const Capture shot = Capture::Window(window);
  Ink ink;
  for (long y = 0; y < 48; ++y) {
    for (long x = fromX; x < toX && x < shot.width(); ++x) {
      COLORREF want = 0;
      test::ExpectedFramePixel(kTestSkin, x, y, shot.width(), shot.height(), true,
                               static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), false, want);
      if (shot.at(x, y) != want) {
        ++ink.count;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
    }
  }
  return ink;
}

TEST(SkinCaptionPieces, EveryFramePixelComesFromItsPlaceActiveAndInactive) {
  SkinnedWindow w(kAllButtons);
  ASSERT_TRUE(w.painter.Engine()->WindowActive());
  EXPECT_TRUE(w.IsTheSkin(true));

  // The inactive look takes the pieces 400 pixels further right but keeps the glyphs.
  SendMessageW(w.hwnd, WM_NCACTIVATE, 0, 0);
  EXPECT_FALSE(w.painter.Engine()->WindowActive());
  EXPECT_TRUE(w.IsTheSkin(false));
  SendMessageW(w.hwnd, WM_NCACTIVATE, 1, 0);
  EXPECT_TRUE(w.IsTheSkin(true));
}

TEST(SkinCaptionPieces, FourHundredPixelWindowPutsTheRightEndAndButtonsInPlace) {
  SkinnedWindow w(kAllButtons);
  EXPECT_EQ(w.painter.ButtonRect(skin::kClose), (skin::Rect{375, 5, 395, 25}));
  EXPECT_EQ(w.painter.ButtonRect(skin::kMaximize), (skin::Rect{355, 5, 375, 25}));
  EXPECT_EQ(w.painter.ButtonRect(skin::kMinimize), (skin::Rect{335, 5, 355, 25}));
  const Capture shot = Capture::Window(w.hwnd);
  EXPECT_EQ(shot.at(300, 30), CaptionPixel(140, 30));  // the right end starts at 300
  EXPECT_EQ(shot.at(299, 30), CaptionPixel(91 + 209 % 52, 30));
  EXPECT_EQ(shot.at(376, 6), CaptionPixel(242, 1));     // close glyph
  EXPECT_EQ(shot.at(356, 6), CaptionPixel(279, 1));     // maximise glyph
}

TEST(SkinCaptionPieces, WindowWithoutMaximiseBoxHasMinimiseNextToClose) {
  SkinnedWindow w(kNoMaximize);
  EXPECT_FALSE(w.painter.ButtonExists(skin::kMaximize));
  EXPECT_EQ(w.painter.ButtonRect(skin::kMinimize), (skin::Rect{355, 5, 375, 25}));
  EXPECT_TRUE(w.IsTheSkin(true));
}

TEST(SkinCaptionPieces, NarrowWindowClampsTheRightEndAndDrawsNoTitle) {
  SkinnedWindow w(kNoMaximize, 150, 200, L"Lumadex");
  RECT r{};
  GetWindowRect(w.hwnd, &r);
  ASSERT_LT(r.right - r.left, 201) << "the platform refused a narrow window";
  // Everything, the title area included, is skin: no title on a narrow window.
  EXPECT_TRUE(w.IsTheSkin(true));
}

TEST(SkinCaptionTitle, LongTitleEndsInAnEllipsisInsideItsRectangle) {
  SkinnedWindow w(kAllButtons, 400, 300, L"Lumadex");
  const RECT title{92, 11, 304, 29};
  EXPECT_TRUE(w.IsTheSkin(true, false, title));
  const Ink shortInk = TitleInk(w.hwnd, 0, 400);
  EXPECT_GT(shortInk.count, 0);
  EXPECT_GE(shortInk.left, 92);
  EXPECT_LT(shortInk.right, 200);

  SetWindowTextW(w.hwnd, std::wstring(200, L'W').c_str());
  test::Pump(20ms);
  // Nothing outside the title rectangle, and the text runs up to its end, cut rather than
  // wrapped or shrunk.
  EXPECT_TRUE(w.IsTheSkin(true, false, title));
  const Ink longInk = TitleInk(w.hwnd, 0, 400);
  EXPECT_GE(longInk.left, 92);
  EXPECT_LT(longInk.right, 304);
  EXPECT_GT(longInk.right, 304 - 16);
}

TEST(SkinCaptionTitle, AmpersandIsDrawnAndColourFollowsActivation) {
  SkinnedWindow w(kAllButtons, 400, 300, L"W");
  const Ink plain = TitleInk(w.hwnd, 0, 400);
  SetWindowTextW(w.hwnd, L"&W");
  test::Pump(20ms);
  const Ink withAmpersand = TitleInk(w.hwnd, 0, 400);
  ASSERT_GT(plain.count, 0);
  EXPECT_GT(withAmpersand.right - withAmpersand.left, plain.right - plain.left + 3);

  // The title's solid pixels are the caption colour of the state (yellow active, magenta not).
  const RECT title{92, 11, 200, 29};
  EXPECT_GT(Capture::Window(w.hwnd).Count(title, RGB(0xFF, 0xFF, 0x00)), 0);
  SendMessageW(w.hwnd, WM_NCACTIVATE, 0, 0);
  const Capture inactive = Capture::Window(w.hwnd);
  EXPECT_GT(inactive.Count(title, RGB(0xFF, 0x00, 0xFF)), 0);
  EXPECT_EQ(inactive.Count(title, RGB(0xFF, 0xFF, 0x00)), 0);
}

TEST(SkinCaptionButtons, PressShowsThePressedGlyphAndReleaseRunsTheButtonUnderIt) {
  SkinnedWindow w(kAllButtons);
  const LPARAM close = test::ScreenPoint(w.hwnd, 385, 15), minimise = test::ScreenPoint(w.hwnd, 345, 15);
  EXPECT_EQ(SendMessageW(w.hwnd, WM_NCHITTEST, 0, close), HTSYSMENU);
  SendMessageW(w.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, close);
  EXPECT_TRUE(w.painter.ButtonPressed(skin::kClose));
  EXPECT_TRUE(w.IsTheSkin(true, true));
  // Leaving the button pops it up again; it stays armed until the release.
  EXPECT_EQ(SendMessageW(w.hwnd, WM_NCHITTEST, 0, test::ScreenPoint(w.hwnd, 200, 20)), HTCAPTION);
  EXPECT_TRUE(w.IsTheSkin(true));

  // Released over minimise: a button runs only when pressed and released on it.
  SendMessageW(w.hwnd, WM_NCLBUTTONUP, HTSYSMENU, minimise);
  test::Pump(100ms);
  EXPECT_FALSE(IsIconic(w.hwnd));
  EXPECT_TRUE(IsWindow(w.hwnd));
  EXPECT_FALSE(w.painter.ButtonPressed(skin::kClose));
  EXPECT_FALSE(w.painter.ButtonPressed(skin::kMinimize));
  // Pressed and released on minimise, it minimises.
  SendMessageW(w.hwnd, WM_NCHITTEST, 0, minimise);
  SendMessageW(w.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, minimise);
  SendMessageW(w.hwnd, WM_NCLBUTTONUP, HTSYSMENU, minimise);
  test::PumpUntil([&] { return IsIconic(w.hwnd) != FALSE; }, 1000ms);
  EXPECT_TRUE(IsIconic(w.hwnd));
}

TEST(SkinCaptionLifecycle, PaintingLeavesAnotherWindowsUpdateLockInPlace) {
  SkinnedWindow w(kAllButtons);
  test::FrameTestWindow other(WS_OVERLAPPEDWINDOW, 200, 120, L"other");
  ASSERT_TRUE(LockWindowUpdate(other.hwnd()));
  SendMessageW(w.hwnd, WM_NCPAINT, 1, 0);
  EXPECT_FALSE(LockWindowUpdate(w.hwnd)) << "the other window's lock was undone";
  LockWindowUpdate(nullptr);
}

TEST(SkinCaptionButtons, MaximiseButtonSwitchesToTheRestoreGlyph) {
  SkinnedWindow w(kAllButtons | WS_THICKFRAME);
  SendMessageW(w.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, test::ScreenPoint(w.hwnd, 365, 15));
  SendMessageW(w.hwnd, WM_NCLBUTTONUP, HTSYSMENU, test::ScreenPoint(w.hwnd, 365, 15));
  test::PumpUntil([&] { return IsZoomed(w.hwnd) != FALSE; }, 1000ms);
  ASSERT_TRUE(IsZoomed(w.hwnd));
  SendMessageW(w.hwnd, WM_NCPAINT, 1, 0);
  const skin::Rect max = w.painter.ButtonRect(skin::kMaximize);
  EXPECT_EQ(Capture::Window(w.hwnd).at(max.left + 1, max.top + 1), CaptionPixel(260, 1));
  // A release over the same button now restores.
  SendMessageW(w.hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, test::ScreenPoint(w.hwnd, max.left + 5, max.top + 5));
  SendMessageW(w.hwnd, WM_NCLBUTTONUP, HTSYSMENU, test::ScreenPoint(w.hwnd, max.left + 5, max.top + 5));
  test::PumpUntil([&] { return IsZoomed(w.hwnd) == FALSE; }, 1000ms);
  EXPECT_FALSE(IsZoomed(w.hwnd));
}

TEST(SkinCaptionHitTest, IconSpotAndButtonsOpenTheSystemMenuTheRestIsCaption) {
  SkinnedWindow w(kNoMaximize);
  const auto hit = [&](long x, long y) { return SendMessageW(w.hwnd, WM_NCHITTEST, 0, test::ScreenPoint(w.hwnd, x, y)); };
  EXPECT_EQ(hit(12, 11), HTSYSMENU);
  EXPECT_EQ(hit(41, 42), HTSYSMENU);
  EXPECT_EQ(hit(42, 20), HTCAPTION);
  EXPECT_EQ(hit(375, 5), HTSYSMENU);
  EXPECT_EQ(hit(394, 24), HTSYSMENU);
  EXPECT_EQ(hit(395, 24), HTCLIENT);  // a fixed window's right border is client area
  EXPECT_EQ(hit(360, 15), HTSYSMENU);
  EXPECT_EQ(hit(300, 20), HTCAPTION);
  EXPECT_EQ(hit(200, 40), HTCLIENT);  // the menu strip
}

TEST(SkinCaptionLifecycle, AttachDetachAttachLeavesNoTrace) {
  const test::TestSkin skin;
  FrameTestWindow window(kNoMaximize, 400, 300);
  const HWND w = window.hwnd();
  const LONG_PTR ownProcedure = GetWindowLongPtrW(w, GWLP_WNDPROC);
  const std::size_t hooksBefore = thread_hooks::KeyboardHookEngineCount();
  {
    cSkinCaption painter;
    for (int round = 0; round < 2; ++round) {
      skin.AttachTo(painter, w);
      EXPECT_TRUE(subclass_registry::IsSubclassed(w));
      // The engine's sixteen messages, the menu strip's seven (its keyboard mode's WM_SYSCOMMAND among them) and its tracker's menu selection.
      EXPECT_EQ(subclass_registry::RegistrationCount(w), 16u + 7u + 1u);
      EXPECT_EQ(GetPropW(w, cNCCalcSize::kImplementationProperty), static_cast<HANDLE>(static_cast<INCAreaModifier*>(&painter)));
      EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore + 1);
      RECT client{};
      GetClientRect(w, &client);
      EXPECT_EQ(client.right, 400 - 20);
      EXPECT_EQ(client.bottom, 300 - 58);

      painter.Detach();
      EXPECT_FALSE(subclass_registry::IsSubclassed(w));
      EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), ownProcedure);
      EXPECT_EQ(GetPropW(w, cNCCalcSize::kImplementationProperty), nullptr);
      EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore);
    }
    // Attached again and then let go without a Detach: its destructor takes everything back.
    skin.AttachTo(painter, w);
  }
  EXPECT_FALSE(subclass_registry::IsSubclassed(w));
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), ownProcedure);
  EXPECT_EQ(GetPropW(w, cNCCalcSize::kImplementationProperty), nullptr);
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore);
}

TEST(SkinCaptionLifecycle, WindowMenuIsTakenOffTheFrameAndGivenBack) {
  const test::TestSkin skin;
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"File");
  FrameTestWindow window(kNoMaximize, 400, 300, L"", menu);
  const HWND w = window.hwnd();
  cSkinCaption painter;
  skin.AttachTo(painter, w);
  EXPECT_EQ(painter.Engine()->hMenu(), menu);
  SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetMenu(w), nullptr);
  painter.Detach();
  EXPECT_EQ(GetMenu(w), menu);
}

TEST(SkinCaptionLifecycle, DestroyedWindowDropsItsRegistrations) {
  const test::TestSkin skin;
  const std::size_t windowsBefore = subclass_registry::WindowCount();
  const std::size_t hooksBefore = thread_hooks::KeyboardHookEngineCount();
  cSkinCaption painter;
  {
    FrameTestWindow window(kNoMaximize, 400, 300);
    skin.AttachTo(painter, window.hwnd());
    EXPECT_EQ(subclass_registry::WindowCount(), windowsBefore + 1);
  }
  EXPECT_EQ(subclass_registry::WindowCount(), windowsBefore);
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore);
  EXPECT_EQ(painter.Engine()->hWnd(), nullptr);
  painter.Detach();  // harmless afterwards
}

TEST(SkinFontAndColour, LogFontFromTheFontObjectAndSystemColours) {
  const WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  SkinFont font;
  font.Name = L"微软雅黑";
  font.Size = 9;
  font.Bold = true;
  font.Italic = true;
  LOGFONTW lf;
  FontToLogFont(font, screen.get(), lf);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"微软雅黑");
  EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpi, 72));
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_NE(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 0);
  // Sizes are rounded half to even before the conversion.
  font.Size = 8.5;
  FontToLogFont(font, screen.get(), lf);
  EXPECT_EQ(lf.lfHeight, -MulDiv(8, dpi, 72));
  font.Size = 9.5;
  font.Bold = false;
  FontToLogFont(font, screen.get(), lf);
  EXPECT_EQ(lf.lfHeight, -MulDiv(10, dpi, 72));
  EXPECT_EQ(lf.lfWeight, 400);
  // A name longer than the field is cut at a whole character: 15 two-byte characters fit the
  // 31 bytes, the 16th does not.
  font.Name = std::wstring(20, L'宋');
  FontToLogFont(font, screen.get(), lf);
  EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(15, L'宋'));

  // The frame's colours go through the platform's system colours as they are now.
  EXPECT_EQ(TranslateColor(0x123456), 0x123456u);
  EXPECT_EQ(TranslateColor(0x8000000F), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(TranslateColor(0x800000FF), CLR_INVALID);
  cSkinCaption fresh;
  EXPECT_EQ(fresh.ActiveCaptionColor(), 0xCCCCCCu);
  EXPECT_EQ(fresh.InActiveCaptionColor(), 0x999999u);
  EXPECT_EQ(fresh.MenuBackgroundColor(), 0xFFFFFFu);
  EXPECT_EQ(fresh.InActiveMenuColor(), 0x808080u);
  EXPECT_EQ(fresh.CaptionFont()->Name, L"MS Sans Serif");
  EXPECT_NE(fresh.CaptionFont(), fresh.MenuFont());
}

}  // namespace
}  // namespace lumadex
