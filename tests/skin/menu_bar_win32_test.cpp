// The menu strip and its popups on a frameless test window that renders the strip at its
// top, as the caption painter does in a skinned caption.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/menu_bar_win32.h"
#include "skin/menu_test_support_win32.h"
#include "skin/skin_test_windows_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex {
namespace {

using namespace menu_test;

constexpr int kStripLeft = 8, kStripTop = 0, kStripWidth = 300, kStripHeight = 24;
constexpr COLORREF kNormal = RGB(10, 20, 30), kHot = RGB(200, 30, 40), kBackground = RGB(240, 230, 210);

// A frameless window that renders the strip at its top whenever its frame is painted, hands
// its popups to the strip as the caption painter does, and keeps what reaches it.
class StripWindow : public WindowBase {
 public:
  StripWindow() {
    WindowClass wc;
    wc.name = L"LumadexMenuStripTest";
    CreateWindowFor(wc, WS_EX_TOPMOST, L"strip", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300, nullptr, nullptr);
    SetForegroundWindow(hwnd());
    bar.SetHMenu(menu.bar);
    bar.SetMenuFont(Tahoma9SkinFont());
    bar.SetColours(kNormal, kHot, 0x808080, kBackground);
    bar.SetCaptionHeight(0);
    bar.Attach(hwnd());
    Paint();
    // The pointer starts away from the strip, whatever an earlier test left it on.
    MouseTo(POINT{700, 600});
  }
  // The strip lets go while every member it calls back into is still there.
  ~StripWindow() override { bar.Detach(); }
  HFONT font() const { return font_.get(); }

  void Paint() {
    const WindowDC dc(hwnd(), true);
    const RECT band{0, 0, 420, kStripHeight + 4};
    const Brush face(CreateSolidBrush(RGB(90, 140, 210)));
    FillRect(dc.get(), &band, face.get());
    bar.Render(font_.get(), dc.get(), kStripLeft, kStripTop, kStripWidth, kStripHeight, kStripTop + 2);
  }

  TestMenu menu;
  cMenuBar bar;
  std::vector<UINT> commands;
  std::vector<UINT> ownDrawItems;
  std::vector<UINT> ownMeasureItems;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_NCPAINT:
        Paint();
        return 0;
      case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) bar.PreparePopup(reinterpret_cast<HMENU>(wp));
        return 0;
      case WM_EXITMENULOOP:
        bar.RestoreMenus();
        return 0;
      case WM_COMMAND:
        commands.push_back(LOWORD(wp));
        return 0;
      case WM_DRAWITEM:
        ownDrawItems.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlID);
        return TRUE;
      case WM_MEASUREITEM:
        ownMeasureItems.push_back(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID);
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 17;
        return TRUE;
      default:
        return DefaultHandling(msg, wp, lp);
    }
  }

 private:
  const LOGFONTW logFont_ = Tahoma9();
  const Font font_{CreateFontIndirectW(&logFont_)};
};

TEST(MenuStripWin32, ShowsPopupItemsOnlyAtTheirMeasuredPlaces) {
  StripWindow w;
  ASSERT_EQ(w.bar.Count(), 2);
  EXPECT_EQ(w.bar.PopupOf(1), w.menu.file);
  EXPECT_EQ(w.bar.PopupOf(2), w.menu.edit);
  EXPECT_EQ(w.bar.PopupOf(3), nullptr);
  const SIZE file = TextSize(L"&File");
  const SIZE edit = TextSize(L"&Edit");
  RECT window;
  GetWindowRect(w.hwnd(), &window);
  const RECT r1 = w.bar.ItemScreenRect(1);
  const RECT r2 = w.bar.ItemScreenRect(2);
  // Text at x 8 of the strip, grown by 2; the strip starts kStripLeft into the window.
  EXPECT_EQ(r1.left, window.left + kStripLeft + 8 - 2);
  EXPECT_EQ(r1.right, window.left + kStripLeft + 8 + file.cx + 2);
  EXPECT_EQ(r1.top, window.top + kStripTop + 2 + 2 - 2);
  EXPECT_EQ(r1.bottom, window.top + kStripTop + 2 + 2 + file.cy + 2);
  EXPECT_EQ(r2.left, window.left + kStripLeft + 8 + file.cx + 11 - 2);
  EXPECT_EQ(r2.right - r2.left, edit.cx + 4);
  EXPECT_EQ(w.bar.HitTestPoint(Centre(r2)), 2);
  EXPECT_EQ(w.bar.HitTestPoint(POINT{r2.right + 40, r2.top + 3}), 0);
}

TEST(MenuStripWin32, WithoutAMenuNothingIsLaidOutOrDrawn) {
  StripWindow w;
  HMENU empty = CreateMenu();
  w.bar.SetHMenu(empty);
  w.Paint();
  EXPECT_EQ(w.bar.Count(), 0);
  EXPECT_FALSE(w.bar.AcceleratorKey('F'));
  w.bar.SetHMenu(nullptr);
  w.Paint();
  EXPECT_EQ(w.bar.Count(), 0);
  DestroyMenu(empty);
}

TEST(MenuStripWin32, AClickOpensThePopupUnderItsItemAndShowsTheItemPressed) {
  StripWindow w;
  const RECT item = w.bar.ItemScreenRect(1);
  RECT popup{};
  int pressedWhileOpen = 0;
  MenuScript script({[&] {
                       if (HWND m = OpenPopupWindow()) GetWindowRect(m, &popup);
                       pressedWhileOpen = w.bar.PressedItem();
                     },
                     [&] { Key(VK_ESCAPE); }, [] {}});
  ClickAt(Centre(item));
  script.RunOut();
  Pump(200);
  EXPECT_EQ(popup.left, item.left);
  EXPECT_EQ(popup.top, item.bottom);
  EXPECT_EQ(pressedWhileOpen, 1);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
  EXPECT_FALSE(w.bar.Tracker()->Tracking());
  EXPECT_TRUE(w.commands.empty());
}

TEST(MenuStripWin32, MovingToTheNextItemOrPressingRightSwitchesPopups) {
  StripWindow w;
  std::vector<int> shown;
  RECT editPopup{};
  MenuScript script({[&] { shown.push_back(w.bar.Tracker()->CurrentItem()); },
                     [&] { MouseTo(Centre(w.bar.ItemScreenRect(2))); }, [] {},
                     [&] {
                       shown.push_back(w.bar.Tracker()->CurrentItem());
                       if (HWND m = OpenPopupWindow()) GetWindowRect(m, &editPopup);
                     },
                     [&] { Key(VK_RIGHT); }, [] {}, [&] { shown.push_back(w.bar.Tracker()->CurrentItem()); },
                     [&] { Key(VK_LEFT); }, [] {}, [&] { shown.push_back(w.bar.Tracker()->CurrentItem()); },
                     [&] { Key(VK_ESCAPE); }, [] {}});
  EXPECT_FALSE(w.bar.AcceleratorKey('Q'));  // no item marks Q
  EXPECT_TRUE(w.bar.AcceleratorKey('F'));   // runs the popups until the script closes them
  script.RunOut(3000);
  // Right from the last item wraps to the first, Left from the first to the last.
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 1, 2}));
  EXPECT_EQ(editPopup.left, w.bar.ItemScreenRect(2).left);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
}

TEST(MenuStripWin32, AClickOnTheOpenItemKeepsItsPopup) {
  StripWindow w;
  const POINT file = Centre(w.bar.ItemScreenRect(1));
  bool openAfterClick = false;
  int shownAfterClick = 0;
  MenuScript script({[&] { ClickAt(file); }, [] {},
                     [&] {
                       openAfterClick = OpenPopupWindow() != nullptr;
                       shownAfterClick = w.bar.Tracker()->CurrentItem();
                     },
                     [] { Key(VK_ESCAPE); }, [] { EndMenu(); }, [] {}});
  ClickAt(file);
  script.RunOut(3000);
  EXPECT_TRUE(openAfterClick);
  EXPECT_EQ(shownAfterClick, 1);
  EXPECT_TRUE(w.commands.empty());
}

// The item under the pointer shows hot (a raised edge, light at its top left) and the hover
// timer runs; once the pointer has left, the item is plain again and the timer stops.
TEST(MenuStripWin32, HoverLookAndItsTimerEndWhenThePointerLeaves) {
  StripWindow w;
  RECT window{};
  GetWindowRect(w.hwnd(), &window);
  const RECT item = w.bar.ItemScreenRect(1);
  const long x = item.left - window.left, y = item.top - window.top;
  MouseTo(Centre(item));
  Pump(150);
  EXPECT_EQ(w.bar.HoverItem(), 1);
  EXPECT_TRUE(w.bar.HoverTimerRunning());
  EXPECT_EQ(test::Capture::Window(w.hwnd()).at(x, y), GetSysColor(COLOR_BTNHIGHLIGHT));
  // Moved off without a message to the window: the timer notices within its 50 ms.
  SetCursorPos(window.right + 100, window.bottom + 100);
  Pump(200);
  EXPECT_EQ(w.bar.HoverItem(), 0);
  EXPECT_FALSE(w.bar.HoverTimerRunning());
  EXPECT_EQ(test::Capture::Window(w.hwnd()).at(x, y), RGB(90, 140, 210));
}

TEST(MenuStripWin32, ACommandChosenInAPopupReachesTheWindow) {
  StripWindow w;
  MenuScript script({[] { Key(VK_DOWN); }, [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }, [] {}});
  w.bar.AcceleratorKey('F');
  script.RunOut();
  Pump(100);
  ASSERT_EQ(w.commands.size(), 1u);
  EXPECT_EQ(w.commands[0], kOpen);
}

TEST(MenuStripWin32, PopupItemsAreOwnerDrawnWhileShownAndGivenBackExactly) {
  StripWindow w;
  MENUITEMINFOW data{};
  data.cbSize = sizeof data;
  data.fMask = MIIM_DATA;
  data.dwItemData = 0x5A5A;
  SetMenuItemInfoW(w.menu.file, kSave, FALSE, &data);
  const auto before = ReadItems(w.menu.file);
  w.bar.PreparePopup(w.menu.file);
  w.bar.PreparePopup(w.menu.file);  // shown again in the same menu mode: entries reused
  EXPECT_EQ(w.bar.PopupItems().Count(), 6);
  const auto during = ReadItems(w.menu.file);
  for (const ItemState& item : during) EXPECT_TRUE(item.type & MFT_OWNERDRAW);

  // Sizes: widest caption + widest shortcut + 38, each as measured + 1.
  int caption = 0, shortcut = 0;
  for (const wchar_t* c : {L"&New", L"&Open...", L"", L"&Recent", L"&Save", L"E&xit"})
    caption = std::max<int>(caption, TextSize(c).cx + 1);
  for (const wchar_t* s : {L"Ctrl+N", L"Ctrl+O"}) shortcut = std::max<int>(shortcut, TextSize(s).cx + 1);
  const int textHeight = TextSize(L"Ctrl+O").cy + 1;
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, kOpen, 0, 0, during[1].data};
  SendMessageW(w.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(static_cast<int>(measure.itemWidth), caption + shortcut + 38);
  EXPECT_EQ(static_cast<int>(measure.itemHeight), textHeight + 8);
  MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, during[2].data};
  SendMessageW(w.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
  EXPECT_EQ(separator.itemHeight, 6u);

  // Access keys of the open popup execute their item; the system menu's do not go here.
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_MENUCHAR, MAKEWPARAM(L's', MF_POPUP), reinterpret_cast<LPARAM>(w.menu.file)),
            MAKELRESULT(4, MNC_EXECUTE));
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP), reinterpret_cast<LPARAM>(w.menu.file)),
            MAKELRESULT(5, MNC_EXECUTE));

  w.bar.RestoreMenus();
  EXPECT_EQ(w.bar.PopupItems().Count(), 0);
  EXPECT_EQ(ReadItems(w.menu.file), before);
}

TEST(MenuStripWin32, OwnerDrawnControlsOfTheWindowStillGetTheirOwnMessages) {
  StripWindow w;
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = 77;
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&draw)), TRUE);
  MEASUREITEMSTRUCT measure{ODT_LISTBOX, 78, 0, 0, 0, 0};
  SendMessageW(w.hwnd(), WM_MEASUREITEM, 78, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(w.ownDrawItems, std::vector<UINT>{77});
  EXPECT_EQ(w.ownMeasureItems, std::vector<UINT>{78});
  EXPECT_EQ(measure.itemHeight, 17u);
}

TEST(MenuStripWin32, OpenPopupItemsDrawInTheSkinColours) {
  StripWindow w;
  std::optional<test::Capture> newItem, recentItem, wrapItem, latinItem;
  auto take = [&](HMENU menu, int position, std::optional<test::Capture>& shot) {
    // The popup's own window places its items, so no window is named here.
    RECT r{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r);
    shot = test::Capture::Screen(r);
  };
  MenuScript script({[] { Key(VK_DOWN); },
                     [&] {
                       take(w.menu.file, 0, newItem);
                       take(w.menu.file, 3, recentItem);
                     },
                     [] { Key(VK_RIGHT); }, [] {}, [&] {
                       take(w.menu.edit, 2, wrapItem);
                       take(w.menu.edit, 3, latinItem);
                     },
                     [] { Key(VK_ESCAPE); }, [] {}});
  w.bar.AcceleratorKey('F');
  script.RunOut(3000);
  ASSERT_TRUE(newItem && recentItem && !newItem->empty());
  const int width = newItem->width(), height = newItem->height();
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);

  // The selected item: background, a raised edge inset 2 pixels left and right, hot text.
  EXPECT_EQ(newItem->at(1, height / 2), kBackground);
  EXPECT_EQ(newItem->at(width / 2, 0), light);
  EXPECT_EQ(newItem->at(2, height / 2), light);
  EXPECT_EQ(newItem->at(width / 2, height - 1), shadow);
  EXPECT_EQ(newItem->at(width - 3, height / 2), shadow);
  const RECT text{24, 1, width - 3, height - 1};
  EXPECT_GT(newItem->Count(text, kHot), 0);
  EXPECT_EQ(newItem->Count(text, kNormal), 0);

  // A disabled item: drawn in the highlight colour one pixel off, then in the shadow colour;
  // never in the text colours, and without the selection edge.
  const RECT all{0, 0, recentItem->width(), recentItem->height()};
  EXPECT_GT(recentItem->Count(all, shadow), 0);
  EXPECT_EQ(recentItem->Count(all, kNormal) + recentItem->Count(all, kHot), 0);
  EXPECT_EQ(recentItem->at(1, all.bottom / 2), kBackground);

  // A checked item: a sunken square starting 6 pixels in, its top-left edge in shadow.
  ASSERT_TRUE(wrapItem && !wrapItem->empty());
  const int wrapHeight = wrapItem->height();
  EXPECT_EQ(wrapItem->at(6, 4), shadow);
  EXPECT_EQ(wrapItem->at(6 + (wrapHeight - 8) / 2, 4), shadow);
  EXPECT_EQ(wrapItem->at(5, wrapHeight / 2), kBackground);

  // The checked radio item has a bullet in its square, the checked plain one a check mark: both
  // inked in the text colour, in shapes of their own.
  ASSERT_TRUE(latinItem && latinItem->height() == wrapHeight);
  const int side = wrapHeight - 8;
  const RECT box{7, 5, 6 + side, 4 + side};
  std::vector<bool> check, bullet;
  for (long py = box.top; py < box.bottom; ++py)
    for (long px = box.left; px < box.right; ++px) {
      check.push_back(wrapItem->at(px, py) == kNormal);
      bullet.push_back(latinItem->at(px, py) == kNormal);
    }
  EXPECT_GT(wrapItem->Count(box, kNormal), 0);
  EXPECT_GT(latinItem->Count(box, kNormal), 0);
  EXPECT_NE(check, bullet);
}

}  // namespace
}  // namespace lumadex
