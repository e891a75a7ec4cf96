#include "controls/button/button_access.h"

#include <gtest/gtest.h>

#include "controls/host/accessible_text.h"

namespace lumadex::button {
namespace {

using namespace access;

TEST(ButtonAccessRules, RoleByType) {
  EXPECT_EQ(AccessRole(false), kRolePushButton);
  EXPECT_EQ(AccessRole(true), kRoleCheckButton);
}

TEST(ButtonAccessRules, StateFromInputAndEnabling) {
  AccessFacts f;
  EXPECT_EQ(AccessState(f), kStateFocusable);
  f.focused = true;
  f.mouseInside = true;
  f.state = ButtonState::Pressed;
  f.held = true;
  EXPECT_EQ(AccessState(f), kStateFocusable | kStateFocused | kStateHotTracked | kStatePressed);
  // A press drawn without being held is a checked check button at rest, not a press.
  f.held = false;
  f.checkButton = f.checked = true;
  EXPECT_EQ(AccessState(f), kStateFocusable | kStateFocused | kStateHotTracked | kStateChecked);
  // Checked is no check button's state but its own.
  f.checkButton = false;
  EXPECT_EQ(AccessState(f) & kStateChecked, 0);
  // Unusable: nothing of focus, pointer or press, but still checked and still the default.
  f = AccessFacts{true, true, ButtonState::Pressed, true, true, true, false, true};
  EXPECT_EQ(AccessState(f), kStateUnavailable | kStateChecked | kStateDefault);
}

}  // namespace
}  // namespace lumadex::button
