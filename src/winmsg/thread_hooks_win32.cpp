#include "winmsg/thread_hooks_win32.h"

#include <algorithm>
#include <vector>

#include "winmsg/alt_key_filter.h"
#include "winmsg/report_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

struct HookTraits {
  using Handle = HHOOK;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return UnhookWindowsHookEx(h) != FALSE; }
};
using Hook = UniqueHandle<HookTraits>;

struct KeyboardHook {
  Hook hook;
  std::vector<IAltKeyTarget*> engines;
};
KeyboardHook g_keyboard;

struct MenuFilterHook {
  Hook hook;
  IMenuMessageFilter* tracker = nullptr;
};
MenuFilterHook g_menuFilter;

bool IsEngine(const IAltKeyTarget* engine) {
  return std::find(g_keyboard.engines.begin(), g_keyboard.engines.end(), engine) != g_keyboard.engines.end();
}

// True when an active engine used the key.
bool OfferAltKey(UINT vKey) {
  // An engine may detach itself or others while it handles the key.
  const std::vector<IAltKeyTarget*> engines = g_keyboard.engines;
  for (IAltKeyTarget* engine : engines) {
    if (!IsEngine(engine) || !engine->WindowActive()) continue;
    return engine->HandleAltKey(vKey);
  }
  return false;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (g_keyboard.hook &&
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
    if (code == MSGF_MENU && g_menuFilter.tracker && lParam) {
      const MSG copy = *reinterpret_cast<const MSG*>(lParam);
      if (g_menuFilter.tracker->FilterMenuMessage(copy)) return 1;
    }
  } catch (...) {
    ReportCallbackFailure(L"the menu filter hook");
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool AttachKeyboardHook(IAltKeyTarget* engine) {
  if (!engine) return false;
  if (!g_keyboard.hook) {
    g_keyboard.hook.reset(SetWindowsHookExW(WH_KEYBOARD, &KeyboardHookProc, nullptr, GetCurrentThreadId()));
    if (!g_keyboard.hook) return false;
  }
  if (!IsEngine(engine)) g_keyboard.engines.push_back(engine);
  return true;
}

void DetachKeyboardHook(IAltKeyTarget* engine) noexcept {
  const auto found = std::find(g_keyboard.engines.begin(), g_keyboard.engines.end(), engine);
  if (found != g_keyboard.engines.end()) g_keyboard.engines.erase(found);
  if (g_keyboard.engines.empty()) {
    g_keyboard.engines.shrink_to_fit();
    g_keyboard.hook.reset();
  }
}

bool AttachMenuFilterHook(IMenuMessageFilter* tracker) {
  DetachMenuFilterHook();
  if (!tracker) return false;
  g_menuFilter.hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuFilterHookProc, nullptr, GetCurrentThreadId()));
  if (!g_menuFilter.hook) return false;
  g_menuFilter.tracker = tracker;
  return true;
}

void DetachMenuFilterHook() noexcept {
  g_menuFilter.hook.reset();
  g_menuFilter.tracker = nullptr;
}

namespace thread_hooks {
bool KeyboardHookInstalled() noexcept { return static_cast<bool>(g_keyboard.hook); }
std::size_t KeyboardHookEngineCount() noexcept { return g_keyboard.engines.size(); }
bool MenuFilterHookInstalled() noexcept { return static_cast<bool>(g_menuFilter.hook); }
}  // namespace thread_hooks

}  // namespace lumadex
