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
#include "winmsg/subclass_win32.h"

namespace lumadex {
namespace {

using namespace menu_test;

constexpr UINT kRun = 301, kNew = 101, kOpen = 102, kCopy = 201;

class MenuWindow {
 public:
  MenuWindow() {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &MenuWindow::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = L"LumadexSkinnedMenuTest";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    menu = CreateMenu();
    file = CreatePopupMenu();
    edit = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kRun, L"&Run!");
    AppendMenuW(file, MF_STRING, kNew, L"&New\tCtrl+N");
    AppendMenuW(file, MF_STRING, kOpen, L"&Open...\tCtrl+O");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING | MF_GRAYED, 104, L"&Recent");
    AppendMenuW(edit, MF_STRING, kCopy, L"&Copy");
    AppendMenuW(edit, MF_STRING | MF_CHECKED, 203, L"&Wrap");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    hwnd = CreateWindowExW(0, L"LumadexSkinnedMenuTest", L"menu", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           60, 60, 420, 300, nullptr, menu, GetModuleHandleW(nullptr), this);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    auto font = std::make_shared<SkinFont>();
    font->Name = L"Tahoma";
    font->Size = 9;
    painter.SetCaptionFont(font);
    painter.SetActiveMenuColor(0x302010);
    painter.SetActiveMenuColorOver(0x2020C0);
    painter.SetMenuBackgroundColor(0xD2E6F0);
    painter.Attach(hwnd, caption.get(), border.get(), 19, 20, 90, 140, 240, 400);
    MouseTo(POINT{900, 700});
    Pump(100);
  }
  ~MenuWindow() {
    painter.Detach();
    DestroyWindow(hwnd);
    DestroyMenu(menu);
  }

  test::TestPicture caption{640, 48, test::CaptionPixel};
  test::TestPicture border{70, 10, test::BorderPixel};
  HMENU menu = nullptr, file = nullptr, edit = nullptr;
  HWND hwnd = nullptr;
  cSkinCaption painter;
  std::vector<UINT> commands;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<MenuWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_COMMAND) self->commands.push_back(LOWORD(wParam));
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
};

SIZE StripTextSize(const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(screen, font);
  RECT r{0, 0, 0, 24};
  DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

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
  EXPECT_EQ(bar->hMenu(), w.menu);
  MouseTo(POINT{900, 700});
  Pump(100);
  ASSERT_EQ(bar->Count(), 2);
  RECT window;
  GetWindowRect(w.hwnd, &window);
  const SIZE file = StripTextSize(L"&File");
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
  MouseTo(Centre(item));
  Pump(100);
  MouseButton(true);
  MouseButton(false);
  for (int i = 0; i < 40 && !script.Done(); ++i) Pump(50);
  Pump(150);
  EXPECT_EQ(popup.left, item.left);
  EXPECT_EQ(popup.top, item.bottom);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
}

TEST(SkinnedMenu, AltWithAnAccessKeyOpensItsPopupAndACommandReachesTheWindow) {
  MenuWindow w;
  const auto before = ReadItems(w.file);
  RECT popup{};
  bool ownerDrawnWhileOpen = false;
  MenuScript script({[&] {
                       if (HWND m = OpenPopupWindow()) GetWindowRect(m, &popup);
                       ownerDrawnWhileOpen = (ReadItems(w.file)[0].type & MFT_OWNERDRAW) != 0;
                     },
                     [] { Key(VK_DOWN); }, [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }, [] {}});
  AltKey('F');
  for (int i = 0; i < 60 && !script.Done(); ++i) Pump(50);
  Pump(150);
  EXPECT_EQ(popup.left, w.painter.MenuBar()->ItemScreenRect(1).left);
  EXPECT_TRUE(ownerDrawnWhileOpen);
  EXPECT_EQ(w.commands, std::vector<UINT>{kOpen});
  // Menu mode over: every item has its own type, text and data again, and the table is empty.
  // (The platform itself leaves the last selected item marked as highlighted.)
  auto after = ReadItems(w.file);
  for (ItemState& item : after) item.state &= ~MFS_HILITE;
  EXPECT_EQ(after, before);
  EXPECT_EQ(w.painter.MenuBar()->PopupItems().Count(), 0);
}

TEST(SkinnedMenu, AltWithAKeyNoItemMarksOpensNothing) {
  MenuWindow w;
  bool opened = false;
  MenuScript script({[&] { opened = OpenPopupWindow() != nullptr; }, [] { Key(VK_ESCAPE); }, [] {}});
  AltKey('Q');
  for (int i = 0; i < 40 && !script.Done(); ++i) Pump(50);
  EXPECT_FALSE(opened);
  EXPECT_TRUE(w.commands.empty());
}

TEST(SkinnedMenu, DetachingGivesTheWindowItsMenuBackAndLeavesNothingRegistered) {
  MenuWindow w;
  w.painter.Detach();
  EXPECT_EQ(GetMenu(w.hwnd), w.menu);
  EXPECT_FALSE(subclass_registry::IsSubclassed(w.hwnd));
  EXPECT_FALSE(w.painter.MenuBar()->HoverTimerRunning());
}

}  // namespace
}  // namespace lumadex
