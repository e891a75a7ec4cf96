#include "app/photo_naming.h"

#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(PhotoNaming, FileNameIsTheLastPathPartWithItsQuery) {
  EXPECT_EQ(getFileName(L"http://h/photos/2008/a.jpg"), L"a.jpg");
  EXPECT_EQ(getFileName(L"http://h/photos/a.jpg?v=2"), L"a.jpg?v=2");
  EXPECT_EQ(getFileName(L"a.jpg"), L"a.jpg");
  EXPECT_EQ(getFileName(L"http://h/photos/"), L"");
  EXPECT_EQ(getFileName(L"http://h/p\\q.jpg"), L"p\\q.jpg");
}

TEST(PhotoNaming, WholeAlbumNumbersUpOrDown) {
  const std::wstring_view address = L"http://h/photos/own.jpg";
  EXPECT_EQ(PhotoFileName(DownloadMode::WholeAlbum, NamingScheme::Ascending, address, 0, 40), L"1.jpg");
  EXPECT_EQ(PhotoFileName(DownloadMode::WholeAlbum, NamingScheme::Ascending, address, 39, 40), L"40.jpg");
  EXPECT_EQ(PhotoFileName(DownloadMode::WholeAlbum, NamingScheme::Descending, address, 0, 40), L"40.jpg");
  EXPECT_EQ(PhotoFileName(DownloadMode::WholeAlbum, NamingScheme::Descending, address, 39, 40), L"1.jpg");
  EXPECT_EQ(PhotoFileName(DownloadMode::WholeAlbum, NamingScheme::OwnName, address, 5, 40), L"own.jpg");
}

TEST(PhotoNaming, NumberedNamesOfARunAreDistinct) {
  for (NamingScheme scheme : {NamingScheme::Ascending, NamingScheme::Descending}) {
    std::set<std::wstring> names;
    for (int done = 0; done < 40; ++done) {
      names.insert(PhotoFileName(DownloadMode::WholeAlbum, scheme, L"http://h/x.jpg", done, 40));
    }
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(names.count(L"1.jpg"), 1u);
    EXPECT_EQ(names.count(L"40.jpg"), 1u);
  }
}

TEST(PhotoNaming, OtherModesKeepTheSiteName) {
  for (DownloadMode mode : {DownloadMode::Newest, DownloadMode::PageRange}) {
    for (NamingScheme scheme : {NamingScheme::OwnName, NamingScheme::Ascending, NamingScheme::Descending}) {
      EXPECT_EQ(PhotoFileName(mode, scheme, L"http://h/photos/own.jpg", 3, 40), L"own.jpg");
    }
  }
}

TEST(SafeFileName, OrdinaryNamesAreKept) {
  for (const wchar_t* name : {L"a.jpg", L"40.jpg", L"\u5c0f\u732b.jpg", L".hidden", L" lead.jpg",
                              L"a b.jpg", L"console.jpg", L"com10.jpg", L"lpt.jpg", L"acon.jpg",
                              L"con_.jpg", L"nul_", L"a.jpg_v=2"}) {
    EXPECT_EQ(SafeFileName(name), name);
  }
}

// Each given name and the name it is saved under.
void ExpectSavedAs(std::initializer_list<std::pair<std::wstring, std::wstring>> cases) {
  for (const auto& [given, saved] : cases) EXPECT_EQ(SafeFileName(given), saved) << testing::PrintToString(given);
}

TEST(SafeFileName, ForbiddenCharactersBecomeUnderscores) {
  ExpectSavedAs({{L"a.jpg?v=2", L"a.jpg_v=2"}, {L"../evil.exe", L".._evil.exe"}, {L"C:evil.exe", L"C_evil.exe"},
                 {L"a.jpg:stream", L"a.jpg_stream"}});
  for (wchar_t c : std::wstring(L"\\/:*?\"<>|")) ExpectSavedAs({{std::wstring(L"a") + c + L"b", L"a_b"}});
  for (wchar_t c = 0; c < 0x20; ++c) ExpectSavedAs({{std::wstring(L"a") + c + L"b", L"a_b"}});
}

TEST(SafeFileName, TrailingDotsAndSpacesAndEmptyNames) {
  ExpectSavedAs({{L"a.jpg.", L"a.jpg_"}, {L"a.jpg . ", L"a.jpg___"}, {L"", L"_"}, {L".", L"_"}, {L"..", L"__"},
                 {L" . ", L"___"}});
}

TEST(SafeFileName, DeviceNamesGetAPrefix) {
  ExpectSavedAs({{L"con", L"_con"}, {L"CON.jpg", L"_CON.jpg"}, {L"nul.tar.gz", L"_nul.tar.gz"},
                 {L"Com1.jpg", L"_Com1.jpg"}, {L"lpt9", L"_lpt9"}, {L"aux .jpg", L"_aux .jpg"},
                 {L"COM\u00b9.jpg", L"_COM\u00b9.jpg"}, {L"prn.", L"_prn_"}, {L"conout$", L"_conout$"}});
}

TEST(SafeFileName, LongNamesAreShortenedKeepingTheExtension) {
  const std::wstring withExtension = SafeFileName(std::wstring(300, L'a') + L".jpg");
  EXPECT_EQ(withExtension, std::wstring(kMaxPhotoNameLength - 4, L'a') + L".jpg");

  EXPECT_EQ(SafeFileName(std::wstring(300, L'b')), std::wstring(kMaxPhotoNameLength, L'b'));

  // A "extension" that is mostly query text is not worth keeping whole.
  const std::wstring query = SafeFileName(L"a.jpg?v=" + std::wstring(300, L'x'));
  EXPECT_EQ(query.size(), kMaxPhotoNameLength);
  EXPECT_EQ(query.substr(0, 8), L"a.jpg_v=");

  // Where the cut leaves a dot at the end, it must not be dropped by Windows.
  const std::wstring cutAtDot = SafeFileName(std::wstring(199, L'c') + L". " + std::wstring(100, L'd'));
  EXPECT_EQ(cutAtDot, std::wstring(199, L'c') + L"_");

  EXPECT_EQ(SafeFileName(std::wstring(kMaxPhotoNameLength, L'e')).size(), kMaxPhotoNameLength);
}

TEST(SafeFileName, ShorteningCannotLeaveADeviceName) {
  // The device part only shows once the middle of the name is cut out for the extension.
  const std::wstring base = L"nul" + std::wstring(193, L' ');
  const std::wstring safe = SafeFileName(base + std::wstring(70, L'a') + L".jpg");
  EXPECT_EQ(safe, L"_" + base.substr(0, base.size() - 1) + L".jpg");
  EXPECT_EQ(safe.size(), kMaxPhotoNameLength);
  EXPECT_EQ(SafeFileName(safe), safe);

  const std::wstring com = SafeFileName(L"COM1" + std::wstring(250, L' ') + L"x.txt");
  EXPECT_EQ(com.substr(0, 5), L"_COM1");
  EXPECT_EQ(com.size(), kMaxPhotoNameLength);
}

TEST(SafeFileName, CutDoesNotSplitASurrogatePair) {
  // Built from UTF-16 units so the case is the same whatever the size of wchar_t.
  std::wstring name(kMaxPhotoNameLength - 5, L'a');
  name += static_cast<wchar_t>(0xD83D);
  name += static_cast<wchar_t>(0xDE00);
  name += std::wstring(100, L'b') + L".jpg";
  const std::wstring safe = SafeFileName(name);
  EXPECT_EQ(safe, std::wstring(kMaxPhotoNameLength - 5, L'a') + L".jpg");
}

TEST(SafeFileName, ResultIsSettledAndSafe) {
  const std::vector<std::wstring> awkward = {
      L"", L".", L"...", L"con", L"con.", L"con . jpg", L"a.jpg?v=2", L"..\\..\\evil.exe",
      std::wstring(300, L'.'), L"con." + std::wstring(300, L'x'),
      std::wstring(198, L'z') + L"con.jpg", std::wstring(250, L' ') + L".jpg",
      L"\u5c0f\u732b" + std::wstring(250, L'?') + L".gif"};
  for (const std::wstring& name : awkward) {
    const std::wstring safe = SafeFileName(name);
    EXPECT_EQ(SafeFileName(safe), safe) << testing::PrintToString(name);
    EXPECT_FALSE(safe.empty());
    EXPECT_LE(safe.size(), kMaxPhotoNameLength);
    EXPECT_EQ(safe.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos);
    EXPECT_NE(safe.back(), L'.');
    EXPECT_NE(safe.back(), L' ');
  }
}

TEST(PhotoPath, SafeNameGoesDirectlyIntoTheFolder) {
  EXPECT_EQ(PhotoPath(L"C:\\Photos", L"a.jpg"), L"C:\\Photos\\a.jpg");
  EXPECT_EQ(PhotoPath(L"C:\\", L"a.jpg"), L"C:\\\\a.jpg");
  EXPECT_EQ(PhotoPath(L"D:\\\u76f8\u518c", L"1.jpg"), L"D:\\\u76f8\u518c\\1.jpg");
}

TEST(PhotoPath, NamesThatWereNotMadeSafeAreRefused) {
  for (const std::wstring& name :
       {std::wstring(L""), std::wstring(L"."), std::wstring(L".."), std::wstring(L"..\\evil.exe"),
        std::wstring(L"sub/a.jpg"), std::wstring(L"C:a.jpg"), std::wstring(L"con.jpg"),
        std::wstring(L"a.jpg "), std::wstring(300, L'a')}) {
    EXPECT_FALSE(PhotoPath(L"C:\\Photos", name)) << testing::PrintToString(name);
  }
  EXPECT_FALSE(PhotoPath(L"", L"a.jpg"));
}

}  // namespace
}  // namespace lumadex
