#include "skin/frame_geometry.h"

#include <gtest/gtest.h>

namespace lumadex::skin {
namespace {

const Margins kSkinMargins{10, 48, 10, 10};
const SkinMetrics kMainSkin{19, 20, 90, 140, 240, 400};

TEST(FrameClientArea, ShrinksByTheMarginsAndNeverTurnsInsideOut) {
  EXPECT_EQ(ClientFromWindow(Rect{100, 50, 614, 473}, kSkinMargins), (Rect{110, 98, 604, 463}));
  // A minimised window is smaller than its frame: the client area collapses, it does not flip.
  const Rect tiny = ClientFromWindow(Rect{-32000, -32000, -31984, -31969}, kSkinMargins);
  EXPECT_GE(tiny.right, tiny.left);
  EXPECT_GE(tiny.bottom, tiny.top);
  EXPECT_EQ(tiny.Width(), 0);
  EXPECT_EQ(tiny.Height(), 0);
  // Exactly as large as the frame: empty, not negative.
  EXPECT_EQ(ClientFromWindow(Rect{0, 0, 20, 58}, kSkinMargins), (Rect{10, 48, 10, 48}));
}

TEST(FrameHitTest, SizableWindowAnswersTheBordersAndCorners) {
  const long w = 400, h = 300, cap = 18;
  EXPECT_EQ(FrameHitTest(0, 0, w, h, kSkinMargins, cap, true), kHtTopLeft);
  EXPECT_EQ(FrameHitTest(3, 150, w, h, kSkinMargins, cap, true), kHtLeft);
  EXPECT_EQ(FrameHitTest(3, 295, w, h, kSkinMargins, cap, true), kHtBottomLeft);
  EXPECT_EQ(FrameHitTest(395, 5, w, h, kSkinMargins, cap, true), kHtTopRight);
  EXPECT_EQ(FrameHitTest(390, 150, w, h, kSkinMargins, cap, true), kHtRight);
  EXPECT_EQ(FrameHitTest(399, 299, w, h, kSkinMargins, cap, true), kHtBottomRight);
  // The top band is as thick as the bottom margin, not the caption.
  EXPECT_EQ(FrameHitTest(200, 10, w, h, kSkinMargins, cap, true), kHtTop);
  EXPECT_EQ(FrameHitTest(200, 11, w, h, kSkinMargins, cap, true), kHtCaption);
  EXPECT_EQ(FrameHitTest(200, 290, w, h, kSkinMargins, cap, true), kHtBottom);
  // The boundaries are inclusive on the frame side.
  EXPECT_EQ(FrameHitTest(10, 150, w, h, kSkinMargins, cap, true), kHtLeft);
  EXPECT_EQ(FrameHitTest(11, 150, w, h, kSkinMargins, cap, true), kHtClient);
}

TEST(FrameHitTest, FixedWindowHasNoSizingBands) {
  const long w = 400, h = 300, cap = 18;
  EXPECT_EQ(FrameHitTest(3, 150, w, h, kSkinMargins, cap, false), kHtClient);
  EXPECT_EQ(FrameHitTest(0, 0, w, h, kSkinMargins, cap, false), kHtClient);
  EXPECT_EQ(FrameHitTest(200, 5, w, h, kSkinMargins, cap, false), kHtClient);
  EXPECT_EQ(FrameHitTest(200, 295, w, h, kSkinMargins, cap, false), kHtClient);
  EXPECT_EQ(FrameHitTest(395, 150, w, h, kSkinMargins, cap, false), kHtClient);
}

TEST(FrameHitTest, CaptionIconSpotAndMenuStrip) {
  const long w = 400, h = 300, cap = 18;
  EXPECT_EQ(FrameHitTest(15, 20, w, h, kSkinMargins, cap, false), kHtSysMenu);
  EXPECT_EQ(FrameHitTest(18, 20, w, h, kSkinMargins, cap, false), kHtSysMenu);
  EXPECT_EQ(FrameHitTest(19, 20, w, h, kSkinMargins, cap, false), kHtCaption);
  EXPECT_EQ(FrameHitTest(200, 28, w, h, kSkinMargins, cap, false), kHtCaption);
  // Below the system caption height the strip of the menu bar is client area.
  EXPECT_EQ(FrameHitTest(200, 29, w, h, kSkinMargins, cap, false), kHtClient);
  EXPECT_EQ(FrameHitTest(200, 47, w, h, kSkinMargins, cap, false), kHtClient);
  // Outside the window nothing is frame.
  EXPECT_EQ(FrameHitTest(-1, 20, w, h, kSkinMargins, cap, true), kHtClient);
  EXPECT_EQ(FrameHitTest(400, 20, w, h, kSkinMargins, cap, true), kHtClient);
}

TEST(CaptionLayout, FourHundredPixelWindowPlacesTheRightEndAndButtons) {
  const CaptionLayout l = LayoutCaption(Rect{0, 0, 400, 300}, kMainSkin, 48, 10, true, true, true, true);
  EXPECT_FALSE(l.narrow);
  EXPECT_EQ(l.right, (Piece{140, 300, 101}));
  EXPECT_EQ(l.left, (Piece{0, 0, 90}));
  EXPECT_EQ(l.buttons[kClose], (Rect{375, 5, 395, 25}));
  EXPECT_EQ(l.buttons[kMaximize], (Rect{355, 5, 375, 25}));
  EXPECT_EQ(l.buttons[kMinimize], (Rect{335, 5, 355, 25}));
  EXPECT_EQ(l.title, (Rect{92, 11, 304, 29}));
  // Tiles from 90 in steps of 52, the last one cut at the right end.
  ASSERT_EQ(l.tiles.size(), 5u);
  EXPECT_EQ(l.tiles[0], (Piece{91, 90, 52}));
  EXPECT_EQ(l.tiles[3], (Piece{91, 246, 52}));
  EXPECT_EQ(l.tiles[4], (Piece{91, 298, 2}));
  EXPECT_EQ(l.menuLeft, 90);
  EXPECT_EQ(l.menuTop, 24);
  EXPECT_EQ(l.menuWidth, 210);
  EXPECT_EQ(l.menuHeight, 24);
  EXPECT_EQ(l.menuYOffset, -22);
}

TEST(CaptionLayout, InactiveLookShiftsThePiecesButNotTheGlyphs) {
  const CaptionLayout l = LayoutCaption(Rect{0, 0, 400, 300}, kMainSkin, 48, 10, false, true, true, true);
  EXPECT_EQ(l.left.srcX, 400);
  EXPECT_EQ(l.right.srcX, 540);
  EXPECT_EQ(l.tiles[0].srcX, 491);
  EXPECT_EQ(l.buttons[kClose], (Rect{375, 5, 395, 25}));
  EXPECT_EQ(GlyphSourceX(kMainSkin, kClose, false), 241);
  EXPECT_EQ(GlyphSourceX(kMainSkin, kMaximize, false), 278);
  EXPECT_EQ(GlyphSourceX(kMainSkin, kMaximize, true), 259);
  EXPECT_EQ(GlyphSourceX(kMainSkin, kMinimize, false), 297);
}

TEST(CaptionLayout, MissingButtonsTakeNoRoom) {
  // The main window: no maximise box, so minimise sits right next to close.
  const CaptionLayout l = LayoutCaption(Rect{0, 0, 514, 423}, kMainSkin, 48, 10, true, true, false, true);
  EXPECT_EQ(l.buttons[kClose], (Rect{489, 5, 509, 25}));
  EXPECT_EQ(l.buttons[kMaximize], Rect{});
  EXPECT_EQ(l.buttons[kMinimize], (Rect{469, 5, 489, 25}));
  const CaptionLayout noClose = LayoutCaption(Rect{0, 0, 514, 423}, kMainSkin, 48, 10, true, false, false, true);
  EXPECT_EQ(noClose.buttons[kMinimize], (Rect{489, 5, 509, 25}));
}

TEST(CaptionLayout, NarrowWindowClampsTheRightEndAndDropsTheTitle) {
  // 2 * 101 - 1 = 201 is the narrowest window with a title.
  const CaptionLayout fits = LayoutCaption(Rect{0, 0, 201, 100}, kMainSkin, 48, 10, true, true, false, true);
  EXPECT_FALSE(fits.narrow);
  EXPECT_EQ(fits.right.dstX, 101);
  const CaptionLayout narrow = LayoutCaption(Rect{0, 0, 150, 100}, kMainSkin, 48, 10, true, true, false, true);
  EXPECT_TRUE(narrow.narrow);
  EXPECT_EQ(narrow.right.dstX, 101);
  ASSERT_EQ(narrow.tiles.size(), 1u);
  EXPECT_EQ(narrow.tiles[0].width, 11);
  EXPECT_EQ(narrow.menuWidth, 11);  // the menu bar is still given its place
  const CaptionLayout nothing = LayoutCaption(Rect{0, 0, 0, 0}, kMainSkin, 48, 10, true, true, false, true);
  EXPECT_TRUE(nothing.narrow);
  EXPECT_TRUE(nothing.tiles.size() <= 1u);
}

TEST(BorderTiling, BottomCellsStopAtTheCornerAndSidesDouble) {
  const std::vector<long> cells = BottomEdgeCells(Rect{0, 0, 514, 423}, 10);
  ASSERT_FALSE(cells.empty());
  EXPECT_EQ(cells.front(), 10);
  EXPECT_EQ(cells.back(), 500);  // the corner at 504 covers the rest
  EXPECT_EQ(cells.size(), 50u);
  EXPECT_TRUE(BottomEdgeCells(Rect{0, 0, 20, 20}, 10).empty());

  const std::vector<long> copies = SideFillCopies(48, 423, 10);
  ASSERT_FALSE(copies.empty());
  long filled = 10;
  for (long c : copies) {
    EXPECT_EQ(c, filled);
    filled *= 2;
  }
  EXPECT_GE(48 + filled, 423 - 10);  // filled down to the bottom border
  EXPECT_EQ(copies.size(), 6u);      // logarithmic in the height
  EXPECT_TRUE(SideFillCopies(48, 60, 10).empty());
  EXPECT_TRUE(SideFillCopies(48, 423, 0).empty());
}

}  // namespace
}  // namespace lumadex::skin
