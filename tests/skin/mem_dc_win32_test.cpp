#include "skin/mem_dc_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "skin/skin_test_windows_win32.h"

namespace lumadex {
namespace {

HBITMAP BitmapOf(const cMemDC& dc) {
  return dc.hDC() ? static_cast<HBITMAP>(GetCurrentObject(dc.hDC(), OBJ_BITMAP)) : nullptr;
}

SIZE BitmapSize(const cMemDC& dc) {
  BITMAP info{};
  GetObjectW(BitmapOf(dc), sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

TEST(MemDC, NoBitmapUntilBothSidesAreKnownThenOnlyGrows) {
  cMemDC dc;
  EXPECT_EQ(dc.hDC(), nullptr);
  dc.SetWidth(120);
  EXPECT_EQ(dc.Width(), 120);
  EXPECT_EQ(dc.hDC(), nullptr);  // a bitmap with a side of 0 is no bitmap
  dc.SetHeight(48);
  ASSERT_NE(dc.hDC(), nullptr);
  EXPECT_EQ(BitmapSize(dc).cx, 120);
  EXPECT_EQ(BitmapSize(dc).cy, 48);
  // A 32-bit DIB whatever the display's depth, so that pictures copied in stay exact.
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(BitmapOf(dc), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);

  const HBITMAP first = BitmapOf(dc);
  dc.SetWidth(100);
  dc.SetHeight(48);
  dc.SetWidth(0);
  EXPECT_EQ(BitmapOf(dc), first);  // smaller or equal: nothing re-created
  EXPECT_EQ(dc.Width(), 120);

  dc.SetHeight(60);
  EXPECT_EQ(dc.Width(), 120);
  EXPECT_EQ(dc.Height(), 60);
  EXPECT_EQ(BitmapSize(dc).cx, 120);
  EXPECT_EQ(BitmapSize(dc).cy, 60);
  EXPECT_EQ(GetObjectType(first), 0u);  // the old bitmap is gone, not leaked
}

TEST(MemDC, PictureIsCopiedAndEverythingIsDeletedWithTheObject) {
  test::TestPicture picture(70, 10, test::BorderPixel);
  HDC dcHandle = nullptr;
  HBITMAP bitmap = nullptr;
  {
    cMemDC dc;
    dc.CreateFromPicture(picture.get());
    EXPECT_EQ(dc.Width(), 70);
    EXPECT_EQ(dc.Height(), 10);
    ASSERT_NE(dc.hDC(), nullptr);
    for (int y : {0, 4, 9})
      for (int x : {0, 33, 69}) EXPECT_EQ(GetPixel(dc.hDC(), x, y), test::BorderPixel(x, y)) << x << "," << y;
    dcHandle = dc.hDC();
    bitmap = BitmapOf(dc);
  }
  EXPECT_EQ(GetObjectType(dcHandle), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  // The picture itself belongs to its owner and survives.
  EXPECT_EQ(GetObjectType(picture.get()), static_cast<DWORD>(OBJ_BITMAP));

  cMemDC none;
  none.CreateFromPicture(nullptr);
  EXPECT_EQ(none.Width(), 0);
  EXPECT_EQ(none.hDC(), nullptr);
}

}  // namespace
}  // namespace lumadex
