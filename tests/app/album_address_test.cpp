#include "app/album_address.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(AlbumAddress, SiteAddressGivesIdOwnerAndPages) {
  const auto album = ParseAlbumAddress(L"http://photo.example/getalbum.do?id=1002&owner=222300001");
  ASSERT_TRUE(album);
  EXPECT_EQ(album->id, L"1002");
  EXPECT_EQ(album->owner, L"222300001");
  EXPECT_EQ(FirstPageAddress(L"127.0.0.1:8080", *album),
            L"http://127.0.0.1:8080/getalbum.do?id=1002&owner=222300001");
  // The site counts its pages from 0.
  EXPECT_EQ(PageAddress(L"127.0.0.1:8080", 1, *album),
            L"http://127.0.0.1:8080/getalbum.do?curpage=0&id=1002&owner=222300001");
  EXPECT_EQ(PageAddress(L"127.0.0.1:8080", 3, *album),
            L"http://127.0.0.1:8080/getalbum.do?curpage=2&id=1002&owner=222300001");
}

TEST(AlbumAddress, OwnerRunsToTheEndAndIdStartsAtTheFirstIdKey) {
  auto album = ParseAlbumAddress(L"http://h/getalbum.do?id=5&owner=7&from=home");
  ASSERT_TRUE(album);
  EXPECT_EQ(album->id, L"5");
  EXPECT_EQ(album->owner, L"7&from=home");

  // "id=" inside a longer key is still the first one.
  album = ParseAlbumAddress(L"http://h/getalbum.do?albumid=9&owner=1");
  ASSERT_TRUE(album);
  EXPECT_EQ(album->id, L"9");
  album = ParseAlbumAddress(L"http://h/getalbum.do?uid=3&id=4&owner=1");
  ASSERT_TRUE(album);
  EXPECT_EQ(album->id, L"3&id=4");

  album = ParseAlbumAddress(L"id=&owner=");
  ASSERT_TRUE(album);
  EXPECT_EQ(album->id, L"");
  EXPECT_EQ(album->owner, L"");
}

TEST(AlbumAddress, AddressWithoutBothKeysInOrderIsRefused) {
  EXPECT_FALSE(ParseAlbumAddress(L""));
  EXPECT_FALSE(ParseAlbumAddress(L"http://h/getalbum.do?id=1002"));
  EXPECT_FALSE(ParseAlbumAddress(L"http://h/getalbum.do?owner=1&id=2"));  // no "&owner="
  EXPECT_FALSE(ParseAlbumAddress(L"http://h/getalbum.do?a=1&owner=2&id=3"));
  EXPECT_FALSE(ParseAlbumAddress(L"http://h/getalbum.do?ID=1&owner=2"));  // keys are case-sensitive
}

TEST(AlbumAddress, SpacesAroundIdAndOwnerStayOutOfTheRequest) {
  const auto album = ParseAlbumAddress(L"  http://h/getalbum.do?id= 1002 &owner= 222300001  ");
  ASSERT_TRUE(album);
  EXPECT_EQ(FirstPageAddress(L"h", *album), L"http://h/getalbum.do?id=1002&owner=222300001");
  EXPECT_EQ(PageAddress(L"h", 2, *album), L"http://h/getalbum.do?curpage=1&id=1002&owner=222300001");

  const AlbumAddress blank{L"   ", L" "};
  EXPECT_EQ(FirstPageAddress(L"h", blank), L"http://h/getalbum.do?id=&owner=");
}

}  // namespace
}  // namespace lumadex
