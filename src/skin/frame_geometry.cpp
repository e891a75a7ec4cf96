#include "skin/frame_geometry.h"

#include <algorithm>

namespace lumadex::skin {
namespace {

// The caption's middle is tiled from a fixed start with a fixed step, whatever the metrics say;
// the skins are drawn for these numbers.
constexpr long kTileStart = 90;
constexpr long kTileStep = 52;
// The title keeps clear of the emblem on the left and the buttons on the right.
constexpr long kTitleLeft = 92;
constexpr long kTitleRightGap = 96;
constexpr long kButtonTop = 5;

}  // namespace

bool Contains(const Rect& r, long x, long y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

Rect ClientFromWindow(const Rect& window, const Margins& m) {
  Rect r{window.left + m.left, window.top + m.top, window.right - m.right, window.bottom - m.bottom};
  // A minimised or tiny window must not get a client area with its sides swapped: the window
  // system would take it for a huge area. Collapse it onto its top-left corner instead.
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

int FrameHitTest(long x, long y, long w, long h, const Margins& m, long captionHeight, bool sizable) {
  if (!Contains(Rect{0, 0, w, h}, x, y)) return kHtClient;
  const auto sizing = [sizable](int code) { return sizable ? code : kHtClient; };
  const long b = m.bottom;
  if (x <= m.left) {
    if (y <= b) return sizing(kHtTopLeft);
    if (y >= h - b) return sizing(kHtBottomLeft);
    return sizing(kHtLeft);
  }
  if (x >= w - m.right) {
    if (y <= b) return sizing(kHtTopRight);
    if (y >= h - b) return sizing(kHtBottomRight);
    return sizing(kHtRight);
  }
  if (y <= b) return sizing(kHtTop);
  if (y >= h - b) return sizing(kHtBottom);
  if (y > m.top) return kHtClient;
  if (y > b + captionHeight) return kHtClient;
  if (x <= captionHeight) return kHtSysMenu;
  return kHtCaption;
}

bool FollowRightButton(bool swapped, bool leftDown, bool rightDown) {
  if (!swapped) return false;
  return rightDown || !leftDown;
}

CaptionLayout LayoutCaption(const Rect& window, const SkinMetrics& k, long captionHeight, long borderSize,
                            bool active, bool hasClose, bool hasMaximize, bool hasMinimize) {
  CaptionLayout out;
  const long xOff = active ? 0 : k.inactiveOffset;
  out.left = Piece{xOff, window.left, window.left + k.activeLeftEnd};

  const long cw = k.activeRightEnd - k.activeRightStart + 1;
  long x = window.right - (k.activeRightEnd - k.activeRightStart);
  if (x < window.left + cw) {
    x = window.left + cw;
    out.narrow = true;
  }
  out.right = Piece{xOff + k.activeRightStart, x, cw};

  out.exists[kClose] = hasClose;
  out.exists[kMaximize] = hasMaximize;
  out.exists[kMinimize] = hasMinimize;
  // Buttons are laid out from the right; a missing one takes no room.
  long left = x + cw - borderSize + 4;
  for (int b : {kClose, kMaximize, kMinimize}) {
    if (!out.exists[b]) continue;
    left -= k.buttonWidth + 1;
    out.buttons[b] = Rect{left, window.top + kButtonTop, left + k.buttonWidth + 1,
                          window.top + kButtonTop + k.buttonHeight};
  }

  for (long i = window.left + kTileStart; i < x; i += kTileStep) {
    out.tiles.push_back(Piece{k.activeLeftEnd + xOff + 1, i, std::min(kTileStep, x - i)});
  }

  out.title = Rect{window.left + kTitleLeft, borderSize + 1, window.right - kTitleRightGap,
                   borderSize + 1 + (captionHeight - borderSize - 2) / 2};

  out.menuLeft = k.activeLeftEnd;
  out.menuTop = captionHeight / 2;
  out.menuWidth = x - k.activeLeftEnd;
  out.menuHeight = captionHeight / 2;
  out.menuYOffset = 2 - captionHeight / 2;
  return out;
}

long GlyphSourceX(const SkinMetrics& k, CaptionButton button, bool maximized) {
  constexpr long kCells = 240;
  switch (button) {
    case kClose:
      return kCells + 1;
    case kMaximize:
      return kCells + (maximized ? 1 : 2) * k.buttonWidth;
    default:
      return kCells + 3 * k.buttonWidth;
  }
}

std::vector<long> BottomEdgeCells(const Rect& window, long borderSize) {
  std::vector<long> cells;
  if (borderSize <= 0) return cells;
  for (long p = window.left + borderSize; p < window.right - borderSize; p += borderSize) cells.push_back(p);
  return cells;
}

std::vector<long> SideFillCopies(long captionHeight, long bottom, long borderSize) {
  std::vector<long> copies;
  if (borderSize <= 0) return copies;
  for (long filled = borderSize; captionHeight + filled < bottom - borderSize; filled *= 2) copies.push_back(filled);
  return copies;
}

}  // namespace lumadex::skin
