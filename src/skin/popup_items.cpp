#include "skin/popup_items.h"

#include <algorithm>

namespace lumadex {

bool PopupItemTable::RememberMenu(std::uintptr_t menu) {
  if (std::find(prepared_.begin(), prepared_.end(), menu) != prepared_.end()) return true;
  prepared_.push_back(menu);
  return false;
}

int PopupItemTable::FindItem(std::uintptr_t menu, int position) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].menu == menu && entries_[i].position == position) return static_cast<int>(i) + 1;
  return 0;
}

int PopupItemTable::FindItemById(std::uint32_t id) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].saved.id == id) return static_cast<int>(i) + 1;
  return 0;
}

int PopupItemTable::AddItem(std::uintptr_t menu, int position, SavedMenuItem saved) {
  entries_.emplace_back();
  StoreItem(Count(), menu, position, std::move(saved));
  return Count();
}

void PopupItemTable::StoreItem(int entry, std::uintptr_t menu, int position, SavedMenuItem saved) {
  if (!Valid(entry)) return;
  PopupItemEntry& e = entries_[static_cast<std::size_t>(entry - 1)];
  e.menu = menu;
  e.position = position;
  e.text = SplitMenuItemText(saved.text);
  e.saved = std::move(saved);
}

void PopupItemTable::SetColumnWidths(std::uintptr_t menu, int captionWidth, int shortcutWidth) {
  for (PopupItemEntry& e : entries_) {
    if (e.menu != menu) continue;
    e.captionWidth = captionWidth;
    e.shortcutWidth = shortcutWidth;
  }
}

std::uint32_t PopupItemTable::MenuCharLookup(std::uintptr_t menu, wchar_t code) const {
  const wchar_t key = UpperAscii(code);
  if (key == 0) return 0;
  for (const PopupItemEntry& e : entries_)
    if (e.menu == menu && e.text.accessKey == key) return static_cast<std::uint32_t>(e.position) | kMenuCharExecute;
  return 0;
}

std::vector<PopupItemEntry> PopupItemTable::TakeAll() {
  std::vector<PopupItemEntry> all;
  all.swap(entries_);
  prepared_.clear();
  return all;
}

PopupItemSize MeasurePopupItem(const PopupItemEntry* entry, int textHeight) {
  if (!entry) return {30, textHeight + 8};
  PopupItemSize size;
  size.width = entry->shortcutWidth > 0 ? entry->captionWidth + entry->shortcutWidth + 38 : entry->captionWidth + 30;
  size.height = (entry->saved.type & kMenuItemSeparator) ? 6 : textHeight + 8;
  return size;
}

MenuRect PopupCheckBox(const MenuRect& item) {
  MenuRect box{item.left + 4, item.top + 4, item.right - 4, item.bottom - 4};
  box.left += 2;
  box.right = box.left + (box.bottom - box.top) + 1;
  return box;
}

MenuRect PopupSeparatorLine(const MenuRect& item) {
  const int top = item.top + (item.bottom - item.top - 2) / 2;
  return {item.left + 8, top, item.right - 8, top + 2};
}

MenuRect PopupCaptionRect(const MenuRect& item) { return {24, item.top, item.right, item.bottom}; }

MenuRect PopupShortcutRect(const MenuRect& item, int captionWidth) {
  return {24 + captionWidth + 8, item.top, item.right, item.bottom};
}

MenuRect PopupHighlightRect(const MenuRect& item) { return {item.left + 2, item.top, item.right - 2, item.bottom}; }

}  // namespace lumadex
