#include "winmsg/window_base_win32.h"

#include <mutex>
#include <set>
#include <string>

#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

struct Registry {
  std::mutex mutex;
  std::set<std::wstring> names;
};

// Never destroyed: windows may still be destroyed while static destructors run.
Registry& Classes() {
  static auto* registry = new Registry;
  return *registry;
}

bool EnsureRegistered(const WindowClass& windowClass, HINSTANCE instance, WNDPROC procedure) {
  if (!windowClass.name) return false;
  Registry& registry = Classes();
  std::lock_guard lock(registry.mutex);
  if (registry.names.count(windowClass.name)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = windowClass.style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = windowClass.icon;
  wc.hIconSm = windowClass.smallIcon;
  wc.hCursor = windowClass.cursor ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = windowClass.background;
  wc.lpszClassName = windowClass.name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registry.names.insert(windowClass.name);
  return true;
}

}  // namespace

WindowBase::~WindowBase() {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

void WindowBase::DestroyWindowNow() noexcept {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool WindowBase::CreateWindowFor(const WindowClass& windowClass, DWORD exStyle, const wchar_t* text, DWORD style,
                                 int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                                 HINSTANCE instance) {
  if (hwnd_) return false;
  if (!instance) instance = GetModuleHandleW(nullptr);
  if (!EnsureRegistered(windowClass, instance, &Procedure)) return false;
  // hwnd_ is set at WM_NCCREATE, long before CreateWindowExW returns.
  const HWND created = CreateWindowExW(exStyle, windowClass.name, text, style, x, y, width, height, parent, menuOrId,
                                       instance, this);
  return created != nullptr && hwnd_ == created;
}

WindowBase* WindowBase::FromHandle(HWND hwnd) noexcept {
  if (!IsOwnClass(hwnd)) return nullptr;
  return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<WindowBase*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
    if (created) {
      created->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    ReportCallbackFailure(L"a window procedure");
    result = 0;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnWindowGone();
    } catch (...) {
      ReportCallbackFailure(L"a window's last clean-up");
    }
  }
  return result;
}

bool WindowBase::IsOwnClass(HWND hwnd) noexcept {
  // The class's procedure stays ours however the window itself is subclassed.
  return hwnd && IsWindow(hwnd) &&
         reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)) == &WindowBase::Procedure;
}

}  // namespace lumadex
