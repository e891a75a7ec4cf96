#include "support/real_input_win32.h"

#include <iterator>
#include <vector>

namespace lumadex::test::input {
namespace {

void SendEvents(std::vector<INPUT> events) {
  SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

INPUT Keyboard(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
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

void QueueMoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = MulDiv(screen.x, 65535, w - 1) + 1, dy = MulDiv(screen.y, 65535, h - 1) + 1;
  SendEvents({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy)});
}

void QueueLeft(bool down) { SendEvents({Mouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)}); }

void QueueKeys(std::initializer_list<WORD> modifiers, WORD vk) {
  std::vector<INPUT> events;
  for (WORD m : modifiers) events.push_back(Keyboard(m, false));
  events.push_back(Keyboard(vk, false));
  events.push_back(Keyboard(vk, true));
  for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) events.push_back(Keyboard(*m, true));
  SendEvents(std::move(events));
}

void MoveTo(POINT screen) {
  QueueMoveTo(screen);
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
  QueueLeft(true);
  Settle();
}
void LeftUp() {
  QueueLeft(false);
  Settle();
}
void RightDown() {
  SendEvents({Mouse(MOUSEEVENTF_RIGHTDOWN)});
  Settle();
}
void RightUp() {
  SendEvents({Mouse(MOUSEEVENTF_RIGHTUP)});
  Settle();
}
void LeftClick() {
  LeftDown();
  LeftUp();
}
void DoubleClick() {
  SendEvents({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
              Mouse(MOUSEEVENTF_LEFTUP)});
  Settle(100);
}
void KeyDown(WORD vk) {
  SendEvents({Keyboard(vk, false)});
  Settle();
}
void KeyUp(WORD vk) {
  SendEvents({Keyboard(vk, true)});
  Settle();
}
void Key(WORD vk) {
  KeyDown(vk);
  KeyUp(vk);
}
void AltKey(WORD vk) {
  QueueKeys({VK_MENU}, vk);
  Settle(100);
}

void Activate(HWND topLevel) {
  ShowWindow(topLevel, SW_SHOW);
  SetForegroundWindow(topLevel);
  SetActiveWindow(topLevel);
  Settle(100);
}

}  // namespace lumadex::test::input
