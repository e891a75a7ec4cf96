#include "app/album_markers.h"

#include <string>

#include <gtest/gtest.h>

namespace lumadex {
namespace {

const std::wstring kListPage =
    L"<html><div class=\"pager-top\">\u5171 3 \u5f20</div>"
    L"<ul><li class=\"photoPan\"><a href=\"http://h/getphoto.do?id=11&owner=2\"><img src=\"t1.jpg\"></a></li>"
    L"<li class=\"photoPan\"><span>\u5df2\u5220\u9664</span></li>"
    L"<li class=\"photoPan\"><a href=\"http://h/getphoto.do?id=13&owner=2\">3</a></li></ul>"
    L"<div class=\"pager-bottom\">1</div><p class=\"photoPan\">not a photo</p></html>";

TEST(PhotoList, ListRunsFromFirstEntryToTheBottomPager) {
  const auto list = CutPhotoList(kListPage);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->substr(0, 8), L"photoPan");
  EXPECT_EQ(list->find(L"pager-bottom"), std::wstring_view::npos);
  EXPECT_EQ(list->find(L"not a photo"), std::wstring_view::npos);
  EXPECT_NE(list->find(L"id=13"), std::wstring_view::npos);
}

TEST(PhotoList, EntriesKeepPageOrderAndEntriesWithoutLinksAreSkippable) {
  const auto list = CutPhotoList(kListPage);
  ASSERT_TRUE(list);
  const auto entries = SplitPhotoEntries(*list);
  ASSERT_EQ(entries.size(), 3u);

  const EntryLinkResult first = EntryLink(entries[0]);
  EXPECT_EQ(first.kind, EntryLinkKind::Link);
  EXPECT_EQ(first.link, L"http://h/getphoto.do?id=11&owner=2");
  EXPECT_EQ(EntryLink(entries[1]).kind, EntryLinkKind::NoLink);
  const EntryLinkResult third = EntryLink(entries[2]);
  EXPECT_EQ(third.kind, EntryLinkKind::Link);
  EXPECT_EQ(third.link, L"http://h/getphoto.do?id=13&owner=2");
}

TEST(PhotoList, MissingOrMisplacedMarkersGiveNoList) {
  EXPECT_FALSE(CutPhotoList(L""));
  EXPECT_FALSE(CutPhotoList(L"<li class=\"photoPan\">x</li>"));
  EXPECT_FALSE(CutPhotoList(L"<div class=\"pager-bottom\"></div>"));
  EXPECT_FALSE(CutPhotoList(L"pager-bottom photoPan a pager-bottom"));
  EXPECT_FALSE(CutPhotoList(L"<li class=\"PhotoPan\"></li><div class=\"pager-bottom\">"));
  const auto empty = CutPhotoList(L"photoPanpager-bottom");
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, L"photoPan");
}

TEST(PhotoList, SplittingSkipsTextBeforeTheFirstEntryAndKeepsEmptyOnes) {
  EXPECT_TRUE(SplitPhotoEntries(L"").empty());
  EXPECT_TRUE(SplitPhotoEntries(L"no entries here").empty());
  const auto entries = SplitPhotoEntries(L"lead photoPanA photoPanphotoPanC");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], L"A ");
  EXPECT_EQ(entries[1], L"");
  EXPECT_EQ(entries[2], L"C");
}

TEST(EntryLink, TakesTheFirstLinkAndFlagsOneThatNeverCloses) {
  const EntryLinkResult two = EntryLink(L"<a href=\"one\">1</a><a href=\"two\">2</a>");
  EXPECT_EQ(two.kind, EntryLinkKind::Link);
  EXPECT_EQ(two.link, L"one");
  EXPECT_EQ(EntryLink(L"<A HREF=\"one\">").kind, EntryLinkKind::NoLink);
  EXPECT_EQ(EntryLink(L"<a class=\"x\" href=\"one\">").kind, EntryLinkKind::NoLink);
  EXPECT_EQ(EntryLink(L"<a href=\"one").kind, EntryLinkKind::Error);
  // A close mark before the link does not close it.
  EXPECT_EQ(EntryLink(L"<b class=\"x\"><a href=\"one").kind, EntryLinkKind::Error);
  const EntryLinkResult empty = EntryLink(L"<a href=\"\">");
  EXPECT_EQ(empty.kind, EntryLinkKind::Link);
  EXPECT_EQ(empty.link, L"");
}

TEST(PhotoFileAddress, SourceOfThePhotoImageOnly) {
  const std::wstring page =
      L"<img src=\"logo.png\" title=\"logo\"><div><img id=\"photo\" src=\"http://h/photos/"
      L"\u5c0f\u732b.jpg\" title=\"cat\" /></div>";
  EXPECT_EQ(PhotoFileAddress(page), L"http://h/photos/\u5c0f\u732b.jpg");
  EXPECT_FALSE(PhotoFileAddress(L""));
  EXPECT_FALSE(PhotoFileAddress(L"<img src=\"a.jpg\" title=\"a\">"));
  EXPECT_FALSE(PhotoFileAddress(L"<img id=\"photo\" src=\"a.jpg\" alt=\"a\">"));
  EXPECT_FALSE(PhotoFileAddress(L"\" title=<img id=\"photo\" src=\"a.jpg\">"));
}

}  // namespace
}  // namespace lumadex
