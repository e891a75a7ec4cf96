#include "controls/host/box_accessible_win32.h"

#include "controls/host/window_text_win32.h"

namespace lumadex {

long BoxAccessible::State() {
  // Neither takes the focus; a caption cannot be changed by the user.
  long state = AccessibleObject::State() & ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  if (role_ == ROLE_SYSTEM_STATICTEXT) state |= STATE_SYSTEM_READONLY;
  return state;
}

// The text as it is drawn: captions print every "&" as it is.
std::optional<std::wstring> BoxAccessible::Name() {
  std::wstring text = GetText(hwnd());
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace lumadex
