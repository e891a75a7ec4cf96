#include <gtest/gtest.h>

#include "skin/menu_item_text.h"
#include "skin/menu_strip.h"
#include "skin/popup_items.h"

namespace lumadex {
namespace {

TEST(MenuItemText, SplitsAtTheFirstTabAndFindsTheAccessKey) {
  MenuItemText t = SplitMenuItemText(L"&Open...\tCtrl+O\tx");
  EXPECT_EQ(t.caption, L"&Open...");
  EXPECT_EQ(t.shortcut, L"Ctrl+O\tx");
  EXPECT_EQ(t.accessKey, L'O');

  t = SplitMenuItemText(L"sa&ve");
  EXPECT_EQ(t.shortcut, L"");
  EXPECT_EQ(t.accessKey, L'V');
  EXPECT_EQ(SplitMenuItemText(L"").accessKey, 0);
}

TEST(MenuItemText, AnAmpersandThatMarksNothingGivesNoKey) {
  EXPECT_EQ(AccessKeyOf(L"Save&"), 0);        // nothing after it
  EXPECT_EQ(AccessKeyOf(L"Fish && Chips"), 0);  // a literal ampersand
  EXPECT_EQ(AccessKeyOf(L"A&&B &Copy"), L'C');  // the first real mark counts
  EXPECT_EQ(AccessKeyOf(L"文件(&F)"), L'F');
  // The key of a caption is read from the caption only, never from the shortcut.
  EXPECT_EQ(SplitMenuItemText(L"Print\tCtrl+&P").accessKey, 0);
}

std::vector<TopLevelMenuItem> FileEditMenu() {
  return {{L"Run!", false}, {L"&File", true}, {L"&Edit", true}, {L"&Help", false}, {L"&View", true}};
}

MenuTextSize FixedWidth20(std::wstring_view) { return {20, 13}; }

TEST(MenuStrip, ShowsOnlyPopupItemsEachElevenPixelsAfterTheLast) {
  const auto strip = LayoutMenuStrip(FileEditMenu(), FixedWidth20, 0, 0);
  ASSERT_EQ(strip.size(), 3u);
  EXPECT_EQ(strip[0].position, 1);
  EXPECT_EQ(strip[1].position, 2);
  EXPECT_EQ(strip[2].position, 4);
  EXPECT_EQ(strip[0].textRect, (MenuRect{8, 2, 28, 15}));
  EXPECT_EQ(strip[1].textRect.left, 8 + 20 + 11);
  // The frame is the text grown by two pixels on every side: x 6 to 30 for the first item.
  EXPECT_EQ(strip[0].frameRect, (MenuRect{6, 0, 30, 17}));
}

TEST(MenuStrip, StoredRectanglesFollowTheStripPlaceAndWidthsOfTheirOwnText) {
  auto measure = [](std::wstring_view text) { return MenuTextSize{static_cast<int>(text.size()) * 7, 12}; };
  const auto strip = LayoutMenuStrip(FileEditMenu(), measure, 8, -22);
  ASSERT_EQ(strip.size(), 3u);
  EXPECT_EQ(strip[0].storedRect, (MenuRect{6 + 8, 0 - 22, 8 + 35 + 2 + 8, 16 - 22}));
  EXPECT_EQ(strip[1].textRect.left, 8 + 35 + 11);
  EXPECT_EQ(HitTestStrip(strip, 14, -22), 1);
  EXPECT_EQ(HitTestStrip(strip, 8 + 45, -22), 0);  // right edge is outside
  EXPECT_EQ(HitTestStrip(strip, strip[2].storedRect.left, -15), 3);
  EXPECT_EQ(HitTestStrip({}, 0, 0), 0);
}

TEST(MenuStrip, LookDependsOnPressedAndHoverItems) {
  const StripItemLook plain = LookOfStripItem(2, 0, 0);
  EXPECT_FALSE(plain.hotText);
  EXPECT_EQ(plain.edge, StripEdge::None);
  const StripItemLook hot = LookOfStripItem(2, -1, 2);
  EXPECT_TRUE(hot.hotText);
  EXPECT_EQ(hot.edge, StripEdge::RaisedInner);
  EXPECT_EQ(hot.textShift, 0);
  const StripItemLook open = LookOfStripItem(2, 2, 2);
  EXPECT_EQ(open.edge, StripEdge::SunkenOuter);
  EXPECT_EQ(open.textShift, 1);
  const StripItemLook pressedAway = LookOfStripItem(2, 2, 1);
  EXPECT_TRUE(pressedAway.hotText);
  EXPECT_EQ(pressedAway.edge, StripEdge::RaisedInner);
}

TEST(MenuStrip, NeighboursWrapAtBothEnds) {
  EXPECT_EQ(NeighbourStripItem(1, 3, -1), 3);
  EXPECT_EQ(NeighbourStripItem(3, 3, +1), 1);
  EXPECT_EQ(NeighbourStripItem(2, 3, +1), 3);
  EXPECT_EQ(NeighbourStripItem(1, 1, +1), 1);
  EXPECT_EQ(NeighbourStripItem(1, 0, +1), 0);
}

TEST(MenuStrip, AccessKeysAnswerWithTheNumberTheStripShows) {
  // "&File" is the second top-level item but the first the strip shows.
  EXPECT_EQ(StripItemsForAccessKey(FileEditMenu(), 'F'), std::vector<int>{1});
  EXPECT_EQ(StripItemsForAccessKey(FileEditMenu(), 'V'), std::vector<int>{3});
  // A command item is not on the strip, so its key opens nothing.
  EXPECT_TRUE(StripItemsForAccessKey(FileEditMenu(), 'H').empty());
  EXPECT_TRUE(StripItemsForAccessKey(FileEditMenu(), 'Q').empty());
  EXPECT_TRUE(StripItemsForAccessKey({}, 'F').empty());
}

SavedMenuItem Item(std::uint32_t id, std::wstring text, std::uint32_t type = 0) {
  SavedMenuItem s;
  s.id = id;
  s.type = type;
  s.text = std::move(text);
  s.itemData = 0xABCD;
  return s;
}

TEST(PopupItemTable, EntriesAreFoundByPlaceAndIdAndGivenBackWhole) {
  PopupItemTable table;
  EXPECT_FALSE(table.RememberMenu(0x10));
  EXPECT_TRUE(table.RememberMenu(0x10));
  const int open = table.AddItem(0x10, 0, Item(101, L"&Open\tCtrl+O"));
  const int sep = table.AddItem(0x10, 1, Item(0, L"", kMenuItemSeparator));
  const int other = table.AddItem(0x20, 0, Item(201, L"&Copy"));
  EXPECT_EQ(open, 1);
  EXPECT_EQ(table.FindItem(0x10, 1), sep);
  EXPECT_EQ(table.FindItem(0x20, 0), other);
  EXPECT_EQ(table.FindItem(0x20, 1), 0);
  EXPECT_EQ(table.FindItemById(201), other);
  EXPECT_EQ(table.At(open).text.shortcut, L"Ctrl+O");

  table.StoreItem(99, 0x10, 0, Item(1, L"x"));  // outside the table: ignored
  EXPECT_EQ(table.Count(), 3);

  const auto all = table.TakeAll();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].saved.text, L"&Open\tCtrl+O");
  EXPECT_EQ(all[0].saved.itemData, 0xABCDu);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_FALSE(table.RememberMenu(0x10));  // the prepared list went with the entries
}

TEST(PopupItemTable, MenuCharExecutesTheItemOfThatMenuOnly) {
  PopupItemTable table;
  table.AddItem(0x10, 0, Item(101, L"&Open"));
  table.AddItem(0x10, 2, Item(102, L"&Save"));
  table.AddItem(0x20, 4, Item(201, L"&Select all"));
  EXPECT_EQ(table.MenuCharLookup(0x10, L's'), 2u | kMenuCharExecute);
  EXPECT_EQ(table.MenuCharLookup(0x20, L'S'), 4u | kMenuCharExecute);
  EXPECT_EQ(table.MenuCharLookup(0x10, L'x'), 0u);
  EXPECT_EQ(table.MenuCharLookup(0x30, L'o'), 0u);
}

TEST(PopupItemMetrics, SizesFollowTheColumnsOfTheWholePopup) {
  PopupItemTable table;
  const int a = table.AddItem(0x10, 0, Item(1, L"&Open\tCtrl+O"));
  const int b = table.AddItem(0x10, 1, Item(0, L"", kMenuItemSeparator));
  const int c = table.AddItem(0x20, 0, Item(2, L"Plain"));
  table.SetColumnWidths(0x10, 41, 37);
  table.SetColumnWidths(0x20, 33, 0);
  EXPECT_EQ(MeasurePopupItem(&table.At(a), 14).width, 41 + 37 + 38);
  EXPECT_EQ(MeasurePopupItem(&table.At(a), 14).height, 22);
  EXPECT_EQ(MeasurePopupItem(&table.At(b), 14).height, 6);
  EXPECT_EQ(MeasurePopupItem(&table.At(c), 14).width, 33 + 30);
  const PopupItemSize unknown = MeasurePopupItem(nullptr, 14);
  EXPECT_GT(unknown.width, 0);
  EXPECT_EQ(unknown.height, 22);
}

TEST(PopupItemMetrics, PlacesInsideAnItem) {
  const MenuRect item{0, 0, 120, 22};
  EXPECT_EQ(PopupCheckBox(item), (MenuRect{6, 4, 6 + 14 + 1, 18}));
  EXPECT_EQ(PopupSeparatorLine(MenuRect{0, 0, 120, 6}), (MenuRect{8, 2, 112, 4}));
  EXPECT_EQ(PopupSeparatorLine(MenuRect{0, 0, 120, 7}).top, 2);
  EXPECT_EQ(PopupCaptionRect(item).left, 24);
  EXPECT_EQ(PopupShortcutRect(item, 41).left, 24 + 41 + 8);
  EXPECT_EQ(PopupHighlightRect(item), (MenuRect{2, 0, 118, 22}));
}

}  // namespace
}  // namespace lumadex
