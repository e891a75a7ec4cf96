#include "controls/button/button_input.h"

namespace lumadex::button {

unsigned ButtonInput::MouseMove(bool inside) {
  if (inside && !mouseInside_) {
    mouseInside_ = true;
    state_ = ButtonState::Hot;
    return kTrackLeave | kRepaint | kMouseEnter | kShowTip;
  }
  if (!inside && mouseInside_) return MouseLeave();
  return kNone;
}

unsigned ButtonInput::MouseLeave() {
  // A move outside under capture may already have counted as the leave; one event per pass.
  if (!mouseInside_) return kNone;
  mouseInside_ = false;
  state_ = ButtonState::Normal;
  return kHideTip | kRepaint | kMouseLeave;
}

unsigned ButtonInput::MouseDown(MouseButton button, bool doubleClick) {
  if (button != MouseButton::Left) return kNone;
  leftHeld_ = true;
  // The second press of a double click shows the pressed look but gives no second Click.
  secondPress_ = doubleClick && lastMouseButton_ == static_cast<int>(MouseButton::Left);
  state_ = ButtonState::Pressed;
  return kTakeFocus | kCapture | kRepaint;
}

unsigned ButtonInput::MouseUp(MouseButton button, bool inside, CheckRef check) {
  // Only a release over the button is its last: a press that follows a release elsewhere is
  // a click of its own, never the second half of a double click.
  lastMouseButton_ = inside ? static_cast<int>(button) : 0;
  if (button != MouseButton::Left || !leftHeld_) return kNone;
  leftHeld_ = false;
  const bool second = secondPress_;
  secondPress_ = false;
  if (!inside) {
    state_ = Resting();
    return kReleaseCapture | kRepaint;
  }
  if (second) {
    state_ = ButtonState::Hot;
    return kReleaseCapture | kRepaint;
  }
  return kReleaseCapture | ClickAction(check, false);
}

unsigned ButtonInput::CaptureLost() {
  if (!leftHeld_) return kNone;
  leftHeld_ = false;
  secondPress_ = false;
  state_ = Resting();
  return kRepaint;
}

unsigned ButtonInput::KeyDown(int key) {
  switch (key) {
    case kKeySpace:
      if (spaceHeld_) return kNone;  // auto-repeat
      spaceHeld_ = true;
      spaceClicked_ = false;
      state_ = ButtonState::Pressed;
      return kRepaint;
    case kKeyLeft:
      return kFocusPrevious;
    case kKeyRight:
      return kFocusNext;
    default:
      return kNone;
  }
}

unsigned ButtonInput::Char(wchar_t ch, CheckRef check) {
  if (ch != L' ') return kNone;  // Enter among them: a focused button ignores it
  // A held space key repeats its character; one press is one Click.
  if (spaceHeld_ && spaceClicked_) return kNone;
  spaceClicked_ = spaceHeld_;
  return ClickAction(check, true);
}

unsigned ButtonInput::KeyUp(int key) {
  if (key != kKeySpace || !spaceHeld_) return kNone;
  spaceHeld_ = false;
  spaceClicked_ = false;
  // The click has already happened at the key press: the look is the resting one (a checked
  // check button still draws pressed through Settle, an unchecked one does not).
  state_ = Resting();
  return kRepaint;
}

unsigned ButtonInput::AccessKey(CheckRef check) { return ClickAction(check, true); }

unsigned ButtonInput::Focus(bool has) {
  hasFocus_ = has;
  if (!has && spaceHeld_) {
    spaceHeld_ = false;
    spaceClicked_ = false;
    state_ = Resting();
  }
  return kRepaint;
}

unsigned ButtonInput::EnabledChanged() {
  const bool held = leftHeld_;
  state_ = ButtonState::Normal;
  leftHeld_ = secondPress_ = spaceHeld_ = spaceClicked_ = false;
  return kRepaint | (held ? kReleaseCapture : kNone);
}

unsigned ButtonInput::ClickAction(CheckRef check, bool keyboard) {
  if (check.isCheckButton) check.value = !check.value;
  state_ = keyboard ? Resting() : ButtonState::Hot;
  return kRepaint | kClick;
}

ButtonState ButtonInput::Settle(bool userMode, bool blueFrameStyle, bool checkedCheckButton, bool ownEnabled,
                                bool chainEnabled) {
  if (!userMode && !blueFrameStyle) state_ = ButtonState::Hot;
  if (checkedCheckButton) state_ = ButtonState::Pressed;
  if (!ownEnabled) state_ = ButtonState::Disabled;
  return chainEnabled ? state_ : ButtonState::Disabled;
}

}  // namespace lumadex::button
