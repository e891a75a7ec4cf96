#include "app/extended_path.h"

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(ExtendedLengthPath, DrivePathsGetThePrefix) {
  EXPECT_EQ(ExtendedLengthPath(L"C:\\photos\\1.jpg"), L"\\\\?\\C:\\photos\\1.jpg");
  EXPECT_EQ(ExtendedLengthPath(L"d:\\"), L"\\\\?\\d:\\");
  const std::wstring deep = L"C:\\" + std::wstring(300, L'x') + L"\\1.jpg";
  EXPECT_EQ(ExtendedLengthPath(deep), L"\\\\?\\" + deep);
}

TEST(ExtendedLengthPath, NetworkPathsTakeTheUncForm) {
  EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\a.jpg"), L"\\\\?\\UNC\\server\\share\\a.jpg");
}

TEST(ExtendedLengthPath, PrefixedRelativeAndOddPathsStayAsTheyAre) {
  for (const wchar_t* path : {L"\\\\?\\C:\\a", L"\\\\?\\UNC\\s\\x", L"\\\\.\\COM1", L"photos\\a.jpg", L"C:a.jpg",
                              L"\\photos", L"\\\\\\x", L"\\\\", L"", L"1:\\x"}) {
    EXPECT_EQ(ExtendedLengthPath(path), path);
  }
}

}  // namespace
}  // namespace lumadex
