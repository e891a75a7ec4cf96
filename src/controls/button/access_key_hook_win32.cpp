#include "controls/button/access_key_hook_win32.h"

#include <windows.h>

#include "controls/button/skin_button_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex::button {
namespace {

struct HookTraits {
  using Handle = HHOOK;
  static constexpr Handle Empty() noexcept { return nullptr; }
  static bool Close(Handle h) noexcept { return UnhookWindowsHookEx(h) != FALSE; }
};

struct AccessKeyHook {
  UniqueHandle<HookTraits> hook;
  int users = 0;
};
thread_local AccessKeyHook t_hook;

LRESULT CALLBACK TakeAccessKeys(int code, WPARAM removal, LPARAM message) {
  try {
    if (code == HC_ACTION && removal == PM_REMOVE && message) {
      MSG& msg = *reinterpret_cast<MSG*>(message);
      if (msg.message == WM_SYSCHAR && (HIWORD(msg.lParam) & KF_ALTDOWN) && msg.hwnd) {
        const wchar_t ch = static_cast<wchar_t>(msg.wParam);
        if (HWND target = SkinButton::AccessKeyTarget(GetAncestor(msg.hwnd, GA_ROOT), ch)) {
          // Delivered by the thread's own loop, so a Click handler runs where handlers run.
          msg.hwnd = target;
          msg.message = SkinButton::kAccessKeyMessage;
          msg.lParam = 0;
        }
      }
    }
  } catch (...) {
    ReportCallbackFailure(L"the access-key hook");
  }
  return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace

void AttachAccessKeyHook() {
  if (!t_hook.hook) {
    t_hook.hook.reset(SetWindowsHookExW(WH_GETMESSAGE, &TakeAccessKeys, nullptr, GetCurrentThreadId()));
  }
  ++t_hook.users;
}

void DetachAccessKeyHook() noexcept {
  if (t_hook.users > 0 && --t_hook.users == 0) t_hook.hook.reset();
}

bool AccessKeyHookInstalled() noexcept { return static_cast<bool>(t_hook.hook); }

}  // namespace lumadex::button
