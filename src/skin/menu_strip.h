// The menu strip in the lower half of a skinned caption: which top-level items it shows,
// where each sits, how each looks, and which one a point or an Alt key picks. Items that
// open no popup are neither drawn nor counted; strip items are numbered from 1.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumadex {

struct MenuRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  // Right and bottom edges are outside, as for the platform's rectangles.
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const MenuRect&) const = default;
};

struct MenuTextSize {
  int width = 0, height = 0;
};

struct TopLevelMenuItem {
  std::wstring text;
  bool opensPopup = false;
};

struct StripItem {
  int position = 0;    // 0-based position among all top-level items of the menu
  MenuRect textRect;   // in the strip buffer, where the text is drawn
  MenuRect frameRect;  // in the strip buffer: the text grown by 2 on every side, for edges
  MenuRect storedRect; // frameRect moved by the strip's place; what hit tests use
};

// Lays the items out from x = 8, each text measured by `measure` and followed by 11
// pixels. left and yOffset place the stored rectangles relative to the window's left
// edge and the line one caption height below its top.
std::vector<StripItem> LayoutMenuStrip(const std::vector<TopLevelMenuItem>& items,
                                       const std::function<MenuTextSize(std::wstring_view)>& measure, int left,
                                       int yOffset);

enum class StripEdge { None, RaisedInner, SunkenOuter };

struct StripItemLook {
  bool hotText = false;
  StripEdge edge = StripEdge::None;
  int textShift = 0;  // pressed items move their text one pixel right and down
};

// Item k's look given the pressed item and the item under the mouse (0 or -1: none).
StripItemLook LookOfStripItem(int k, int pressed, int hover);

// The first strip item whose stored rectangle holds the point, or 0.
int HitTestStrip(const std::vector<StripItem>& strip, int x, int y);

// The strip item `step` places from `current`, wrapping at both ends; 0 for an empty strip.
int NeighbourStripItem(int current, int count, int step);

// The strip items whose access key is the virtual key, in strip order. Only items the strip
// shows can answer, so the number is the one the user sees.
std::vector<int> StripItemsForAccessKey(const std::vector<TopLevelMenuItem>& items, unsigned virtualKey);

}  // namespace lumadex
