#include "controls/button/skin_button_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "controls/host/container_box_win32.h"
#include "controls/host/window_text_win32.h"
#include "support/control_test_support_win32.h"
#include "support/gdi_count_win32.h"
#include "support/real_input_win32.h"

namespace lumadex {
namespace {

namespace in = test::input;
using button::ButtonState;

PropertyBag StyledSet(std::int32_t style, const std::wstring& caption) {
  PropertyBag bag;
  bag.Write(L"Style", std::int64_t{style});
  bag.Write(L"Caption", caption);
  bag.Write(L"Font", StoredFont{L"宋体", 9, 400});
  return bag;
}

// A button on a host window with counters on its three events.
class ButtonInput : public testing::Test {
 protected:
  void Make(PropertyBag bag = StyledSet(8, L"&Save"), int w = 80, int h = 30, HWND parent = nullptr) {
    in::MoveTo(POINT{5, 5});  // far from where the button goes
    button_ = SkinButton::Load(parent ? parent : host_.hwnd(), 1, 40, 40, w, h, bag);
    ASSERT_TRUE(button_);
    button_->SetOnClick([this] { ++clicks_; });
    button_->SetOnMouseEnter([this] { ++enters_; });
    button_->SetOnMouseLeave([this] { ++leaves_; });
    in::Settle();
  }
  // A button with a tooltip of `text` and the pointer brought over it; the tip it made then.
  // The thread's top-level windows are counted first.
  HWND TipOfNewButton(const std::wstring& text, PropertyBag bag = StyledSet(8, L"tip")) {
    bag.Write(L"ToolTipText", text);
    Make(bag);
    windowsBefore_ = test::ThreadTopLevelWindowCount();
    Over();
    return button_ ? button_->ToolTipWindow() : nullptr;
  }
  HWND hwnd() const { return button_->hwnd(); }
  void Over() { in::MoveTo(in::CentreOf(hwnd())); }
  void Away() { in::MoveTo(in::Beside(hwnd())); }

  test::TestHost host_;
  std::unique_ptr<SkinButton> button_;
  int clicks_ = 0, enters_ = 0, leaves_ = 0;
  int windowsBefore_ = 0;
};

TEST_F(ButtonInput, EachPassOfThePointerIsOneEnterAndOneLeave) {
  Make();
  for (int pass = 1; pass <= 2; ++pass) {
    Over();
    POINT p = in::CentreOf(hwnd());
    for (int i = 0; i < 4; ++i) in::MoveTo(POINT{p.x + i * 3 - 6, p.y + (i % 2)});
    EXPECT_EQ(button_->State(), ButtonState::Hot);
    EXPECT_EQ(enters_, pass);
    EXPECT_EQ(leaves_, pass - 1);
    Away();
    in::Settle(100);
    EXPECT_EQ(leaves_, pass);
    EXPECT_EQ(button_->State(), ButtonState::Normal);
  }
}

TEST_F(ButtonInput, ClicksCountedByHowTheyCame) {
  Make();
  Over();
  in::LeftClick();
  EXPECT_EQ(clicks_, 1) << "left click";
  EXPECT_EQ(GetFocus(), hwnd());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(button_->State(), ButtonState::Hot);

  in::RightDown();
  in::RightUp();
  EXPECT_EQ(clicks_, 1) << "right click";
  Sleep(GetDoubleClickTime() + 50);

  in::DoubleClick();
  EXPECT_EQ(clicks_, 2) << "double click";
  Sleep(GetDoubleClickTime() + 50);

  in::Key(VK_SPACE);
  EXPECT_EQ(clicks_, 3) << "space";

  in::Key(VK_RETURN);
  EXPECT_EQ(clicks_, 3) << "enter";

  in::AltKey('S');
  EXPECT_EQ(clicks_, 4) << "access key";

  in::LeftDown();
  EXPECT_EQ(button_->State(), ButtonState::Pressed);
  Away();
  in::LeftUp();
  EXPECT_EQ(clicks_, 4) << "released outside";
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(button_->State(), ButtonState::Normal);
}

TEST_F(ButtonInput, SpaceClicksOnceAtItsCharacterAndRestsOnRelease) {
  Make();
  SetFocus(hwnd());
  in::KeyDown(VK_SPACE);
  EXPECT_EQ(clicks_, 1);  // the key's character clicks; the press look lasts until then
  in::KeyUp(VK_SPACE);
  EXPECT_EQ(button_->State(), ButtonState::Normal);
  EXPECT_EQ(clicks_, 1);
  Over();
  in::Key(VK_SPACE);
  EXPECT_EQ(clicks_, 2);
  EXPECT_EQ(button_->State(), ButtonState::Hot);
}

TEST_F(ButtonInput, ACheckButtonUncheckedBySpaceDoesNotStayPressed) {
  PropertyBag bag = StyledSet(8, L"check");
  bag.Write(L"ButtonType", std::int64_t{1});
  Make(bag);
  SetFocus(hwnd());
  in::Key(VK_SPACE);
  EXPECT_TRUE(button_->Properties().Value);
  button_->Refresh();
  EXPECT_EQ(button_->State(), ButtonState::Pressed);
  in::Key(VK_SPACE);
  EXPECT_FALSE(button_->Properties().Value);
  button_->Refresh();
  EXPECT_EQ(button_->State(), ButtonState::Normal);
  EXPECT_EQ(clicks_, 2);
}

TEST_F(ButtonInput, DisabledButtonsIgnoreTheirInput) {
  Make();
  button_->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(hwnd()));
  Over();
  in::LeftClick();
  in::AltKey('S');
  EXPECT_EQ(clicks_, 0);
  EXPECT_EQ(enters_, 0);
  button_->Refresh();
  EXPECT_EQ(button_->State(), ButtonState::Disabled);
  button_->SetEnabled(true);
  EXPECT_EQ(button_->State(), ButtonState::Normal);
  Away();
  Over();
  in::LeftClick();
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonInput, ADisabledButtonStaysDisabledWhateverItsBoxDoes) {
  HWND box = CreateContainerBox(host_.hwnd(), BoxStyle::Plain, L"", 0, 0, 300, 200);
  PropertyBag bag = StyledSet(8, L"&Save");
  bag.Write(L"Enabled", false);
  Make(bag, 80, 30, box);
  for (bool loaded : {true, false}) {
    SCOPED_TRACE(loaded ? "loaded disabled" : "disabled by its setter");
    if (!loaded) {
      button_->SetEnabled(true);
      button_->SetEnabled(false);
    }
    SetOwnEnabled(box, false);
    SetOwnEnabled(box, true);
    EXPECT_FALSE(IsWindowEnabled(hwnd()));
    // Even a window enabled behind the button's back raises no Click.
    EnableWindow(hwnd(), TRUE);
    Over();
    in::LeftClick();
    in::AltKey('S');
    SetFocus(hwnd());
    in::Key(VK_SPACE);
    EXPECT_EQ(clicks_, 0);
    Away();
  }
  button_->SetEnabled(true);
  Over();
  in::LeftClick();
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonInput, APressAfterAReleaseOutsideIsAFreshClick) {
  Make();
  Over();
  in::LeftDown();
  Away();
  in::LeftUp();
  EXPECT_EQ(clicks_, 0);
  // Back at the first press's point within the double-click time: the platform reports a
  // double click, yet the first press never clicked.
  Over();
  in::LeftClick();
  EXPECT_EQ(clicks_, 1);
  Sleep(GetDoubleClickTime() + 50);
  in::DoubleClick();
  EXPECT_EQ(clicks_, 2);
}

// Sets *gone when the last copy of the handler holding it goes.
struct GoneMark {
  explicit GoneMark(bool* g) : gone(g) {}
  GoneMark(const GoneMark&) = delete;
  ~GoneMark() { *gone = true; }
  bool* gone;
};

TEST_F(ButtonInput, AClickHandlerMayDestroyTheButton) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    Make();
    bool handlerGone = false, goneDuringCall = true;
    auto mark = std::make_shared<GoneMark>(&handlerGone);
    button_->SetOnClick([this, mark, &handlerGone, &goneDuringCall] {
      bool* gone = &handlerGone;
      bool* during = &goneDuringCall;
      int* clicks = &clicks_;
      button_.reset();
      *during = *gone;
      ++*clicks;
    });
    mark.reset();
    Over();
    if (way == 0) in::LeftClick();
    if (way == 1) in::AltKey('S');
    if (way == 2) {
      SetFocus(hwnd());
      in::Key(VK_SPACE);
    }
    EXPECT_EQ(clicks_, way + 1);
    EXPECT_EQ(button_, nullptr);
    EXPECT_FALSE(goneDuringCall);
    EXPECT_TRUE(handlerGone);
    in::MoveTo(POINT{5, 5});
  }
}

TEST_F(ButtonInput, TheAccessKeyClicksFromAnyControlOfItsWindowOnly) {
  Make();
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 200, 40, 100, 24, host_.hwnd(),
                              nullptr, nullptr, nullptr);
  SetFocus(edit);
  in::AltKey('S');
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(GetText(edit), L"");
  in::AltKey('Q');  // no button carries it
  EXPECT_EQ(clicks_, 1);
  // A control of another window does not reach this window's buttons.
  test::TestHost other;
  HWND otherEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 24, other.hwnd(),
                                   nullptr, nullptr, nullptr);
  SetFocus(otherEdit);
  in::AltKey('S');
  EXPECT_EQ(clicks_, 1);
  DestroyWindow(edit);
}

TEST_F(ButtonInput, ClickHandlerWithANestedLoopSeesASecondClickAndLeavesTheButtonSettled) {
  Make();
  Over();
  int depth = 0, deepest = 0;
  button_->SetOnClick([&] {
    ++clicks_;
    ++depth;
    deepest = std::max(deepest, depth);
    // At Click the press is over: no capture, the button drawn in its final look.
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(button_->State(), ButtonState::Hot);
    if (clicks_ == 1) {
      Sleep(GetDoubleClickTime() + 50);
      in::LeftClick();  // handled by the loop below, inside this Click
      in::Settle(200);
    }
    --depth;
  });
  in::LeftClick();
  in::Settle(100);
  EXPECT_EQ(clicks_, 2);
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(button_->State(), ButtonState::Hot);
}

TEST_F(ButtonInput, ArrowsMoveTheFocusToTheNeighbours) {
  Make();
  auto other = SkinButton::Load(host_.hwnd(), 2, 200, 40, 80, 30, StyledSet(8, L"two"));
  std::vector<bool> moves;
  button_->SetFocusMover([&](bool backwards) {
    moves.push_back(backwards);
    SetFocus(other->hwnd());
  });
  SetFocus(hwnd());
  in::Key(VK_RIGHT);
  EXPECT_EQ(GetFocus(), other->hwnd());
  SetFocus(hwnd());
  in::Key(VK_LEFT);
  EXPECT_EQ(moves, (std::vector<bool>{false, true}));
  EXPECT_EQ(clicks_, 0);
}

BOOL CALLBACK FindVisibleTooltip(HWND w, LPARAM found) {
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleTooltip() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleTooltip, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(ButtonInput, TheBalloonComesWithThePointerAndGoesWithIt) {
  PropertyBag bag = StyledSet(8, L"tip");
  bag.Write(L"Tooltiptitle", std::wstring(L"提示"));
  bag.Write(L"ToolTipIcon", std::int64_t{1});
  HWND tip = TipOfNewButton(L"下载整个相册", bag);
  ASSERT_NE(tip, nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(tip, cls, 32);
  EXPECT_STREQ(cls, TOOLTIPS_CLASSW);
  const LONG style = GetWindowLongW(tip, GWL_STYLE);
  EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
  EXPECT_TRUE(GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  wchar_t text[64] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = hwnd();
  info.uId = 0;
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"下载整个相册");
  // The tip shows after its delay while the pointer rests on the button.
  HWND shown = nullptr;
  for (int i = 0; i < 60 && !shown; ++i) {
    in::Settle(50);
    shown = VisibleTooltip();
  }
  EXPECT_EQ(shown, tip);
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore_ + 1);

  Away();
  in::Settle(100);
  EXPECT_EQ(button_->ToolTipWindow(), nullptr);
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore_);
}

TEST_F(ButtonInput, TooltipKindsTextRebuildAndNone) {
  PropertyBag bag = StyledSet(8, L"tip");
  bag.Write(L"ToolTipType", std::int64_t{0});
  HWND first = TipOfNewButton(L"one", bag);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetWindowLongW(first, GWL_STYLE) & TTS_BALLOON, 0);
  // A new text rebuilds the tip: the old window is gone, exactly one is left.
  button_->SetToolTipText(L"two");
  HWND second = button_->ToolTipWindow();
  EXPECT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore_ + 1);
  Away();
  // The control's own text is what is saved, never emptied by showing the tip.
  PropertyBag saved;
  button_->Save(saved);
  EXPECT_EQ(saved.ReadString(L"ToolTipText", L""), L"two");
  // Without a text no tip is made at all.
  button_->SetToolTipText(L"");
  Over();
  EXPECT_EQ(button_->ToolTipWindow(), nullptr);
  Away();
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore_);
}

TEST_F(ButtonInput, TheFormsTooltipTextIsHandedOverAndBack) {
  HWND tip = TipOfNewButton(L"stored");
  ASSERT_NE(tip, nullptr);
  // Taken over while the balloon shows, so that the form shows no plain tip of its own.
  EXPECT_EQ(button_->HostToolTipText(), L"");
  // Hidden under the pointer: the form has the text back and the balloon is gone.
  ShowWindow(hwnd(), SW_HIDE);
  EXPECT_EQ(button_->HostToolTipText(), L"stored");
  EXPECT_FALSE(IsWindow(tip));
  ShowWindow(hwnd(), SW_SHOW);
  Away();
  in::Settle(100);
  EXPECT_EQ(button_->HostToolTipText(), L"stored");
  // A text the form sets is the one the next balloon shows, and the button's from then on.
  button_->SetHostToolTipText(L"from the form");
  Over();
  ASSERT_NE(button_->ToolTipWindow(), nullptr);
  EXPECT_EQ(button_->Properties().ToolTipText, L"from the form");
  Away();
  in::Settle(100);
  EXPECT_EQ(button_->HostToolTipText(), L"from the form");
}

TEST_F(ButtonInput, ADesignedFormsButtonNeitherTracksThePointerNorTakesItsAccessKey) {
  Make();
  button_->SetUserMode(false);
  Over();
  in::AltKey('S');
  EXPECT_EQ(enters_, 0);
  EXPECT_EQ(clicks_, 0);
  EXPECT_EQ(button_->ToolTipWindow(), nullptr);
  button_->SetUserMode(true);
  Away();
  Over();
  EXPECT_EQ(enters_, 1);
  // Going into design mode under the pointer ends the pass quietly.
  button_->SetUserMode(false);
  EXPECT_EQ(leaves_, 0);
  in::AltKey('S');
  EXPECT_EQ(clicks_, 0);
}

TEST_F(ButtonInput, ButtonsGrowToTheMinimumSize) {
  Make(StyledSet(8, L"x"), 10, 8);
  RECT r;
  GetClientRect(hwnd(), &r);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.bottom, 20);
  SetWindowPos(hwnd(), nullptr, 0, 0, 15, 40, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(hwnd(), &r);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.bottom, 40);
  SetWindowPos(hwnd(), nullptr, 0, 0, 57, 25, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(hwnd(), &r);
  EXPECT_EQ(r.right, 57);
  EXPECT_EQ(r.bottom, 25);
}

TEST_F(ButtonInput, WindowTextFollowsTheCaption) {
  Make();
  wchar_t text[32] = {};
  GetWindowTextW(hwnd(), text, 32);
  EXPECT_STREQ(text, L"&Save");
  button_->SetCaption(L"停 止");
  GetWindowTextW(hwnd(), text, 32);
  EXPECT_STREQ(text, L"停 止");
  EXPECT_EQ(button_->Caption(), L"停 止");
  EXPECT_EQ(SkinButton::FromWindow(hwnd()), button_.get());
}

TEST_F(ButtonInput, OpenLinkRefusesAnythingButWebAndMailAddresses) {
  Make();
  EXPECT_EQ(button_->OpenLink(L"C:\\windows\\system32\\calc.exe"), 0);
  EXPECT_EQ(button_->OpenLink(L"file:///C:/boot.ini"), 0);
  EXPECT_EQ(button_->OpenLink(L"javascript:alert(1)"), 0);
  EXPECT_STREQ(SkinButton::Version(), L"3.4.0");
}

TEST(ButtonResources, TheCounterSeesWhatIsLeftBehind) {
  test::TestHost host;
  test::GdiCount count;
  HBRUSH brush = CreateSolidBrush(0x123456);
  HRGN given = CreateRectRgn(0, 0, 10, 10);
  HRGN kept = CreateRectRgn(0, 0, 5, 5);
  EXPECT_EQ(count.Live(), 3);
  EXPECT_EQ(count.Live(OBJ_REGION), 2);
  SetWindowRgn(host.hwnd(), given, FALSE);  // the window owns it now
  EXPECT_EQ(count.Live(), 2);
  EXPECT_EQ(count.HandedOver(), 1);
  DeleteObject(brush);
  DeleteObject(kept);
  EXPECT_EQ(count.Live(), 0);
  EXPECT_EQ(count.BadDeletes(), 0);
  DeleteObject(kept);  // once too often
  EXPECT_EQ(count.BadDeletes(), 1);
  EXPECT_EQ(count.Created(), 3);
  SetWindowRgn(host.hwnd(), nullptr, FALSE);
}

TEST(ButtonResources, NothingLeaksOnAnyPath) {
  test::TestHost host;
  in::MoveTo(POINT{5, 5});
  const int windowsBefore = test::ThreadTopLevelWindowCount();
  test::GdiCount count;
  const std::vector<std::uint8_t> icon = test::IconFile(16, [](int x, int y) { return (x + y) % 2 ? 0x0000FFu : 0x909090u; });
  for (int style = 0; style <= 11; ++style) {
    for (int variant = 0; variant < 3; ++variant) {
      PropertyBag bag = StyledSet(style, L"下 载");
      bag.Write(L"Icon", StoredPicture{icon});
      bag.Write(L"UseMaskColor", variant == 2);
      bag.Write(L"MaskColor", std::int64_t{0x0000FF});
      bag.Write(L"ToolTipText", std::wstring(L"tip"));
      bag.Write(L"Enabled", variant != 1);  // the grey icon on the disabled path
      auto b = SkinButton::Load(host.hwnd(), 1, 20, 20, 60, 30, bag);
      ASSERT_TRUE(b);
      in::MoveTo(in::CentreOf(b->hwnd()));
      test::Picture(b->hwnd());
      SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      test::Picture(b->hwnd());
      SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      SetFocus(b->hwnd());
      b->SetStyle((style + 1) % 11);
      b->SetFont(StoredFont{L"Tahoma", 12, 700});
      test::Picture(b->hwnd());
      in::MoveTo(POINT{5, 5});
      in::Settle(30);
    }
  }
  in::Settle(50);
  EXPECT_GT(count.Created(), 100);  // the counting saw the drawing
  EXPECT_EQ(count.Live(), 0);
  EXPECT_EQ(test::ThreadTopLevelWindowCount(), windowsBefore);
}

}  // namespace
}  // namespace lumadex
