#include "controls/button/button_accessible_win32.h"

#include "controls/button/button_access.h"
#include "controls/button/button_geometry.h"
#include "controls/host/accessible_text.h"

namespace lumadex {

long ButtonAccessible::OwnState(const SkinButton& b) {
  button::AccessFacts facts;
  facts.checkButton = b.props_.IsCheckButton();
  facts.checked = b.props_.Value;
  facts.state = b.input_.State();
  facts.held = b.input_.LeftHeld() || b.input_.SpaceHeld();
  facts.mouseInside = b.input_.MouseInside();
  facts.focused = b.input_.HasFocus();
  facts.usable = b.props_.Enabled && b.ChainEnabled();
  facts.isDefault = b.displayAsDefault_;
  return button::AccessState(facts);
}

long ButtonAccessible::Role() { return button::AccessRole(button_.props_.IsCheckButton()); }

long ButtonAccessible::State() { return OwnState(button_) | StandardVisibility(); }

std::optional<std::wstring> ButtonAccessible::Name() { return access::WithoutAccessMarker(button_.props_.Caption); }

std::optional<std::wstring> ButtonAccessible::Description() {
  if (button_.props_.ToolTipText.empty()) return std::nullopt;
  return button_.props_.ToolTipText;
}

std::optional<std::wstring> ButtonAccessible::KeyboardShortcut() {
  const std::wstring shortcut = access::AltShortcut(button::AccessKeyOf(button_.props_.Caption));
  if (shortcut.empty()) return std::nullopt;
  return shortcut;
}

std::optional<std::wstring> ButtonAccessible::DefaultAction() { return std::wstring(button::kDefaultActionText); }

HRESULT ButtonAccessible::DoDefaultAction() {
  // What a user cannot press, assistive software cannot either.
  if (!button_.props_.Enabled || !button_.ChainEnabled() || !IsWindowVisible(hwnd())) return kNotEnabled;
  return PostMessageW(hwnd(), kPressMessage, 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

}  // namespace lumadex
