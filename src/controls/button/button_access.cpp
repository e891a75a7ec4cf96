#include "controls/button/button_access.h"

#include "controls/host/accessible_text.h"

namespace lumadex::button {

long AccessRole(bool checkButton) { return checkButton ? access::kRoleCheckButton : access::kRolePushButton; }

long AccessState(const AccessFacts& f) {
  long state = f.checkButton && f.checked ? access::kStateChecked : 0;
  if (f.isDefault) state |= access::kStateDefault;
  // A button that cannot be used takes no focus, no pointer and no press.
  if (!f.usable) return state | access::kStateUnavailable;
  state |= access::kStateFocusable;
  if (f.focused) state |= access::kStateFocused;
  if (f.mouseInside) state |= access::kStateHotTracked;
  // A checked check button draws pressed at rest; that is its checked state, not a press.
  if (f.held && f.state == ButtonState::Pressed) state |= access::kStatePressed;
  return state;
}

}  // namespace lumadex::button
