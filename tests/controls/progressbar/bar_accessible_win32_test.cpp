#include "controls/progressbar/bar_accessible_win32.h"

#include <gtest/gtest.h>

#include "controls/host/container_box_win32.h"
#include "support/accessible_client_win32.h"
#include "support/control_test_support_win32.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

using test::StateNames;

// A new bar (value 50, printing its own text) on a box on a host window.
class BarAccess : public testing::Test {
 protected:
  void SetUp() override {
    box_ = CreateContainerBox(host_.hwnd(), BoxStyle::Plain, L"", 0, 0, 300, 100);
    bar_ = ProgressBar::Create(box_, 1, RECT{10, 10, 210, 30}, L"Bar", nullptr, StoredFont{L"宋体", 9, 400});
    ASSERT_TRUE(bar_);
    object_ = test::ClientObject(bar_->hwnd());
    ASSERT_TRUE(object_);
  }
  void TearDown() override {
    bar_.reset();
    DestroyWindow(box_);
  }
  long State() { return test::StateOf(object_.get()); }

  test::TestHost host_;
  HWND box_ = nullptr;
  std::unique_ptr<ProgressBar> bar_;
  ComRef<IAccessible> object_;
};

TEST_F(BarAccess, ReadsAsAProgressBarWhoseValueIsThePercentageShown) {
  EXPECT_EQ(test::RoleOf(object_.get()), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(test::ValueOf(object_.get()), L"50%");
  EXPECT_EQ(test::NameOf(object_.get()), L"Vexo ProgressBar");  // the text it prints
  EXPECT_EQ(State() & (STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_READONLY) << StateNames(State());
  ProgressBarModel& m = bar_->Properties();
  m.SetTextStyle(1);  // prints "1", fills a third
  m.SetMax(3);
  m.SetValue(1);
  EXPECT_EQ(test::ValueOf(object_.get()), L"33.3333333333333%");
  EXPECT_EQ(test::NameOf(object_.get()), std::nullopt);
  m.SetTextStyle(4);  // prints nothing
  EXPECT_EQ(test::ValueOf(object_.get()), L"33.3333333333333%");
  EXPECT_EQ(GetWindowTextLengthW(bar_->hwnd()), 0);
}

TEST_F(BarAccess, UnavailableWhenItLooksDisabled) {
  bar_->Properties().SetEnabled(false);
  EXPECT_TRUE(State() & STATE_SYSTEM_UNAVAILABLE) << StateNames(State());
  bar_->Properties().SetEnabled(true);
  EXPECT_FALSE(State() & STATE_SYSTEM_UNAVAILABLE) << StateNames(State());
  SetOwnEnabled(box_, false);
  EXPECT_TRUE(State() & STATE_SYSTEM_UNAVAILABLE) << StateNames(State());
  EXPECT_TRUE(bar_->Properties().Enabled());  // its own property stays
}

TEST_F(BarAccess, ValueChangesAreAnnouncedOnlyWhenThePercentageShownChanges) {
  test::EventListener events(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE);
  HWND w = bar_->hwnd();
  ProgressBarModel& m = bar_->Properties();
  for (int tick = 0; tick < 5; ++tick) m.SetValue(50);  // a timer setting what is shown already
  m.SetTextStyle(2);
  test::input::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_VALUECHANGE, w), 0);
  for (int tick = 0; tick < 3; ++tick) m.SetValue(60);
  m.SetMax(120);  // 60 of 120
  test::input::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_VALUECHANGE, w), 2);
  m.SetEnabled(false);
  m.SetEnabled(false);
  test::input::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, w), 1);
}

}  // namespace
}  // namespace lumadex
