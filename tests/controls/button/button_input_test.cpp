#include "controls/button/button_input.h"

#include <gtest/gtest.h>

namespace lumadex::button {
namespace {

using S = ButtonState;

struct Machine {
  ButtonInput in;
  bool isCheck = false;
  bool value = false;
  int clicks = 0, enters = 0, leaves = 0;
  unsigned last = 0;
  unsigned Count(unsigned effects) {
    last = effects;
    if (effects & kClick) ++clicks;
    if (effects & kMouseEnter) ++enters;
    if (effects & kMouseLeave) ++leaves;
    return effects;
  }
  CheckRef check() { return {isCheck, value}; }
  void Move(bool inside = true) { Count(in.MouseMove(inside)); }
  void Leave() { Count(in.MouseLeave()); }
  void Down(MouseButton b = MouseButton::Left, bool dbl = false) { Count(in.MouseDown(b, dbl)); }
  void Up(MouseButton b = MouseButton::Left, bool inside = true) { Count(in.MouseUp(b, inside, check())); }
  // A press and release inside.
  void Click(MouseButton b = MouseButton::Left) {
    Down(b);
    Up(b);
  }
  void Space() {
    Count(in.KeyDown(kKeySpace));
    Count(in.Char(L' ', check()));
    Count(in.KeyUp(kKeySpace));
  }
};

// A machine whose pointer has just come over the button.
Machine PointerOver() {
  Machine m;
  m.Move();
  return m;
}

TEST(ButtonPointer, OneEnterAndOneLeavePerPass) {
  Machine m;
  for (int pass = 1; pass <= 2; ++pass) {
    m.Move();
    EXPECT_TRUE(m.last & kTrackLeave);
    EXPECT_TRUE(m.last & kShowTip);
    EXPECT_EQ(m.in.State(), S::Hot);
    for (int i = 0; i < 5; ++i) m.Move();
    EXPECT_EQ(m.enters, pass);
    m.Leave();
    m.Leave();  // a second notice of the same leave adds nothing
    EXPECT_EQ(m.leaves, pass);
    EXPECT_TRUE(m.last == kNone);
    EXPECT_EQ(m.in.State(), S::Normal);
  }
}

TEST(ButtonPointer, AMoveOutsideUnderCaptureCountsAsTheLeave) {
  Machine m = PointerOver();
  m.Down();
  EXPECT_TRUE(m.last & kCapture);
  EXPECT_TRUE(m.last & kTakeFocus);
  m.Move(false);
  EXPECT_EQ(m.leaves, 1);
  EXPECT_EQ(m.in.State(), S::Normal);
  m.Leave();  // the late leave notification adds nothing
  EXPECT_EQ(m.leaves, 1);
  m.Move(true);
  EXPECT_EQ(m.enters, 2);
  EXPECT_EQ(m.in.State(), S::Hot);  // entering shows hot even while the button is held
}

TEST(ButtonPointer, LeftClickInsideClicksOnceAfterReleasingCapture) {
  Machine m = PointerOver();
  m.Down();
  EXPECT_EQ(m.in.State(), S::Pressed);
  EXPECT_EQ(m.clicks, 0);
  m.Up();
  EXPECT_EQ(m.clicks, 1);
  EXPECT_TRUE(m.last & kReleaseCapture);
  EXPECT_TRUE(m.last & kRepaint);
  EXPECT_EQ(m.in.State(), S::Hot);
  EXPECT_EQ(m.in.LastMouseButton(), 1);
}

TEST(ButtonPointer, ReleaseOutsideGivesNoClick) {
  Machine m = PointerOver();
  m.Down();
  m.Move(false);
  m.Up(MouseButton::Left, false);
  EXPECT_EQ(m.clicks, 0);
  EXPECT_TRUE(m.last & kReleaseCapture);
  EXPECT_EQ(m.in.State(), S::Normal);
  // What the platform then reports as a double click is the first click of a new one.
  m.Move();
  m.Down(MouseButton::Left, true);
  m.Up();
  EXPECT_EQ(m.clicks, 1);
}

TEST(ButtonPointer, RightAndMiddleClicksDoNothingAndSpaceStillClicksOnce) {
  Machine m = PointerOver();
  m.Click(MouseButton::Right);
  m.Click(MouseButton::Middle);
  EXPECT_EQ(m.in.State(), S::Hot);
  EXPECT_EQ(m.clicks, 0);
  EXPECT_EQ(m.in.LastMouseButton(), 4);
  m.Space();
  EXPECT_EQ(m.clicks, 1);
}

TEST(ButtonPointer, DoubleClickIsOneClickWithThePressedLookOnTheSecondPress) {
  Machine m = PointerOver();
  m.Click();
  m.Down(MouseButton::Left, true);
  EXPECT_EQ(m.in.State(), S::Pressed);
  m.Up();
  EXPECT_EQ(m.clicks, 1);
  EXPECT_EQ(m.in.State(), S::Hot);
  // The next ordinary click counts again.
  m.Click();
  EXPECT_EQ(m.clicks, 2);
}

TEST(ButtonPointer, LostCaptureAbandonsThePress) {
  Machine m = PointerOver();
  m.Down();
  m.Count(m.in.CaptureLost());
  EXPECT_EQ(m.in.State(), S::Hot);
  EXPECT_FALSE(m.in.LeftHeld());
  m.Up();
  EXPECT_EQ(m.clicks, 0);
}

TEST(ButtonKeyboard, SpacePressesClicksAndReleases) {
  Machine m;
  m.Count(m.in.KeyDown(kKeySpace));
  EXPECT_EQ(m.in.State(), S::Pressed);
  m.Count(m.in.KeyDown(kKeySpace));  // auto-repeat
  m.Count(m.in.Char(L' ', m.check()));
  m.Count(m.in.Char(L' ', m.check()));  // repeated character of the same press
  EXPECT_EQ(m.clicks, 1);
  m.Count(m.in.KeyUp(kKeySpace));
  // The pointer is elsewhere: the button rests in its normal look.
  EXPECT_EQ(m.in.State(), S::Normal);
  m.Move();
  m.Space();
  EXPECT_EQ(m.clicks, 2);
  EXPECT_EQ(m.in.State(), S::Hot);
}

TEST(ButtonKeyboard, EnterAndOtherKeysDoNothingArrowsMoveTheFocus) {
  Machine m;
  EXPECT_EQ(m.in.Char(L'\r', m.check()), kNone);
  EXPECT_EQ(m.in.KeyDown(0x0D), kNone);
  EXPECT_EQ(m.in.KeyDown(kKeyLeft), kFocusPrevious);
  EXPECT_EQ(m.in.KeyDown(kKeyRight), kFocusNext);
  EXPECT_EQ(m.in.KeyUp(kKeySpace), kNone);  // a key-up without its key-down
  EXPECT_EQ(m.in.State(), S::Normal);
}

TEST(ButtonKeyboard, AccessKeyClicksAndRestsByThePointer) {
  Machine m;
  m.Count(m.in.AccessKey(m.check()));
  EXPECT_EQ(m.clicks, 1);
  EXPECT_EQ(m.in.State(), S::Normal);
  m.Move();
  m.Count(m.in.AccessKey(m.check()));
  EXPECT_EQ(m.in.State(), S::Hot);
}

TEST(ButtonKeyboard, LosingTheFocusWhileSpaceIsHeldReleasesIt) {
  Machine m;
  m.Count(m.in.Focus(true));
  EXPECT_TRUE(m.in.HasFocus());
  m.Count(m.in.KeyDown(kKeySpace));
  m.Count(m.in.Focus(false));
  EXPECT_FALSE(m.in.SpaceHeld());
  EXPECT_EQ(m.in.State(), S::Normal);
  m.Count(m.in.KeyUp(kKeySpace));
  EXPECT_EQ(m.clicks, 0);
}

TEST(ButtonCheckType, ClicksFlipTheValueAndCheckedDrawsPressed) {
  Machine m;
  m.isCheck = true;
  m.Move();
  m.Click();
  EXPECT_TRUE(m.value);
  EXPECT_EQ(m.in.Settle(true, false, m.value, true, true), S::Pressed);
  m.Leave();
  EXPECT_EQ(m.in.Settle(true, false, m.value, true, true), S::Pressed);  // whatever the pointer does
  m.Move();
  m.Click();
  EXPECT_FALSE(m.value);
  EXPECT_EQ(m.clicks, 2);
  EXPECT_EQ(m.in.Settle(true, false, m.value, true, true), S::Hot);
}

TEST(ButtonCheckType, SpaceOnACheckedButtonDoesNotLeaveItLookingPressed) {
  Machine m;
  m.isCheck = true;
  m.Space();
  EXPECT_TRUE(m.value);
  EXPECT_EQ(m.in.Settle(true, false, m.value, true, true), S::Pressed);
  m.Count(m.in.KeyDown(kKeySpace));
  EXPECT_EQ(m.in.State(), S::Pressed);
  m.Count(m.in.Char(L' ', m.check()));
  EXPECT_FALSE(m.value);
  m.Count(m.in.KeyUp(kKeySpace));
  EXPECT_EQ(m.in.Settle(true, false, m.value, true, true), S::Normal);
  EXPECT_EQ(m.clicks, 2);
}

TEST(ButtonEnabling, DisabledLookAndBackToNormal) {
  Machine m = PointerOver();
  EXPECT_EQ(m.in.Settle(true, false, false, false, true), S::Disabled);
  EXPECT_EQ(m.in.State(), S::Disabled);
  m.Count(m.in.EnabledChanged());
  EXPECT_EQ(m.in.State(), S::Normal);  // whatever the pointer position
  // A disabled container changes only the drawing.
  EXPECT_EQ(m.in.Settle(true, false, false, true, false), S::Disabled);
  EXPECT_EQ(m.in.State(), S::Normal);
}

TEST(ButtonEnabling, EnablingDuringAPressDropsItWithoutAClick) {
  Machine m = PointerOver();
  m.Down();
  const unsigned effects = m.Count(m.in.EnabledChanged());
  EXPECT_TRUE(effects & kReleaseCapture);
  m.Up();
  EXPECT_EQ(m.clicks, 0);
}

TEST(ButtonDesign, WhileDesignedEveryStyleButBlueFrameDrawsHot) {
  Machine m;
  EXPECT_EQ(m.in.Settle(false, false, false, true, true), S::Hot);
  Machine n;
  EXPECT_EQ(n.in.Settle(false, true, false, true, true), S::Normal);
}

}  // namespace
}  // namespace lumadex::button
