// The one base of the program's own window classes. Each class is registered once per process
// with the base's procedure (no instance is captured); the object is attached to its window at
// WM_NCCREATE, receives every message after that through HandleMessage, and is detached after
// WM_NCDESTROY. The object owns its window: one still there when the object goes is destroyed.
#pragma once
#include <windows.h>

namespace lumadex {

struct WindowClass {
  const wchar_t* name = nullptr;
  UINT style = 0;
  HCURSOR cursor = nullptr;  // null: the arrow
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  // A window still attached is detached first and then destroyed, so that none of its last
  // messages reaches an object that is already half gone. A derived class whose handlers must
  // see WM_DESTROY calls DestroyWindowNow() in its own destructor.
  virtual ~WindowBase();

  HWND hwnd() const noexcept { return hwnd_; }

  // The object attached to a window of one of the program's own classes; null for any other
  // window, and for one of ours that has no object (any more).
  static WindowBase* FromHandle(HWND hwnd) noexcept;
  // Whether a window belongs to one of the classes registered through WindowBase.
  static bool IsOwnClass(HWND hwnd) noexcept;
  template <typename T>
  static T* FromHandleAs(HWND hwnd) noexcept {
    return dynamic_cast<T*>(FromHandle(hwnd));
  }

 protected:
  WindowBase() = default;

  // Registers the class if this process has not yet, then creates the window with this object
  // attached. False when the window could not be made.
  bool CreateWindowFor(const WindowClass& windowClass, DWORD exStyle, const wchar_t* text, DWORD style, int x,
                       int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance = nullptr);

  // Every message from WM_NCCREATE to WM_NCDESTROY, one handler each; what a class does not
  // handle goes to DefaultHandling. An exception is reported and the message answered 0.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  // Runs once the window has handled WM_NCDESTROY and let go of the object (hwnd() is null
  // by then): the place to free what lived only as long as the window.
  virtual void OnWindowGone() {}

  // Destroys the window now, with every message still reaching the object.
  void DestroyWindowNow() noexcept;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
};

}  // namespace lumadex
