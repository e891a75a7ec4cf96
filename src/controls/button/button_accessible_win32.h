// The push button as screen readers and automation tools read it: a push button (a check
// button for the check type, with its checked state) named by its caption, described by its
// tooltip, with its focus, press, hover and enabled states, the Alt shortcut of its access
// key, and a default action that presses it as the space key does. The focus event is the
// window manager's, raised for every window that takes the focus; one from here would be
// heard twice.
#pragma once
#include <windows.h>

#include "controls/button/skin_button_win32.h"
#include "controls/host/accessible_win32.h"

namespace lumadex {

class ButtonAccessible final : public AccessibleObject {
 public:
  // Posted to the button by its default action, which must return before the Click handler
  // runs: the handler may run a message loop for as long as a whole download.
  static constexpr UINT kPressMessage = WM_USER + 0x42;

  explicit ButtonAccessible(SkinButton& button) : AccessibleObject(button.hwnd()), button_(button) {}

  // The button's state bits apart from those of any window (hidden, off the screen).
  static long OwnState(const SkinButton& button);

 private:
  long Role() override;
  long State() override;
  std::optional<std::wstring> Name() override;
  std::optional<std::wstring> Description() override;
  std::optional<std::wstring> KeyboardShortcut() override;
  std::optional<std::wstring> DefaultAction() override;
  HRESULT DoDefaultAction() override;

  SkinButton& button_;  // outlives the connection: the button cuts it off when its window goes
};

}  // namespace lumadex
