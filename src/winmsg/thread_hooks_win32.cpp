#include "winmsg/thread_hooks_win32.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "winmsg/alt_key_filter.h"
#include "winmsg/inline_snapshot.h"
#include "winmsg/report_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

struct HookTraits {
  using Handle = HHOOK;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return UnhookWindowsHookEx(h) != FALSE; }
};
using Hook = UniqueHandle<HookTraits>;

struct Engine {
  IAltKeyTarget* target = nullptr;
  HWND window = nullptr;  // null when the engine did not say
};

// Drops the engines of a window when the window goes, so none is left behind its window.
class WindowWatcher : public ISubclass {
 public:
  MessageResponse MsgResponse() override { return MessageResponse::CallOldAfter; }
  LRESULT WindowProc(HWND hWnd, UINT, WPARAM, LPARAM) override;
};

struct KeyboardHook {
  Hook hook;
  std::vector<Engine> engines;
  WindowWatcher watcher;
};

// Never destroyed, like the subclass and timer tables: engines with static storage may still
// detach while the process ends.
KeyboardHook& Keyboard() {
  static auto* keyboard = new KeyboardHook;
  return *keyboard;
}

struct MenuFilterHook {
  Hook hook;
  IMenuMessageFilter* tracker = nullptr;
};
MenuFilterHook& MenuFilter() {
  static auto* filter = new MenuFilterHook;
  return *filter;
}

std::vector<Engine>::iterator FindEngine(const IAltKeyTarget* target) {
  auto& engines = Keyboard().engines;
  return std::find_if(engines.begin(), engines.end(), [target](const Engine& e) { return e.target == target; });
}

bool IsEngine(const IAltKeyTarget* target) { return FindEngine(target) != Keyboard().engines.end(); }

bool WindowServed(HWND window) {
  const auto& engines = Keyboard().engines;
  return std::any_of(engines.begin(), engines.end(), [window](const Engine& e) { return e.window == window; });
}

void RemoveHookIfUnused() {
  KeyboardHook& keyboard = Keyboard();
  if (!keyboard.engines.empty()) return;
  keyboard.engines.shrink_to_fit();
  keyboard.hook.reset();
}

void RemoveEngine(std::vector<Engine>::iterator found) {
  KeyboardHook& keyboard = Keyboard();
  const HWND window = found->window;
  keyboard.engines.erase(found);
  if (window && !WindowServed(window)) DetachMessage(&keyboard.watcher, window, WM_NCDESTROY);
  RemoveHookIfUnused();
}

LRESULT WindowWatcher::WindowProc(HWND hWnd, UINT, WPARAM, LPARAM) {
  auto& engines = Keyboard().engines;
  engines.erase(std::remove_if(engines.begin(), engines.end(), [hWnd](const Engine& e) { return e.window == hWnd; }),
                engines.end());
  DetachMessage(this, hWnd, WM_NCDESTROY);
  RemoveHookIfUnused();
  return 0;
}

// True when an active engine used the key.
bool OfferAltKey(UINT vKey) {
  // An engine may detach itself or others while it handles the key; a few engines are copied
  // without taking memory.
  InlineSnapshot<Engine, 4> engines;
  engines.Assign(Keyboard().engines.begin(), Keyboard().engines.end());
  for (std::size_t i = 0; i < engines.size(); ++i) {
    IAltKeyTarget* engine = engines[i].target;
    if (!IsEngine(engine) || !engine->WindowActive()) continue;
    return engine->HandleAltKey(vKey);
  }
  return false;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (Keyboard().hook &&
        IsAltAccelerator(code, static_cast<std::uintptr_t>(wParam), static_cast<std::uint32_t>(lParam),
                         GetKeyState(VK_CONTROL) < 0) &&
        OfferAltKey(static_cast<UINT>(wParam))) {
      return 1;
    }
  } catch (...) {
    ReportCallbackFailure(L"the keyboard hook");
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MenuFilterHookProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    IMenuMessageFilter* tracker = MenuFilter().tracker;
    if (code == MSGF_MENU && tracker && lParam) {
      const MSG copy = *reinterpret_cast<const MSG*>(lParam);
      if (tracker->FilterMenuMessage(copy)) return 1;
    }
  } catch (...) {
    ReportCallbackFailure(L"the menu filter hook");
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool AttachKeyboardHook(IAltKeyTarget* engine) { return AttachKeyboardHook(engine, nullptr); }

bool AttachKeyboardHook(IAltKeyTarget* engine, HWND window) {
  if (!engine) return false;
  KeyboardHook& keyboard = Keyboard();
  if (IsEngine(engine)) return true;
  const bool hookedHere = !keyboard.hook;
  if (hookedHere) {
    keyboard.hook.reset(SetWindowsHookExW(WH_KEYBOARD, &KeyboardHookProc, nullptr, GetCurrentThreadId()));
    if (!keyboard.hook) return false;
  }
  try {
    if (window && !WindowServed(window)) AttachMessage(&keyboard.watcher, window, WM_NCDESTROY);
    keyboard.engines.push_back(Engine{engine, window});
  } catch (...) {
    if (window && !WindowServed(window)) DetachMessage(&keyboard.watcher, window, WM_NCDESTROY);
    if (hookedHere) keyboard.hook.reset();
    return false;
  }
  return true;
}

void DetachKeyboardHook(IAltKeyTarget* engine) noexcept {
  const auto found = FindEngine(engine);
  if (found != Keyboard().engines.end()) RemoveEngine(found);
  RemoveHookIfUnused();
}

bool AttachMenuFilterHook(IMenuMessageFilter* tracker) {
  DetachMenuFilterHook();
  if (!tracker) return false;
  MenuFilterHook& filter = MenuFilter();
  filter.hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuFilterHookProc, nullptr, GetCurrentThreadId()));
  if (!filter.hook) return false;
  filter.tracker = tracker;
  return true;
}

void DetachMenuFilterHook() noexcept {
  MenuFilterHook& filter = MenuFilter();
  filter.hook.reset();
  filter.tracker = nullptr;
}

namespace thread_hooks {
bool KeyboardHookInstalled() noexcept { return static_cast<bool>(Keyboard().hook); }
std::size_t KeyboardHookEngineCount() noexcept { return Keyboard().engines.size(); }
bool MenuFilterHookInstalled() noexcept { return static_cast<bool>(MenuFilter().hook); }
}  // namespace thread_hooks

}  // namespace lumadex
