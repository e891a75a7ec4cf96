// The menu strip and its popups on a frameless test window that renders the strip at its
// top, as the caption painter does in a skinned caption.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "skin/menu_bar_win32.h"
#include "skin/menu_test_support_win32.h"

namespace lumadex {
namespace {

using namespace menu_test;

constexpr UINT kNew = 101, kOpen = 102, kSave = 103, kRecent = 104, kExit = 105;
constexpr UINT kCopy = 201, kPaste = 202, kWrap = 203, kLatin = 204, kRun = 301;
constexpr int kStripLeft = 8, kStripTop = 0, kStripWidth = 300, kStripHeight = 24;
constexpr COLORREF kNormal = RGB(10, 20, 30), kHot = RGB(200, 30, 40), kBackground = RGB(240, 230, 210);

// Tahoma at 9 points, as the test builds it by hand.
LOGFONTW TestFont() {
  LOGFONTW lf{};
  HDC screen = GetDC(nullptr);
  lf.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  return lf;
}

std::shared_ptr<SkinFont> TestSkinFont() {
  auto font = std::make_shared<SkinFont>();
  font->Name = L"Tahoma";
  font->Size = 9;
  return font;
}

// "Run!" (a command), "&File" and "&Edit" popups.
struct TestMenu {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU edit = CreatePopupMenu();
  TestMenu() {
    AppendMenuW(bar, MF_STRING, kRun, L"&Run!");
    AppendMenuW(file, MF_STRING, kNew, L"&New\tCtrl+N");
    AppendMenuW(file, MF_STRING, kOpen, L"&Open...\tCtrl+O");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING | MF_GRAYED, kRecent, L"&Recent");
    AppendMenuW(file, MF_STRING, kSave, L"&Save");
    AppendMenuW(file, MF_STRING, kExit, L"E&xit");
    AppendMenuW(edit, MF_STRING, kCopy, L"&Copy");
    AppendMenuW(edit, MF_STRING, kPaste, L"&Paste");
    AppendMenuW(edit, MF_STRING | MF_CHECKED, kWrap, L"&Wrap");
    AppendMenuW(edit, MF_STRING | MF_CHECKED | MFT_RADIOCHECK, kLatin, L"&Latin");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  }
  ~TestMenu() { DestroyMenu(bar); }
};

class StripWindow {
 public:
  StripWindow() {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &StripWindow::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = L"LumadexMenuStripTest";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    font_ = CreateFontIndirectW(&logFont_);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"LumadexMenuStripTest", L"strip", WS_POPUP | WS_VISIBLE, 100, 100,
                            420, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    SetForegroundWindow(hwnd_);
    bar.SetHMenu(menu.bar);
    bar.SetMenuFont(TestSkinFont());
    bar.SetColours(kNormal, kHot, 0x808080, kBackground);
    bar.SetCaptionHeight(0);
    bar.Attach(hwnd_);
    Paint();
    // The pointer starts away from the strip, whatever an earlier test left it on.
    MouseTo(POINT{700, 600});
  }
  ~StripWindow() {
    bar.Detach();
    DestroyWindow(hwnd_);
    DeleteObject(font_);
  }
  HWND hwnd() const { return hwnd_; }
  HFONT font() const { return font_; }

  void Paint() {
    HDC dc = GetWindowDC(hwnd_);
    RECT band{0, 0, 420, kStripHeight + 4};
    HBRUSH face = CreateSolidBrush(RGB(90, 140, 210));
    FillRect(dc, &band, face);
    DeleteObject(face);
    bar.Render(font_, dc, kStripLeft, kStripTop, kStripWidth, kStripHeight, kStripTop + 2);
    ReleaseDC(hwnd_, dc);
  }

  TestMenu menu;
  cMenuBar bar;
  std::vector<UINT> commands;
  std::vector<UINT> ownDrawItems;
  std::vector<UINT> ownMeasureItems;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<StripWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StripWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
      case WM_NCPAINT:
        if (self->hwnd_) self->Paint();
        return 0;
      case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) self->bar.PreparePopup(reinterpret_cast<HMENU>(wParam));
        return 0;
      case WM_EXITMENULOOP:
        self->bar.RestoreMenus();
        return 0;
      case WM_COMMAND:
        self->commands.push_back(LOWORD(wParam));
        return 0;
      case WM_DRAWITEM:
        self->ownDrawItems.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlID);
        return TRUE;
      case WM_MEASUREITEM:
        self->ownMeasureItems.push_back(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID);
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 17;
        return TRUE;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  LOGFONTW logFont_ = TestFont();
  HFONT font_ = nullptr;
  HWND hwnd_ = nullptr;
};

SIZE TextSize(HFONT font, const std::wstring& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST(MenuStripWin32, ShowsPopupItemsOnlyAtTheirMeasuredPlaces) {
  StripWindow w;
  ASSERT_EQ(w.bar.Count(), 2);
  EXPECT_EQ(w.bar.PopupOf(1), w.menu.file);
  EXPECT_EQ(w.bar.PopupOf(2), w.menu.edit);
  EXPECT_EQ(w.bar.PopupOf(3), nullptr);
  const SIZE file = TextSize(w.font(), L"&File");
  const SIZE edit = TextSize(w.font(), L"&Edit");
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
  MouseTo(Centre(item));
  Pump(100);
  MouseButton(true);
  MouseButton(false);
  for (int i = 0; i < 40 && !script.Done(); ++i) Pump(50);
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
                     [&] { Key(VK_ESCAPE); }, [] {}});
  EXPECT_FALSE(w.bar.AcceleratorKey('Q'));  // no item marks Q
  EXPECT_TRUE(w.bar.AcceleratorKey('F'));   // runs the popups until the script closes them
  for (int i = 0; i < 40 && !script.Done(); ++i) Pump(50);
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 1}));  // Right from the last item wraps to the first
  EXPECT_EQ(editPopup.left, w.bar.ItemScreenRect(2).left);
  EXPECT_EQ(OpenPopupWindow(), nullptr);
}

TEST(MenuStripWin32, ACommandChosenInAPopupReachesTheWindow) {
  StripWindow w;
  MenuScript script({[] { Key(VK_DOWN); }, [] { Key(VK_DOWN); }, [] { Key(VK_RETURN); }, [] {}});
  w.bar.AcceleratorKey('F');
  for (int i = 0; i < 40 && !script.Done(); ++i) Pump(50);
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
  const LOGFONTW menuLogFont = TestFont();
  HFONT menuFont = CreateFontIndirectW(&menuLogFont);
  int caption = 0, shortcut = 0;
  for (const wchar_t* c : {L"&New", L"&Open...", L"", L"&Recent", L"&Save", L"E&xit"})
    caption = std::max<int>(caption, TextSize(menuFont, c).cx + 1);
  for (const wchar_t* s : {L"Ctrl+N", L"Ctrl+O"}) shortcut = std::max<int>(shortcut, TextSize(menuFont, s).cx + 1);
  const int textHeight = TextSize(menuFont, L"Ctrl+O").cy + 1;
  DeleteObject(menuFont);
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

}  // namespace
}  // namespace lumadex

namespace lumadex {
namespace {

using namespace menu_test;

// The screen's pixels of a rectangle, top-down, 0x00RRGGBB.
std::vector<COLORREF> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<COLORREF> out(static_cast<std::size_t>(w) * h);
  const auto* p = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

struct Shot {
  RECT rect{};
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * (rect.right - rect.left) + x]; }
  int Count(const RECT& inner, COLORREF c) const {
    int n = 0;
    for (int y = inner.top; y < inner.bottom; ++y)
      for (int x = inner.left; x < inner.right; ++x) n += At(x, y) == c;
    return n;
  }
};

TEST(MenuStripWin32, OpenPopupItemsDrawInTheSkinColours) {
  StripWindow w;
  Shot newItem, recentItem, wrapItem;
  auto take = [&](HMENU menu, int position, Shot& shot) {
    // The popup's own window places its items, so no window is named here.
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &shot.rect);
    shot.pixels = ScreenPixels(shot.rect);
  };
  MenuScript script({[] { Key(VK_DOWN); }, [&] {
                       take(w.menu.file, 0, newItem);
                       take(w.menu.file, 3, recentItem);
                       if (getenv("LUMADEX_SHOT_PAUSE")) Sleep(3000);
                     },
                     [] { Key(VK_RIGHT); }, [] {}, [&] { take(w.menu.edit, 2, wrapItem); },
                     [] { Key(VK_ESCAPE); }, [] {}});
  w.bar.AcceleratorKey('F');
  for (int i = 0; i < 60 && !script.Done(); ++i) Pump(50);
  ASSERT_FALSE(newItem.pixels.empty());
  const int width = newItem.rect.right - newItem.rect.left, height = newItem.rect.bottom - newItem.rect.top;
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);

  // The selected item: background, a raised edge inset 2 pixels left and right, hot text.
  EXPECT_EQ(newItem.At(1, height / 2), kBackground);
  EXPECT_EQ(newItem.At(width / 2, 0), light);
  EXPECT_EQ(newItem.At(2, height / 2), light);
  EXPECT_EQ(newItem.At(width / 2, height - 1), shadow);
  EXPECT_EQ(newItem.At(width - 3, height / 2), shadow);
  const RECT text{24, 1, width - 3, height - 1};
  EXPECT_GT(newItem.Count(text, kHot), 0);
  EXPECT_EQ(newItem.Count(text, kNormal), 0);

  // A disabled item: drawn in the highlight colour one pixel off, then in the shadow colour;
  // never in the text colours, and without the selection edge.
  const RECT all{0, 0, recentItem.rect.right - recentItem.rect.left, recentItem.rect.bottom - recentItem.rect.top};
  EXPECT_GT(recentItem.Count(all, shadow), 0);
  EXPECT_EQ(recentItem.Count(all, kNormal) + recentItem.Count(all, kHot), 0);
  EXPECT_EQ(recentItem.At(1, all.bottom / 2), kBackground);

  // A checked item: a sunken square starting 6 pixels in, its top-left edge in shadow.
  ASSERT_FALSE(wrapItem.pixels.empty());
  const int wrapHeight = wrapItem.rect.bottom - wrapItem.rect.top;
  EXPECT_EQ(wrapItem.At(6, 4), shadow);
  EXPECT_EQ(wrapItem.At(6 + (wrapHeight - 8) / 2, 4), shadow);
  EXPECT_EQ(wrapItem.At(5, wrapHeight / 2), kBackground);
}

}  // namespace
}  // namespace lumadex
