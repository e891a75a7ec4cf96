// Input, menu-mode scripting and menu reading shared by the menu strip tests.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "support/form_harness_win32.h"

namespace lumadex::menu_test {

inline void Pump(DWORD ms) { test::Pump(std::chrono::milliseconds(ms)); }

// The cursor is put on the point as well, so that hit tests made before the move is handled
// already see it there.
inline void MouseTo(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// The button and key events below handle no messages themselves: they are sent from inside
// popup menus' own loops, which must be the ones to read them.
inline void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

inline void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

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

// Alt held while vk is pressed, as a person types an access key.
inline void AltKey(WORD vk) {
  INPUT in[4]{};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wVk = vk;
  in[2].ki.wVk = vk;
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof in[0]);
}

}  // namespace lumadex::menu_test
