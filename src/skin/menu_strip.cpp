#include "skin/menu_strip.h"

#include "skin/menu_item_text.h"

namespace lumadex {

namespace {

MenuRect Grow(MenuRect r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }
MenuRect Move(MenuRect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

std::vector<StripItem> LayoutMenuStrip(const std::vector<TopLevelMenuItem>& items,
                                       const std::function<MenuTextSize(std::wstring_view)>& measure, int left,
                                       int yOffset) {
  std::vector<StripItem> strip;
  int x = 8;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].opensPopup) continue;
    const MenuTextSize size = measure(items[i].text);
    StripItem item;
    item.position = static_cast<int>(i);
    item.textRect = {x, 2, x + size.width, 2 + size.height};
    item.frameRect = Grow(item.textRect, 2);
    item.storedRect = Move(item.frameRect, left, yOffset);
    strip.push_back(item);
    x += size.width + 11;
  }
  return strip;
}

StripItemLook LookOfStripItem(int k, int pressed, int hover) {
  if (k == pressed && k == hover) return {true, StripEdge::SunkenOuter, 1};
  if (k == pressed || k == hover) return {true, StripEdge::RaisedInner, 0};
  return {};
}

int HitTestStrip(const std::vector<StripItem>& strip, int x, int y) {
  for (std::size_t i = 0; i < strip.size(); ++i)
    if (strip[i].storedRect.Contains(x, y)) return static_cast<int>(i) + 1;
  return 0;
}

int NeighbourStripItem(int current, int count, int step) {
  if (count < 1) return 0;
  // Work from 0-based places so a current item outside 1..count still lands inside.
  const int from = (current < 1 || current > count) ? 0 : current - 1;
  const int to = ((from + step) % count + count) % count;
  return to + 1;
}

std::vector<int> StripItemsForAccessKey(const std::vector<TopLevelMenuItem>& items, unsigned virtualKey) {
  std::vector<int> found;
  int number = 0;
  for (const TopLevelMenuItem& item : items) {
    if (!item.opensPopup) continue;
    ++number;
    const wchar_t key = AccessKeyOf(SplitMenuItemText(item.text).caption);
    if (key != 0 && static_cast<unsigned>(key) == virtualKey) found.push_back(number);
  }
  return found;
}

}  // namespace lumadex
