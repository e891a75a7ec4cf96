#include "controls/host/container_box_win32.h"

#include <gtest/gtest.h>

#include "support/control_test_support_win32.h"
#include "winmsg/font_win32.h"

namespace lumadex {
namespace {

Colour Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }

// A frame holding a caption, an edit and a borderless box with a check box in it, as the main
// window's groups do.
class Boxes : public testing::Test {
 protected:
  test::TestHost host_;
  HWND frame_ = CreateContainerBox(host_.hwnd(), BoxStyle::Frame, L"登录", 10, 10, 200, 120);
  HWND label_ = CreateLabel(frame_, L"邮箱", 8, 20, 60, 20);
  HWND edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 70, 20, 100, 20, frame_, nullptr, nullptr,
                               nullptr);
  HWND inner_ = CreateContainerBox(frame_, BoxStyle::Plain, L"", 8, 60, 150, 40);
  HWND check_ = CreateWindowExW(0, L"BUTTON", L"记住", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 4, 4, 80, 20, inner_,
                                nullptr, nullptr, nullptr);
};

TEST_F(Boxes, OnlyBoxesAreBoxesAndCaptionsLetThePointerThrough) {
  ASSERT_TRUE(frame_ && label_ && inner_);
  EXPECT_TRUE(IsContainerBox(frame_));
  EXPECT_TRUE(IsContainerBox(inner_));
  EXPECT_FALSE(IsContainerBox(label_));
  EXPECT_FALSE(IsContainerBox(edit_));
  EXPECT_FALSE(IsContainerBox(host_.hwnd()));
  EXPECT_EQ(SendMessageW(label_, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  // The caption made before the edit goes beneath it.
  SendLabelsToBack(host_.hwnd());
  EXPECT_EQ(GetWindow(label_, GW_HWNDNEXT), nullptr);
  // The font handed over is the one given back; the sender keeps owning it.
  const Font font = CreateFontOf(StoredFont{L"宋体", 9});
  SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0)), font.get());
}

TEST_F(Boxes, ADisabledBoxDisablesWhatItHoldsAndGivesBackEachOwnState) {
  SetOwnEnabled(edit_, false);
  SetOwnEnabled(frame_, false);
  for (HWND w : {edit_, check_, label_}) EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_FALSE(IsUsable(check_));
  EXPECT_TRUE(IsOwnEnabled(check_));
  EXPECT_FALSE(IsOwnEnabled(frame_));
  SetOwnEnabled(frame_, true);
  EXPECT_TRUE(IsWindowEnabled(check_));
  EXPECT_TRUE(IsUsable(check_));
  EXPECT_FALSE(IsWindowEnabled(edit_)) << "its own flag still says no";
  // A box keeps its own state inside a disabled box; what it holds follows both.
  SetOwnEnabled(frame_, false);
  SetOwnEnabled(inner_, true);
  EXPECT_TRUE(IsWindowEnabled(inner_));
  EXPECT_FALSE(IsWindowEnabled(check_));
}

TEST_F(Boxes, AFramePrintsItsEtchedBorderAndAPlainBoxOnlyItsFace) {
  const test::Picture plain(inner_);
  ASSERT_EQ(plain.width(), 150);
  for (const Colour c : plain.pixels()) ASSERT_EQ(c, Sys(COLOR_BTNFACE));
  const test::Picture frame(frame_);
  ASSERT_EQ(frame.height(), 120);
  // Etched: a shadow line outside a highlight line, turned round at the far sides.
  EXPECT_EQ(frame.At(0, 60), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(frame.At(1, 60), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(frame.At(100, 119), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(frame.At(100, 118), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(frame.At(100, 60), Sys(COLOR_BTNFACE));
}

}  // namespace
}  // namespace lumadex
