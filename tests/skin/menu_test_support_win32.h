// Input, menu-mode scripting, the test menu and menu reading shared by the menu strip tests.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_font_win32.h"
#include "support/form_harness_win32.h"
#include "support/real_input_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::menu_test {

inline void Pump(DWORD ms) { test::Pump(std::chrono::milliseconds(ms)); }

// Input sent from inside popup menus' own loops, which must be the ones to read it.
inline void MouseTo(POINT p) { test::input::QueueMoveTo(p); }
inline void MouseButton(bool down) { test::input::QueueLeft(down); }
// A click with the pointer resting on the point first, as a person clicks a strip item.
inline void ClickAt(POINT p) {
  MouseTo(p);
  Pump(100);
  MouseButton(true);
  MouseButton(false);
}
inline void Key(WORD vk) { test::input::QueueKeys({}, vk); }
// Alt held while vk is pressed, as a person types an access key.
inline void AltKey(WORD vk) { test::input::QueueKeys({VK_MENU}, vk); }

inline POINT Centre(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline BOOL CALLBACK FindPopupWindow(HWND w, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (wcscmp(cls, L"#32768") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

inline HWND OpenPopupWindow() {
  HWND found = nullptr;
  EnumWindows(&FindPopupWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Steps run one after another from a timer while a popup's modal loop runs on this thread.
class MenuScript {
 public:
  explicit MenuScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 150, &MenuScript::Tick);
  }
  ~MenuScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool Done() const { return next_ >= steps_.size(); }
  // Handles messages until every step has run, `limit` at the most.
  void RunOut(DWORD limit = 2000) const {
    for (DWORD waited = 0; waited < limit && !Done(); waited += 50) Pump(50);
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_ || current_->Done()) return;
    current_->steps_[current_->next_++]();
  }
  static inline MenuScript* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

struct ItemState {
  UINT type, state, id;
  ULONG_PTR data;
  std::wstring text;
  bool operator==(const ItemState&) const = default;
};

inline std::vector<ItemState> ReadItems(HMENU menu) {
  std::vector<ItemState> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    items.push_back({info.fType, info.fState, info.wID, info.dwItemData, text});
  }
  return items;
}

constexpr UINT kNew = 101, kOpen = 102, kSave = 103, kRecent = 104, kExit = 105;
constexpr UINT kCopy = 201, kPaste = 202, kWrap = 203, kLatin = 204, kRun = 301;

// "Run!" (a command, so not on the strip), then the "&File" and "&Edit" popups: shortcuts, a
// separator, a disabled item, a checked item and a checked radio item.
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
  TestMenu(const TestMenu&) = delete;
  TestMenu& operator=(const TestMenu&) = delete;
};

// Tahoma at 9 points, built here by hand rather than by the code under test.
inline LOGFONTW Tahoma9() {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(9, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(lf.lfFaceName, L"Tahoma");
  return lf;
}
inline std::shared_ptr<SkinFont> Tahoma9SkinFont() {
  auto font = std::make_shared<SkinFont>();
  font->Name = L"Tahoma";
  font->Size = 9;
  return font;
}

// The size DrawText gives a single line in Tahoma 9.
inline SIZE TextSize(const std::wstring& text) {
  const LOGFONTW lf = Tahoma9();
  const Font font(CreateFontIndirectW(&lf));
  const MemoryDC dc(CreateCompatibleDC(nullptr));
  const ScopedSelect select(dc.get(), font.get());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace lumadex::menu_test
