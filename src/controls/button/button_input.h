// The push button's input state machine: pointer, keyboard, focus and enabling events in;
// the visual state and what the window must do (repaint, raise an event, capture…) out.
// No platform calls here, so every path can be exercised without a window.
#pragma once
#include <cstdint>

namespace lumadex::button {

enum class ButtonState : int { Normal = 1, Hot = 2, Pressed = 3, Disabled = 4 };

enum class MouseButton : int { Left = 1, Right = 2, Middle = 4 };

// What the window does after an event, in this order: capture changes and focus first, then
// the tooltip and leave tracking, the repaint, the pointer events, and Click last of all, so
// that a Click handler that runs a nested message loop finds the button settled.
enum Effect : unsigned {
  kNone = 0,
  kRepaint = 1u << 0,
  kClick = 1u << 1,
  kMouseEnter = 1u << 2, kMouseLeave = 1u << 3, kTrackLeave = 1u << 4,
  kShowTip = 1u << 5, kHideTip = 1u << 6,
  kCapture = 1u << 7, kReleaseCapture = 1u << 8,
  kTakeFocus = 1u << 9, kFocusPrevious = 1u << 10, kFocusNext = 1u << 11,
};

inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyRight = 0x27;

// The check state lives with the properties; the machine flips it through this reference.
struct CheckRef {
  bool isCheckButton;
  bool& value;
};

class ButtonInput {
 public:
  ButtonState State() const { return state_; }
  bool HasFocus() const { return hasFocus_; }
  bool MouseInside() const { return mouseInside_; }
  bool LeftHeld() const { return leftHeld_; }
  bool SpaceHeld() const { return spaceHeld_; }
  int LastMouseButton() const { return lastMouseButton_; }

  // A pointer move; `inside` is false only for moves reported under capture.
  unsigned MouseMove(bool inside);
  unsigned MouseLeave();
  // `doubleClick`: the second press of a double click.
  unsigned MouseDown(MouseButton button, bool doubleClick);
  unsigned MouseUp(MouseButton button, bool inside, CheckRef check);
  // Capture taken away by someone else (a dialog, another window): the press is abandoned.
  unsigned CaptureLost();
  unsigned KeyDown(int key);
  unsigned Char(wchar_t ch, CheckRef check);
  unsigned KeyUp(int key);
  unsigned AccessKey(CheckRef check);
  unsigned Focus(bool has);
  // Enabled set, either way, or the enabled state of the window chain changed.
  unsigned EnabledChanged();

  // The state a repaint draws, settled as a repaint settles it: hot while the form is
  // designed (except Style 5), pressed for a checked check button, disabled when not
  // enabled. `ownEnabled` is the Enabled property: its disabled look is kept in the state;
  // a disabled container only changes the drawing.
  ButtonState Settle(bool userMode, bool blueFrameStyle, bool checkedCheckButton, bool ownEnabled, bool chainEnabled);

 private:
  unsigned ClickAction(CheckRef check, bool keyboard);
  ButtonState Resting() const { return mouseInside_ ? ButtonState::Hot : ButtonState::Normal; }

  ButtonState state_ = ButtonState::Normal;
  bool hasFocus_ = false, mouseInside_ = false;
  // The press in progress: the left button (and whether it is a double click's second press)
  // or the space key (and whether its character has clicked already).
  bool leftHeld_ = false, secondPress_ = false;
  bool spaceHeld_ = false, spaceClicked_ = false;
  int lastMouseButton_ = 0;
};

}  // namespace lumadex::button
