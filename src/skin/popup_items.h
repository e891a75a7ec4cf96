// The owner-drawn popup items of a skinned window. Just before a popup shows, each of its
// items is made owner-drawn and what it really was is kept here, so that it can be
// measured and drawn in the skin's colours and given back exactly when menu mode ends.
// Menus are kept as opaque handle values; nothing here calls the platform.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/menu_item_text.h"
#include "skin/menu_strip.h"

namespace lumadex {

// What an item was before it was changed: the fields the platform's item record carries.
struct SavedMenuItem {
  std::uint32_t mask = 0;
  std::uint32_t type = 0;
  std::uint32_t state = 0;
  std::uint32_t id = 0;
  std::uintptr_t subMenu = 0;
  std::uintptr_t checkedBitmap = 0;
  std::uintptr_t uncheckedBitmap = 0;
  std::uintptr_t itemData = 0;
  std::wstring text;
};

struct PopupItemEntry {
  std::uintptr_t menu = 0;
  int position = 0;
  SavedMenuItem saved;
  MenuItemText text;
  int captionWidth = 0;   // widest caption of the entry's popup, as measured + 1
  int shortcutWidth = 0;  // widest shortcut of the popup, as measured + 1; 0 when none
};

class PopupItemTable {
 public:
  // True when the menu was already prepared in this menu mode; otherwise notes it.
  bool RememberMenu(std::uintptr_t menu);

  // Entry numbers run from 1; 0 means "not there".
  int FindItem(std::uintptr_t menu, int position) const;
  int FindItemById(std::uint32_t id) const;
  int AddItem(std::uintptr_t menu, int position, SavedMenuItem saved);
  void StoreItem(int entry, std::uintptr_t menu, int position, SavedMenuItem saved);
  bool Valid(int entry) const { return entry >= 1 && entry <= Count(); }
  const PopupItemEntry& At(int entry) const { return entries_.at(static_cast<std::size_t>(entry - 1)); }
  int Count() const { return static_cast<int>(entries_.size()); }

  // Gives every entry of the menu the column widths measured for the whole popup.
  void SetColumnWidths(std::uintptr_t menu, int captionWidth, int shortcutWidth);

  // The WM_MENUCHAR answer for a typed character: the item's position with "execute" in the
  // high word, or 0 when no item of the menu has that access key.
  std::uint32_t MenuCharLookup(std::uintptr_t menu, wchar_t code) const;

  // Hands back every saved item, to be written back to its menu, and empties the table and
  // the list of prepared menus.
  std::vector<PopupItemEntry> TakeAll();

  int textHeight = 0;  // height of the last measured text + 1

 private:
  std::vector<PopupItemEntry> entries_;
  std::vector<std::uintptr_t> prepared_;
};

// Item sizes and places inside an owner-drawn popup item.
struct PopupItemSize {
  int width = 0, height = 0;
};

// The size to answer WM_MEASUREITEM with. An entry the table does not know (entry nullptr)
// still gets a usable size: a plain item as wide as the margins and one text line high.
PopupItemSize MeasurePopupItem(const PopupItemEntry* entry, int textHeight);

// Places inside the item rectangle moved to the origin (right and bottom are its width and
// height).
MenuRect PopupCheckBox(const MenuRect& item);
MenuRect PopupSeparatorLine(const MenuRect& item);
MenuRect PopupCaptionRect(const MenuRect& item);
MenuRect PopupShortcutRect(const MenuRect& item, int captionWidth);
MenuRect PopupHighlightRect(const MenuRect& item);

inline constexpr std::uint32_t kMenuItemSeparator = 0x800;
inline constexpr std::uint32_t kMenuCharExecute = 0x20000;

}  // namespace lumadex
