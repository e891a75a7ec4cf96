// A window with a menu under the skinned frame: the strip in the caption, its popups opened by
// the mouse and by Alt with an access key, commands reaching the window, and every popup item
// given back when menu mode ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/menu_test_support_win32.h"
#include "skin/skin_caption_win32.h"
#include "skin/skin_test_windows_win32.h"
#include "support/gdi_count_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/thread_hooks_win32.h"

namespace lumadex {
namespace {

using namespace menu_test;

// The test menu on a window under the skinned frame, the strip in Tahoma 9.
struct MenuWindow {
  MenuWindow() {
    painter.SetCaptionFont(Tahoma9SkinFont());
    painter.SetActiveMenuColor(0x302010);
    painter.SetActiveMenuColorOver(0x2020C0);
    painter.SetMenuBackgroundColor(0xD2E6F0);
    skin.AttachTo(painter, window.hwnd());
    MouseTo(POINT{900, 700});
    Pump(100);
  }
  ~MenuWindow() { painter.Detach(); }
  MenuWindow(const MenuWindow&) = delete;
  MenuWindow& operator=(const MenuWindow&) = delete;

  const std::vector<UINT>& commands() const { return window.Commands(); }

  TestMenu menu;
  test::FrameTestWindow window{WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 420, 300, L"menu", menu.bar};
  HWND hwnd = window.hwnd();
  test::TestSkin skin;
  cSkinCaption painter;
};

TEST(SkinnedMenu, TheStripShowsThePopupItemsInTheLowerHalfOfTheCaption) {
  MenuWindow w;
  cMenuBar* bar = w.painter.MenuBar();
  ASSERT_NE(bar, nullptr);
  // The platform's own menu bar goes as soon as the pointer is over the window.
  RECT client;
  GetClientRect(w.hwnd, &client);
  MapWindowPoints(w.hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  MouseTo(Centre(client));
  Pump(150);
  EXPECT_EQ(GetMenu(w.hwnd), nullptr);
  EXPECT_EQ(bar->hMenu(), w.menu.bar);
  MouseTo(POINT{900, 700});
  Pump(100);
  ASSERT_EQ(bar->Count(), 2);
  RECT window;
  GetWindowRect(w.hwnd, &window);
  const SIZE file = TextSize(L"&File");
  // The strip starts at the caption's left end (x 90) and half way down the 48-pixel caption.
  const RECT r1 = bar->ItemScreenRect(1);
  EXPECT_EQ(r1.left - window.left, 90 + 8 - 2);
  EXPECT_EQ(r1.top - window.top, 24 + 2 + 2 - 2);
  EXPECT_EQ(r1.right - window.left, 90 + 8 + file.cx + 2);
  EXPECT_EQ(bar->ItemScreenRect(2).left - window.left, 90 + 8 + file.cx + 11 - 2);
  // The strip is client area to the platform, so its clicks come as client messages.
  const POINT c = Centre(r1);
  EXPECT_EQ(SendMessageW(w.hwnd, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), HTCLIENT);
}

TEST(SkinnedMenu, AClickOnAnItemOpensItsPopupBelowIt) {
  MenuWindow w;
  const RECT item = w.painter.MenuBar()->ItemScreenRect(2);
  RECT popup{};
  MenuScript script({[&] {
                       if (HWND m = OpenPopupWindow()) GetWindowRect(m, &popup);
                     },
                     [] { Key(VK_ESCAPE); }, [] {}});
  ClickAt(Centre(item));
  script.RunOut();
  Pump(150);
  EXPECT_EQ(popup.left, item.left);
  EXPECT_EQ(popup.top, item.bottom);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
}

TEST(SkinnedMenu, AltWithAnAccessKeyOpensItsPopupAndACommandReachesTheWindow) {
  MenuWindow w;
  const auto before = ReadItems(w.menu.file);
  RECT popup{};
  bool ownerDrawnWhileOpen = false;
  MenuScript script({[&] {
                       if (HWND m = OpenPopupWindow()) GetWindowRect(m, &popup);
                       ownerDrawnWhileOpen = (ReadItems(w.menu.file)[0].type & MFT_OWNERDRAW) != 0;
                     },
                     [] { Key(VK_DOWN); }, [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }, [] {}});
  AltKey('F');
  script.RunOut(3000);
  Pump(150);
  EXPECT_EQ(popup.left, w.painter.MenuBar()->ItemScreenRect(1).left);
  EXPECT_TRUE(ownerDrawnWhileOpen);
  EXPECT_EQ(w.commands(), std::vector<UINT>{kOpen});
  // Menu mode over: every item has its own type, text and data again, and the table is empty.
  // (The platform itself leaves the last selected item marked as highlighted.)
  auto after = ReadItems(w.menu.file);
  for (ItemState& item : after) item.state &= ~MFS_HILITE;
  EXPECT_EQ(after, before);
  EXPECT_EQ(w.painter.MenuBar()->PopupItems().Count(), 0);
}

TEST(SkinnedMenu, AltWithAKeyNoItemMarksOpensNothing) {
  MenuWindow w;
  bool opened = false;
  MenuScript script({[&] { opened = OpenPopupWindow() != nullptr; }, [] { Key(VK_ESCAPE); }, [] {}});
  AltKey('Q');
  script.RunOut();
  EXPECT_FALSE(opened);
  EXPECT_TRUE(w.commands().empty());
}

TEST(SkinnedMenu, DetachingGivesTheWindowItsMenuBackAndLeavesNothingRegistered) {
  MenuWindow w;
  w.painter.Detach();
  EXPECT_EQ(GetMenu(w.hwnd), w.menu.bar);
  EXPECT_FALSE(subclass_registry::IsSubclassed(w.hwnd));
  EXPECT_FALSE(w.painter.MenuBar()->HoverTimerRunning());
}

TEST(SkinnedMenu, TheWindowsMenuGoesAtAttachAndItsItemsTopRowsAreTheItems) {
  MouseTo(POINT{900, 700});  // no cursor message reaches the window before the test looks
  MenuWindow w;
  EXPECT_EQ(GetMenu(w.hwnd), nullptr);
  const RECT r1 = w.painter.MenuBar()->ItemScreenRect(1);
  const long x = (r1.left + r1.right) / 2;
  for (long y = r1.top; y < r1.bottom; ++y) {
    EXPECT_EQ(SendMessageW(w.hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCLIENT) << "row " << y - r1.top;
  }
  EXPECT_EQ(SendMessageW(w.hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, r1.top - 1)), HTCAPTION);
}

// F10, or Alt pressed and released alone, puts the strip into keyboard mode: the first item
// hot, Left and Right moving, Down or Enter opening, Escape in a popup back to the strip and
// Escape on the strip out of the mode.
TEST(SkinnedMenu, F10OrALoneAltEntersTheStripsKeyboardMode) {
  for (const WORD key : {WORD{VK_F10}, WORD{VK_MENU}}) {
    SCOPED_TRACE(key == VK_F10 ? "F10" : "Alt");
    MenuWindow w;
    cMenuBar* bar = w.painter.MenuBar();
    std::vector<int> hot;
    bool opened = false, openAfterEscape = true, modeAfterEscape = false, modeAtTheEnd = true;
    const auto look = [&] { hot.push_back(bar->HoverItem()); };
    MenuScript script({[&] { look(), Key(VK_RIGHT); }, [&] { look(), Key(VK_RIGHT); }, [&] { look(), Key(VK_DOWN); },
                       [&] { opened = OpenPopupWindow() != nullptr, Key(VK_ESCAPE); },
                       [&] {
                         openAfterEscape = OpenPopupWindow() != nullptr;
                         modeAfterEscape = bar->InKeyboardMode();
                         look(), Key(VK_RETURN);
                       },
                       [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }, [&] { modeAtTheEnd = bar->InKeyboardMode(); },
                       [] { EndMenu(); }, [] {}});
    test::input::QueueKeys({}, key);
    script.RunOut(5000);
    EXPECT_EQ(hot, (std::vector<int>{1, 2, 1, 1}));
    EXPECT_TRUE(opened);
    EXPECT_FALSE(openAfterEscape);
    EXPECT_TRUE(modeAfterEscape);
    EXPECT_EQ(w.commands(), std::vector<UINT>{kNew});
    EXPECT_FALSE(modeAtTheEnd);
  }
  MenuWindow w;
  bool mode = false, modeAfterEscape = true;
  MenuScript script({[&] { mode = w.painter.MenuBar()->InKeyboardMode(), Key(VK_ESCAPE); },
                     [&] { modeAfterEscape = w.painter.MenuBar()->InKeyboardMode(); }, [] {}});
  test::input::QueueKeys({}, VK_F10);
  script.RunOut();
  EXPECT_TRUE(mode);
  EXPECT_FALSE(modeAfterEscape);
}

// Painting the frame, preparing a popup and drawing its items a hundred times each leaves no
// GDI object behind.
TEST(SkinnedMenu, HundredsOfPaintingsLeaveNoObjectBehind) {
  MenuWindow w;
  cMenuBar* bar = w.painter.MenuBar();
  const MemoryDC target(CreateCompatibleDC(nullptr));
  const Bitmap pixels(CreateCompatibleBitmap(WindowDC(nullptr).get(), 200, 30));
  const ScopedSelect selected(target.get(), pixels.get());
  const auto round = [&] {
    SendMessageW(w.hwnd, WM_NCPAINT, 1, 0);
    bar->PreparePopup(w.menu.edit);
    for (const ItemState& item : ReadItems(w.menu.edit)) {
      DRAWITEMSTRUCT draw{};
      draw.CtlType = ODT_MENU;
      draw.itemID = item.id;
      draw.itemState = item.id == kWrap ? ODS_SELECTED : 0;
      draw.hwndItem = reinterpret_cast<HWND>(w.menu.edit);
      draw.hDC = target.get();
      draw.rcItem = RECT{0, 0, 200, 24};
      draw.itemData = item.data;
      SendMessageW(w.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }
    bar->RestoreMenus();
  };
  round();  // the buffers grow to their sizes once; they only grow, and are kept
  const test::GdiCount count;
  for (int i = 0; i < 100; ++i) round();
  EXPECT_GT(count.Created(), 300);
  EXPECT_EQ(count.Live(), 0);
  EXPECT_EQ(count.BadDeletes(), 0);
}

// A popup open while the frame is let go of, or the window closed: the menu ends, the filter
// hook goes, nothing of the strip is touched afterwards.
TEST(SkinnedMenu, DetachingOrClosingWhileAPopupIsOpenEndsTheMenu) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "closed" : "detached");
    MenuWindow w;
    w.window.onDestroy = [&] { w.painter.Detach(); };
    bool opened = false, openAfter = true, hookAfter = true;
    MenuScript script({[&] {
                         opened = OpenPopupWindow() != nullptr;
                         if (close) {
                           PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
                         } else {
                           w.painter.Detach();
                         }
                       },
                       [&] {
                         openAfter = OpenPopupWindow() != nullptr;
                         hookAfter = thread_hooks::MenuFilterHookInstalled();
                       },
                       [] { EndMenu(); }, [] {}});
    AltKey('F');
    script.RunOut(3000);
    Pump(100);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(openAfter);
    EXPECT_FALSE(hookAfter);
    EXPECT_FALSE(subclass_registry::IsSubclassed(w.hwnd));
    EXPECT_EQ(IsWindow(w.hwnd) != FALSE, !close);
    if (!close) {
      // The items are the menu's own again.
      for (const ItemState& item : ReadItems(w.menu.file)) EXPECT_FALSE(item.type & MFT_OWNERDRAW);
    }
  }
}

}  // namespace
}  // namespace lumadex
