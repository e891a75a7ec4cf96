#include "controls/button/button_accessible_win32.h"

#include <gtest/gtest.h>

#include "controls/host/container_box_win32.h"
#include "controls/host/window_text_win32.h"
#include "support/accessible_client_win32.h"
#include "support/control_test_support_win32.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

namespace in = test::input;
using test::StateNames;

PropertyBag ButtonSet(const std::wstring& caption, int type = 0, const std::wstring& tip = L"") {
  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{8});
  bag.Write(L"Caption", caption);
  bag.Write(L"ButtonType", std::int64_t{type});
  bag.Write(L"Font", StoredFont{L"宋体", 9, 400});
  if (!tip.empty()) bag.Write(L"ToolTipText", tip);
  return bag;
}

// A button as a screen reader meets it: through the platform, by its window.
class ButtonAccess : public testing::Test {
 protected:
  void Make(const PropertyBag& bag, HWND parent = nullptr) {
    in::MoveTo(POINT{5, 5});  // far from where the button goes
    button_ = SkinButton::Load(parent ? parent : host_.hwnd(), 1, 40, 40, 80, 30, bag);
    ASSERT_TRUE(button_);
    button_->SetOnClick([this] { ++clicks_; });
    in::Settle();
    object_ = test::ClientObject(button_->hwnd());
    ASSERT_TRUE(object_);
  }
  long State() { return test::StateOf(object_.get()); }
  bool Has(long bits) { return (State() & bits) == bits; }
  HRESULT DoDefault() { return object_->accDoDefaultAction(test::SelfChild()); }

  test::TestHost host_;
  std::unique_ptr<SkinButton> button_;
  ComRef<IAccessible> object_;
  int clicks_ = 0;
};

TEST_F(ButtonAccess, ReadsAsAPushButtonNamedByItsCaption) {
  Make(ButtonSet(L"&Save", 0, L"保存到文件"));
  EXPECT_EQ(test::RoleOf(object_.get()), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(test::NameOf(object_.get()), L"Save");
  EXPECT_EQ(test::DescriptionOf(object_.get()), L"保存到文件");
  EXPECT_EQ(test::ShortcutOf(object_.get()), L"Alt+S");
  EXPECT_EQ(test::DefaultActionOf(object_.get()), L"按下");
  EXPECT_EQ(State() & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSED),
            STATE_SYSTEM_FOCUSABLE)
      << StateNames(State());
  // Reading changes nothing the button keeps.
  EXPECT_EQ(button_->Caption(), L"&Save");
  EXPECT_EQ(GetText(button_->hwnd()), L"&Save");
  // The platform's own object still tells where the button is.
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(object_->accLocation(&x, &y, &w, &h, test::SelfChild()), S_OK);
  RECT r;
  GetWindowRect(button_->hwnd(), &r);
  EXPECT_EQ(std::vector<long>({x, y, w, h}), std::vector<long>({r.left, r.top, r.right - r.left, r.bottom - r.top}));
  // Every client meets the same object.
  const long live = AccessibleObject::LiveCount();
  ComRef<IAccessible> again = test::ClientObject(button_->hwnd());
  EXPECT_EQ(again.get(), object_.get());
  EXPECT_EQ(AccessibleObject::LiveCount(), live);
}

TEST_F(ButtonAccess, ACaptionWithoutAccessKeyHasNoShortcutAndNoDescriptionWithoutTip) {
  Make(ButtonSet(L"下 载"));
  EXPECT_EQ(test::NameOf(object_.get()), L"下 载");
  EXPECT_EQ(test::ShortcutOf(object_.get()), std::nullopt);
  EXPECT_EQ(test::DescriptionOf(object_.get()), std::nullopt);
}

TEST_F(ButtonAccess, CheckTypeReadsAsACheckButtonWithItsCheckedState) {
  Make(ButtonSet(L"&Bold", 1));
  EXPECT_EQ(test::RoleOf(object_.get()), ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_FALSE(Has(STATE_SYSTEM_CHECKED));
  SetFocus(button_->hwnd());
  in::Key(VK_SPACE);
  EXPECT_TRUE(button_->Properties().Value);
  // Drawn pressed while checked, but not being pressed.
  EXPECT_EQ(State() & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED), STATE_SYSTEM_CHECKED) << StateNames(State());
  ASSERT_EQ(DoDefault(), S_OK);
  in::Settle();
  EXPECT_FALSE(button_->Properties().Value);
  EXPECT_FALSE(Has(STATE_SYSTEM_CHECKED));
  EXPECT_EQ(clicks_, 2);
}

TEST_F(ButtonAccess, StatesFollowFocusPointerPressAndEnabling) {
  Make(ButtonSet(L"&Save"));
  SetFocus(button_->hwnd());
  EXPECT_TRUE(Has(STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE)) << StateNames(State());
  in::MoveTo(in::CentreOf(button_->hwnd()));
  EXPECT_TRUE(Has(STATE_SYSTEM_HOTTRACKED)) << StateNames(State());
  EXPECT_FALSE(Has(STATE_SYSTEM_PRESSED));
  in::LeftDown();
  EXPECT_TRUE(Has(STATE_SYSTEM_PRESSED | STATE_SYSTEM_HOTTRACKED)) << StateNames(State());
  // Held but dragged off, it no longer looks pressed, nor reads so.
  in::MoveTo(in::Beside(button_->hwnd()));
  EXPECT_EQ(State() & (STATE_SYSTEM_PRESSED | STATE_SYSTEM_HOTTRACKED), 0) << StateNames(State());
  in::LeftUp();
  EXPECT_EQ(clicks_, 0);

  button_->SetEnabled(false);
  EXPECT_EQ(State() & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED),
            STATE_SYSTEM_UNAVAILABLE)
      << StateNames(State());
  button_->SetEnabled(true);
  EXPECT_FALSE(Has(STATE_SYSTEM_UNAVAILABLE));
}

TEST_F(ButtonAccess, AButtonInADisabledBoxIsUnavailableAndCannotBePressed) {
  HWND box = CreateContainerBox(host_.hwnd(), BoxStyle::Frame, L"组", 0, 0, 200, 120);
  Make(ButtonSet(L"&Save"), box);
  SetOwnEnabled(box, false);
  EXPECT_TRUE(Has(STATE_SYSTEM_UNAVAILABLE)) << StateNames(State());
  EXPECT_EQ(DoDefault(), kNotEnabled);
  in::Settle();
  EXPECT_EQ(clicks_, 0);
  SetOwnEnabled(box, true);
  EXPECT_FALSE(Has(STATE_SYSTEM_UNAVAILABLE)) << StateNames(State());
  button_.reset();
  DestroyWindow(box);
}

TEST_F(ButtonAccess, DefaultActionClicksOnceAsSpaceDoesAndIsRefusedWhileDisabled) {
  Make(ButtonSet(L"&Save"));
  ASSERT_EQ(DoDefault(), S_OK);
  // The press waits for the button's own turn, so a client is never held up by the Click.
  EXPECT_EQ(clicks_, 0);
  in::Settle();
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(button_->State(), button::ButtonState::Normal);  // as after a space press, the pointer away

  button_->SetEnabled(false);
  EXPECT_EQ(DoDefault(), kNotEnabled);
  in::Settle();
  EXPECT_EQ(clicks_, 1);

  // Disabled after it was asked and before it ran: no press either.
  button_->SetEnabled(true);
  ASSERT_EQ(DoDefault(), S_OK);
  button_->SetEnabled(false);
  in::Settle();
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonAccess, ChangesAreAnnouncedOnceEach) {
  Make(ButtonSet(L"下 载"));
  test::EventListener events(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE);
  HWND w = button_->hwnd();
  button_->SetCaption(L"停 止");
  button_->SetCaption(L"停 止");
  in::Settle();
  EXPECT_EQ(test::NameOf(object_.get()), L"停 止");
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, w), 1);

  SetFocus(w);
  in::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_FOCUS, w), 1);
  const int stateChanges = events.Count(EVENT_OBJECT_STATECHANGE, w);
  EXPECT_GE(stateChanges, 1);  // focused
  button_->SetEnabled(false);
  in::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, w), stateChanges + 1);
  button_->SetToolTipText(L"开始下载");
  in::Settle();
  EXPECT_EQ(events.Count(EVENT_OBJECT_DESCRIPTIONCHANGE, w), 1);
  EXPECT_EQ(test::DescriptionOf(object_.get()), L"开始下载");
}

}  // namespace
}  // namespace lumadex
