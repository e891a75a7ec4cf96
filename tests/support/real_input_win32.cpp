#include "support/real_input_win32.h"

namespace lumadex::test::input {
namespace {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(INPUT));
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(INPUT));
}

}  // namespace

void Settle(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

void MoveTo(POINT screen) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = MulDiv(screen.x, 65535, w - 1) + 1, dy = MulDiv(screen.y, 65535, h - 1) + 1;
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
  Settle();
}

POINT CentreOf(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  POINT p{r.right / 2, r.bottom / 2};
  ClientToScreen(hwnd, &p);
  return p;
}

POINT Beside(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return POINT{r.right + 30, (r.top + r.bottom) / 2};
}

void LeftDown() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Settle();
}
void LeftUp() {
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle();
}
void RightDown() {
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  Settle();
}
void RightUp() {
  SendMouse(MOUSEEVENTF_RIGHTUP);
  Settle();
}
void LeftClick() {
  LeftDown();
  LeftUp();
}
void DoubleClick() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle(100);
}
void KeyDown(WORD vk) {
  SendKey(vk, false);
  Settle();
}
void KeyUp(WORD vk) {
  SendKey(vk, true);
  Settle();
}
void Key(WORD vk) {
  KeyDown(vk);
  KeyUp(vk);
}
void AltKey(WORD vk) {
  SendKey(VK_MENU, false);
  SendKey(vk, false);
  SendKey(vk, true);
  SendKey(VK_MENU, true);
  Settle(100);
}

void Activate(HWND topLevel) {
  ShowWindow(topLevel, SW_SHOW);
  SetForegroundWindow(topLevel);
  SetActiveWindow(topLevel);
  Settle(100);
}

}  // namespace lumadex::test::input
