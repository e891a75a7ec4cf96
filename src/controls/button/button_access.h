// What assistive software reads of the push button: its role, its state bits and the text of
// its default action, from the button's properties and its input state.
#pragma once
#include <string>

#include "controls/button/button_input.h"

namespace lumadex::button {

inline constexpr wchar_t kDefaultActionText[] = L"按下";

struct AccessFacts {
  bool checkButton = false;
  bool checked = false;         // Value of a check button
  ButtonState state = ButtonState::Normal;
  bool held = false;            // the left button or the space key is down on it
  bool mouseInside = false;
  bool focused = false;
  bool usable = true;           // enabled, and so is every box around it
  bool isDefault = false;       // the form shows it as its default button
};

long AccessRole(bool checkButton);
long AccessState(const AccessFacts& facts);

}  // namespace lumadex::button
