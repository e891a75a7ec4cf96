#include "skin/skin_caption_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "skin/skin_test_windows_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/thread_hooks_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::BorderPixel;
using test::CaptionPixel;
using test::FrameTestWindow;
using test::WindowPixels;
using test::FrameMismatches;

const test::SkinSource kTestSkin{CaptionPixel, BorderPixel};

constexpr DWORD kAllButtons = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kNoMaximize = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Skin pictures of the real sizes, every pixel telling its own coordinates.
struct TestSkin {
  test::TestPicture caption{640, 48, CaptionPixel};
  test::TestPicture border{70, 10, BorderPixel};
};

void AttachTestSkin(cSkinCaption& painter, const TestSkin& skin, HWND window) {
  painter.SetActiveCaptionColor(0x00FFFF);
  painter.SetInActiveCaptionColor(0xFF00FF);
  painter.Attach(window, skin.caption.get(), skin.border.get(), 19, 20, 90, 140, 240, 400);
  test::Pump(30ms);
}

void Repaint(HWND window) {
  SendMessageW(window, WM_NCPAINT, 1, 0);
}

// The pixels in the title area that are not caption background: the title's ink.
struct Ink {
  int count = 0;
  long left = LONG_MAX, right = -1;
};
Ink TitleInk(HWND window, long fromX, long toX) {
  const WindowPixels shot(window);
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
  TestSkin skin;
  FrameTestWindow window(kAllButtons, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  ASSERT_TRUE(painter.Engine()->WindowActive());
  std::string first;
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, {}, &first), 0) << first;

  // The inactive look takes the pieces 400 pixels further right but keeps the glyphs.
  SendMessageW(window.get(), WM_NCACTIVATE, 0, 0);
  EXPECT_FALSE(painter.Engine()->WindowActive());
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), false, false, {}, &first), 0) << first;
  SendMessageW(window.get(), WM_NCACTIVATE, 1, 0);
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, {}, &first), 0) << first;
}

TEST(SkinCaptionPieces, FourHundredPixelWindowPutsTheRightEndAndButtonsInPlace) {
  TestSkin skin;
  FrameTestWindow window(kAllButtons, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  EXPECT_EQ(painter.ButtonRect(skin::kClose), (skin::Rect{375, 5, 395, 25}));
  EXPECT_EQ(painter.ButtonRect(skin::kMaximize), (skin::Rect{355, 5, 375, 25}));
  EXPECT_EQ(painter.ButtonRect(skin::kMinimize), (skin::Rect{335, 5, 355, 25}));
  const WindowPixels shot(window.get());
  EXPECT_EQ(shot.at(300, 30), CaptionPixel(140, 30));  // the right end starts at 300
  EXPECT_EQ(shot.at(299, 30), CaptionPixel(91 + 209 % 52, 30));
  EXPECT_EQ(shot.at(376, 6), CaptionPixel(242, 1));     // close glyph
  EXPECT_EQ(shot.at(356, 6), CaptionPixel(279, 1));     // maximise glyph
}

TEST(SkinCaptionPieces, WindowWithoutMaximiseBoxHasMinimiseNextToClose) {
  TestSkin skin;
  FrameTestWindow window(kNoMaximize, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  EXPECT_FALSE(painter.ButtonExists(skin::kMaximize));
  EXPECT_EQ(painter.ButtonRect(skin::kMinimize), (skin::Rect{355, 5, 375, 25}));
  std::string first;
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, {}, &first), 0) << first;
}

TEST(SkinCaptionPieces, NarrowWindowClampsTheRightEndAndDrawsNoTitle) {
  TestSkin skin;
  FrameTestWindow window(kNoMaximize, 150, 200, L"Lumadex");
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  RECT r{};
  GetWindowRect(window.get(), &r);
  ASSERT_LT(r.right - r.left, 201) << "the platform refused a narrow window";
  std::string first;
  // Everything, the title area included, is skin: no title on a narrow window.
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, {}, &first), 0) << first;
}

TEST(SkinCaptionTitle, LongTitleEndsInAnEllipsisInsideItsRectangle) {
  TestSkin skin;
  FrameTestWindow window(kAllButtons, 400, 300, L"Lumadex");
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  const RECT title{92, 11, 304, 29};
  std::string first;
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, title, &first), 0) << first;
  const Ink shortInk = TitleInk(window.get(), 0, 400);
  EXPECT_GT(shortInk.count, 0);
  EXPECT_GE(shortInk.left, 92);
  EXPECT_LT(shortInk.right, 200);

  SetWindowTextW(window.get(), std::wstring(200, L'W').c_str());
  test::Pump(20ms);
  // Nothing outside the title rectangle, and the text runs up to its end, cut rather than
  // wrapped or shrunk.
  EXPECT_EQ(FrameMismatches(kTestSkin, window.get(), true, false, title, &first), 0) << first;
  const Ink longInk = TitleInk(window.get(), 0, 400);
  EXPECT_GE(longInk.left, 92);
  EXPECT_LT(longInk.right, 304);
  EXPECT_GT(longInk.right, 304 - 16);
}

TEST(SkinCaptionTitle, AmpersandIsDrawnAndColourFollowsActivation) {
  TestSkin skin;
  FrameTestWindow window(kAllButtons, 400, 300, L"W");
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  const Ink plain = TitleInk(window.get(), 0, 400);
  SetWindowTextW(window.get(), L"&W");
  test::Pump(20ms);
  const Ink withAmpersand = TitleInk(window.get(), 0, 400);
  ASSERT_GT(plain.count, 0);
  EXPECT_GT(withAmpersand.right - withAmpersand.left, plain.right - plain.left + 3);

  // The title's solid pixels are the caption colour of the state (yellow active, magenta not).
  const auto hasColour = [&](COLORREF colour) {
    const WindowPixels shot(window.get());
    for (long y = 11; y < 29; ++y)
      for (long x = 92; x < 200; ++x)
        if (shot.at(x, y) == colour) return true;
    return false;
  };
  EXPECT_TRUE(hasColour(RGB(0xFF, 0xFF, 0x00)));
  SendMessageW(window.get(), WM_NCACTIVATE, 0, 0);
  EXPECT_TRUE(hasColour(RGB(0xFF, 0x00, 0xFF)));
  EXPECT_FALSE(hasColour(RGB(0xFF, 0xFF, 0x00)));
}

TEST(SkinCaptionButtons, PressShowsThePressedGlyphAndReleaseRunsTheButtonUnderIt) {
  TestSkin skin;
  FrameTestWindow window(kAllButtons, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  HWND w = window.get();

  const LPARAM close = test::ScreenPoint(w, 385, 15), minimise = test::ScreenPoint(w, 345, 15);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, close), HTSYSMENU);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTSYSMENU, close);
  EXPECT_TRUE(painter.ButtonPressed(skin::kClose));
  std::string first;
  EXPECT_EQ(FrameMismatches(kTestSkin, w, true, true, {}, &first), 0) << first;
  // Leaving the button pops it up again; it stays armed until the release.
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, test::ScreenPoint(w, 200, 20)), HTCAPTION);
  EXPECT_EQ(FrameMismatches(kTestSkin, w, true, false, {}, &first), 0) << first;

  // Released over minimise: the window is minimised, not closed.
  SendMessageW(w, WM_NCLBUTTONUP, HTSYSMENU, minimise);
  test::PumpUntil([&] { return IsIconic(w) != FALSE; }, 1000ms);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(painter.ButtonPressed(skin::kClose));
  EXPECT_FALSE(painter.ButtonPressed(skin::kMinimize));
}

TEST(SkinCaptionButtons, MaximiseButtonSwitchesToTheRestoreGlyph) {
  TestSkin skin;
  FrameTestWindow window(kAllButtons | WS_THICKFRAME, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  HWND w = window.get();
  SendMessageW(w, WM_NCLBUTTONUP, HTSYSMENU, test::ScreenPoint(w, 365, 15));
  test::PumpUntil([&] { return IsZoomed(w) != FALSE; }, 1000ms);
  ASSERT_TRUE(IsZoomed(w));
  Repaint(w);
  const skin::Rect max = painter.ButtonRect(skin::kMaximize);
  EXPECT_EQ(WindowPixels(w).at(max.left + 1, max.top + 1), CaptionPixel(260, 1));
  // A release over the same button now restores.
  RECT r{};
  GetWindowRect(w, &r);
  SendMessageW(w, WM_NCLBUTTONUP, HTSYSMENU, MAKELPARAM(r.left + max.left + 5, r.top + max.top + 5));
  test::PumpUntil([&] { return IsZoomed(w) == FALSE; }, 1000ms);
  EXPECT_FALSE(IsZoomed(w));
}

TEST(SkinCaptionHitTest, IconSpotAndButtonsOpenTheSystemMenuTheRestIsCaption) {
  TestSkin skin;
  FrameTestWindow window(kNoMaximize, 400, 300);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, window.get());
  HWND w = window.get();
  const auto hit = [&](long x, long y) { return SendMessageW(w, WM_NCHITTEST, 0, test::ScreenPoint(w, x, y)); };
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
  TestSkin skin;
  FrameTestWindow window(kNoMaximize, 400, 300);
  HWND w = window.get();
  const LONG_PTR ownProcedure = GetWindowLongPtrW(w, GWLP_WNDPROC);
  const std::size_t hooksBefore = thread_hooks::KeyboardHookEngineCount();
  {
    cSkinCaption painter;
    for (int round = 0; round < 2; ++round) {
      AttachTestSkin(painter, skin, w);
      EXPECT_TRUE(subclass_registry::IsSubclassed(w));
      // The engine's sixteen messages, the menu strip's six and its tracker's menu selection.
      EXPECT_EQ(subclass_registry::RegistrationCount(w), 16u + 6u + 1u);
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
    AttachTestSkin(painter, skin, w);
  }
  EXPECT_FALSE(subclass_registry::IsSubclassed(w));
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), ownProcedure);
  EXPECT_EQ(GetPropW(w, cNCCalcSize::kImplementationProperty), nullptr);
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore);
}

TEST(SkinCaptionLifecycle, WindowMenuIsTakenOffTheFrameAndGivenBack) {
  TestSkin skin;
  FrameTestWindow window(kNoMaximize, 400, 300);
  HWND w = window.get();
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"File");
  SetMenu(w, menu);
  cSkinCaption painter;
  AttachTestSkin(painter, skin, w);
  EXPECT_EQ(painter.Engine()->hMenu(), menu);
  SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetMenu(w), nullptr);
  painter.Detach();
  EXPECT_EQ(GetMenu(w), menu);
}

TEST(SkinCaptionLifecycle, DestroyedWindowDropsItsRegistrations) {
  TestSkin skin;
  const std::size_t windowsBefore = subclass_registry::WindowCount();
  const std::size_t hooksBefore = thread_hooks::KeyboardHookEngineCount();
  cSkinCaption painter;
  {
    FrameTestWindow window(kNoMaximize, 400, 300);
    AttachTestSkin(painter, skin, window.get());
    EXPECT_EQ(subclass_registry::WindowCount(), windowsBefore + 1);
  }
  EXPECT_EQ(subclass_registry::WindowCount(), windowsBefore);
  EXPECT_EQ(thread_hooks::KeyboardHookEngineCount(), hooksBefore);
  EXPECT_EQ(painter.Engine()->hWnd(), nullptr);
  painter.Detach();  // harmless afterwards
}

TEST(SkinFontAndColour, LogFontFromTheFontObjectAndSystemColours) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  SkinFont font;
  font.Name = L"微软雅黑";
  font.Size = 9;
  font.Bold = true;
  font.Italic = true;
  LOGFONTW lf;
  FontToLogFont(font, screen, lf);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"微软雅黑");
  EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpi, 72));
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_NE(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 0);
  // Sizes are rounded half to even before the conversion.
  font.Size = 8.5;
  FontToLogFont(font, screen, lf);
  EXPECT_EQ(lf.lfHeight, -MulDiv(8, dpi, 72));
  font.Size = 9.5;
  FontToLogFont(font, screen, lf);
  EXPECT_EQ(lf.lfHeight, -MulDiv(10, dpi, 72));
  // A name longer than the field is cut at a whole character: 15 two-byte characters fit the
  // 31 bytes, the 16th does not.
  font.Name = std::wstring(20, L'宋');
  FontToLogFont(font, screen, lf);
  EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(15, L'宋'));
  ReleaseDC(nullptr, screen);

  EXPECT_EQ(TranslateSkinColor(0x123456), 0x123456u);
  EXPECT_EQ(TranslateSkinColor(0x8000000F), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(TranslateSkinColor(0x800000FF), CLR_INVALID);
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
