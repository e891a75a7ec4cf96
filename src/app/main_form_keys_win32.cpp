// Keyboard and mouse behaviour of the main window's controls: the focus order, the digit
// filter of the number boxes, Enter in the password box, and the album address box's habits.
#include <windows.h>
#include <commctrl.h>

#include "app/main_form_layout.h"
#include "app/main_form_win32.h"
#include "controls/host/container_box_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

bool IsNumberBox(std::wstring_view name) {
  return name == L"NewPhotoCount" || name == L"PhotoBenginPage" || name == L"PhotoEndPage";
}

bool IsOption(HWND hwnd) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  return lstrcmpiW(cls, L"BUTTON") == 0 && (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// An option is reached by the keyboard only as the chosen one of its box, as users know it
// from dialogs; a box with nothing chosen lets every option be reached.
bool IsTabStopOption(HWND option) {
  if (SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED) return true;
  for (HWND sibling = GetWindow(GetParent(option), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (IsOption(sibling) && SendMessageW(sibling, BM_GETCHECK, 0, 0) == BST_CHECKED) return false;
  }
  return true;
}

// The next or previous usable option of the same box, for the arrow keys.
HWND NeighbourOption(HWND option, bool backwards) {
  HWND candidate = option;
  for (;;) {
    candidate = GetWindow(candidate, backwards ? GW_HWNDPREV : GW_HWNDNEXT);
    if (!candidate) {
      candidate = GetWindow(option, backwards ? GW_HWNDLAST : GW_HWNDFIRST);
    }
    if (candidate == option) return nullptr;
    if (IsOption(candidate) && IsWindowVisible(candidate) && IsUsable(candidate)) return candidate;
  }
}

}  // namespace

void MainForm::MoveFocus(HWND from, bool backwards) {
  const auto order = MainFormTabOrder();
  const int count = static_cast<int>(order.size());
  int index = -1;
  if (const auto it = names_.find(from); it != names_.end()) {
    for (int i = 0; i < count; ++i) {
      if (order[static_cast<size_t>(i)] == it->second) index = i;
    }
  }
  for (int step = 1; step <= count; ++step) {
    const int next = ((index < 0 && backwards ? count : index) + (backwards ? -step : step) + count * 2) % count;
    HWND candidate = Control(order[static_cast<size_t>(next)]);
    if (!candidate || !IsWindowVisible(candidate) || !IsUsable(candidate)) continue;
    if (IsOption(candidate) && !IsTabStopOption(candidate)) continue;
    SetFocus(candidate);
    if (GetWindowLongW(candidate, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) SendMessageW(candidate, EM_SETSEL, 0, -1);
    return;
  }
}

LRESULT CALLBACK MainForm::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  try {
    return reinterpret_cast<MainForm*>(ref)->HandleControlMessage(hwnd, msg, wp, lp);
  } catch (...) {
    ReportCallbackFailure(L"a control of the main window");
    return 0;
  }
}

LRESULT MainForm::HandleControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const auto it = names_.find(control);
  const std::wstring name = it == names_.end() ? std::wstring() : it->second;
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_TAB) {
        MoveFocus(control, GetKeyState(VK_SHIFT) < 0);
        return 0;
      }
      if (IsOption(control) && (wp == VK_LEFT || wp == VK_UP || wp == VK_RIGHT || wp == VK_DOWN)) {
        if (HWND next = NeighbourOption(control, wp == VK_LEFT || wp == VK_UP)) {
          SetFocus(next);
          SendMessageW(next, BM_CLICK, 0, 0);
        }
        return 0;
      }
      break;
    case WM_CHAR: {
      const wchar_t ch = static_cast<wchar_t>(wp);
      if (ch == L'\t') return 0;
      if (IsNumberBox(name)) {
        if (ch == L'0' && GetWindowTextLengthW(control) == 0) return 0;
        if (ch < L'0' || ch > L'9') return 0;
      }
      if (ch == L'\r') {
        if (name == L"password") NBtnLogin().Click();
        return 0;  // single-line boxes only beep at Enter
      }
      break;
    }
    case WM_KILLFOCUS:
      if (name == L"email" || name == L"albumURLTxt") {
        const LRESULT result = DefSubclassProc(control, msg, wp, lp);
        SendMessageW(control, EM_SETSEL, 0, 0);
        return result;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (name == L"albumURLTxt") {
        const LRESULT result = DefSubclassProc(control, msg, wp, lp);
        SetWindowTextW(control, L"");
        return result;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, ControlProc, kControlSubclassId);
      break;
  }
  return DefSubclassProc(control, msg, wp, lp);
}

}  // namespace lumadex
