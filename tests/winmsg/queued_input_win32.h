// Key presses put into the input queue with SendInput, all at once and without handling any
// message: a modal loop started afterwards (a popup menu's, say) or running already must be
// the one to read them, through its own hooks.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <iterator>
#include <vector>

namespace lumadex::test {

inline INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki = KEYBDINPUT{vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), up ? KEYEVENTF_KEYUP : 0u, 0, 0};
  return input;
}

// The modifiers go down in order, then the key goes down and up, then the modifiers come up
// in reverse order, as a person types a combination.
inline void QueueKeys(std::initializer_list<WORD> modifiers, WORD vk) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
  inputs.push_back(KeyInput(vk, false));
  inputs.push_back(KeyInput(vk, true));
  for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) inputs.push_back(KeyInput(*m, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace lumadex::test
