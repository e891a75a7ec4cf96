// The arithmetic of the skinned frame, kept apart from the window system so it can be checked
// on its own: the client area left inside the margins, the hit-test table of the frame, and
// where the caption painter puts each piece of the skin pictures.
#pragma once

#include <vector>

namespace lumadex::skin {

struct Rect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// Right and bottom excluded, as the window system's own point test.
bool Contains(const Rect& r, long x, long y);

struct Margins {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Margins&) const = default;
};

// The window rectangle shrunk by the margins. A window smaller than its margins (minimised,
// or sized down to nothing) gets an empty client rectangle rather than one turned inside out.
Rect ClientFromWindow(const Rect& window, const Margins& m);

// Hit-test codes of the window system (WM_NCHITTEST answers); the sizing borders and corners
// follow each other from kHtLeft in the platform's order.
enum HitCode : int {
  kHtClient = 1, kHtCaption = 2, kHtSysMenu = 3, kHtMenu = 5,
  kHtLeft = 10, kHtRight, kHtTop, kHtTopLeft, kHtTopRight, kHtBottom, kHtBottomLeft, kHtBottomRight,
};

// The frame's own hit test for a point (x, y) relative to the window's top-left corner of a
// window w x h with margins m. captionHeight is the system caption height; the top sizing band
// is as thick as the bottom margin, and the strip between the caption and the top margin (where
// a menu bar goes) counts as client area.
int FrameHitTest(long x, long y, long w, long h, const Margins& m, long captionHeight, bool sizable);

// Whether a press of the primary button is followed by the physical right button. The platform
// reads physical buttons (GetAsyncKeyState), and the primary one is the right one while the
// user has swapped them, unless only the left one is down: some platforms hand physical buttons
// on unswapped, and then the left one made the press.
bool FollowRightButton(bool swapped, bool leftDown, bool rightDown);

// The six metrics a skin is cut by.
struct SkinMetrics {
  long buttonWidth = 0, buttonHeight = 0;
  long activeLeftEnd = 0, activeRightStart = 0, activeRightEnd = 0;
  long inactiveOffset = 0;
};

enum CaptionButton { kClose = 0, kMaximize = 1, kMinimize = 2, kButtonCount = 3 };

// One copy from the caption picture into the caption buffer.
struct Piece {
  long srcX = 0, dstX = 0, width = 0;
  bool operator==(const Piece&) const = default;
};

struct CaptionLayout {
  Piece left, right;
  std::vector<Piece> tiles;
  bool narrow = false;          // no room for a title: the right end is pushed right instead
  bool exists[kButtonCount] = {};
  Rect buttons[kButtonCount];   // empty for a missing button
  Rect title;
  // The menu bar's part of the caption: left, top, width and height, and its y offset.
  long menuLeft = 0, menuTop = 0, menuWidth = 0, menuHeight = 0, menuYOffset = 0;
};

// Where the caption of a window rectangle (moved to the origin) goes. captionHeight and
// borderSize are the heights of the two skin pictures; active picks the look.
CaptionLayout LayoutCaption(const Rect& window, const SkinMetrics& k, long captionHeight, long borderSize,
                            bool active, bool hasClose, bool hasMaximize, bool hasMinimize);

// The x of a button's glyph in the caption picture; pressed glyphs sit buttonHeight lower.
long GlyphSourceX(const SkinMetrics& k, CaptionButton button, bool maximized);

// The x positions of the bottom-edge cells between the two corners.
std::vector<long> BottomEdgeCells(const Rect& window, long borderSize);

// The side borders are filled by copying what is already filled below itself, doubling each
// time. Each entry is one such copy: rows [captionHeight, captionHeight + height) go to
// captionHeight + height. The first cell is placed before the copies.
std::vector<long> SideFillCopies(long captionHeight, long bottom, long borderSize);

}  // namespace lumadex::skin
