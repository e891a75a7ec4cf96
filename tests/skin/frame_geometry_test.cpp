#include "skin/frame_geometry.h"

#include <gtest/gtest.h>

#include <string>

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

// The frame's answer for every pixel of a 24 x 20 window with margins 3, 10, 3 and 2 and a
// system caption 6 high, a character a pixel: the sizing borders and corners where the numeric
// keypad has them (7 8 9 / 4 6 / 1 2 3), S the system menu, C the caption and . client area.
std::string HitMap(bool sizable) {
  std::string map = "\n";
  for (long y = 0; y < 20; ++y) {
    for (long x = 0; x < 24; ++x) {
      switch (FrameHitTest(x, y, 24, 20, Margins{3, 10, 3, 2}, 6, sizable)) {
        case kHtTopLeft: map += '7'; break;
        case kHtTop: map += '8'; break;
        case kHtTopRight: map += '9'; break;
        case kHtLeft: map += '4'; break;
        case kHtRight: map += '6'; break;
        case kHtBottomLeft: map += '1'; break;
        case kHtBottom: map += '2'; break;
        case kHtBottomRight: map += '3'; break;
        case kHtSysMenu: map += 'S'; break;
        case kHtCaption: map += 'C'; break;
        case kHtClient: map += '.'; break;
        default: map += '?'; break;
      }
    }
    map += '\n';
  }
  return map;
}

TEST(FrameHitTest, SizableWindowAnswersTheBordersAndCorners) {
  // The top band is as thick as the bottom margin, not the caption; the borders include their
  // inner edge; below the system caption's height the menu strip is client area.
  EXPECT_EQ(HitMap(true), R"(
777788888888888888888999
777788888888888888888999
777788888888888888888999
4444SSSCCCCCCCCCCCCCC666
4444SSSCCCCCCCCCCCCCC666
4444SSSCCCCCCCCCCCCCC666
4444SSSCCCCCCCCCCCCCC666
4444SSSCCCCCCCCCCCCCC666
4444SSSCCCCCCCCCCCCCC666
4444.................666
4444.................666
4444.................666
4444.................666
4444.................666
4444.................666
4444.................666
4444.................666
4444.................666
111122222222222222222333
111122222222222222222333
)");
}

TEST(FrameHitTest, FixedWindowHasNoSizingBands) {
  EXPECT_EQ(HitMap(false), R"(
........................
........................
........................
....SSSCCCCCCCCCCCCCC...
....SSSCCCCCCCCCCCCCC...
....SSSCCCCCCCCCCCCCC...
....SSSCCCCCCCCCCCCCC...
....SSSCCCCCCCCCCCCCC...
....SSSCCCCCCCCCCCCCC...
........................
........................
........................
........................
........................
........................
........................
........................
........................
........................
........................
)");
}

TEST(FrameHitTest, ProgramMarginsAndPointsOutsideTheWindow) {
  // The main window's frame: a 10-pixel top band and an 18-pixel system caption.
  EXPECT_EQ(FrameHitTest(200, 10, 400, 300, kSkinMargins, 18, true), kHtTop);
  EXPECT_EQ(FrameHitTest(18, 28, 400, 300, kSkinMargins, 18, false), kHtSysMenu);
  EXPECT_EQ(FrameHitTest(200, 29, 400, 300, kSkinMargins, 18, false), kHtClient);
  // Outside the window nothing is frame.
  EXPECT_EQ(FrameHitTest(-1, 20, 400, 300, kSkinMargins, 18, true), kHtClient);
  EXPECT_EQ(FrameHitTest(400, 20, 400, 300, kSkinMargins, 18, true), kHtClient);
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

TEST(FrameButtons, APressIsFollowedByThePhysicalButtonThatIsPrimary) {
  EXPECT_FALSE(FollowRightButton(false, true, false));
  EXPECT_FALSE(FollowRightButton(false, false, true));  // the secondary button never drags
  EXPECT_TRUE(FollowRightButton(true, false, true));    // swapped: the right one is primary
  EXPECT_TRUE(FollowRightButton(true, true, true));
  EXPECT_FALSE(FollowRightButton(true, true, false));   // a platform that did not swap the press
}

}  // namespace
}  // namespace lumadex::skin
