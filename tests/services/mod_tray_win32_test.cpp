#include "services/mod_tray_win32.h"

#include <gtest/gtest.h>

#include "support/owner_window_win32.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "services/ansi_win32.h"

namespace lumadex {
namespace {

namespace fs = std::filesystem;

// The record as RemoveTrayIcon sends it before anything has been added, taken while the
// program starts, before any test (of this file or another) has touched the icon.
const NOTIFYICONDATAA g_removedBeforeAdd = [] {
  RemoveTrayIcon();
  return TrayRecordForTesting();
}();

using test::OwnerWindow;

// The tray picture ships beside the program; a test run straight from the build tree finds
// it in the sources.
fs::path TrayIconFile() {
  wchar_t module[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, module, static_cast<DWORD>(std::size(module)));
  const fs::path folder = fs::path(module).parent_path();
  if (fs::exists(folder / "AppTray.ico")) return folder / "AppTray.ico";
  for (fs::path up = folder; up.has_relative_path(); up = up.parent_path()) {
    const fs::path candidate = up / "src" / "resources" / "AppTray.ico";
    if (fs::exists(candidate)) return candidate;
  }
  return {};
}

std::string Tip() { return TrayRecordForTesting().szTip; }
std::string Ansi(const std::wstring& text) { return WideToAnsi(text); }

std::wstring RepeatW(const std::wstring& piece, size_t count) {
  std::wstring out;
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

const std::wstring kAlbum = L"\u76f8\u518c";  // 相册

TEST(ModTray, RemoveBeforeAnyAddSendsAZeroedRecord) {
  EXPECT_EQ(g_removedBeforeAdd.cbSize, 0u);
  EXPECT_EQ(g_removedBeforeAdd.hWnd, nullptr);
  EXPECT_EQ(g_removedBeforeAdd.uID, 0u);
  EXPECT_EQ(g_removedBeforeAdd.hIcon, nullptr);
}

TEST(ModTray, AddFillsTheRecordAndLoadsTheTrayPicture) {
  const fs::path icon = TrayIconFile();
  ASSERT_FALSE(icon.empty()) << "AppTray.ico is neither beside the tests nor in the sources";
  OwnerWindow owner;
  AddTrayIcon(owner.get(), icon.wstring(), kAlbum + L"\u4e0b\u8f7d 1.0");
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAA_V2_SIZE);
#if !defined(_WIN64)
  EXPECT_EQ(record.cbSize, 488u);
#endif
  EXPECT_EQ(record.hWnd, owner.get());
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(Tip(), "\xcf\xe0\xb2\xe1\xcf\xc2\xd4\xd8 1.0");
  EXPECT_EQ(record.uTimeout, 0u);
  ASSERT_NE(record.hIcon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(record.hIcon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  RemoveTrayIcon();
  // Removing keeps the record as it was, picture included.
  EXPECT_EQ(TrayRecordForTesting().hWnd, owner.get());
  EXPECT_NE(TrayRecordForTesting().hIcon, nullptr);
}

TEST(ModTray, PicturesAreReadFromAnsiPaths) {
  const fs::path icon = TrayIconFile();
  ASSERT_FALSE(icon.empty());
  const fs::path folder = fs::temp_directory_path() / (L"lumadex-" + kAlbum);
  fs::create_directories(folder);
  const fs::path copy = folder / (kAlbum + L".ico");
  fs::copy_file(icon, copy, fs::copy_options::overwrite_existing);
  OwnerWindow owner;
  AddTrayIcon(owner.get(), copy.wstring(), L"tip");
  EXPECT_NE(TrayRecordForTesting().hIcon, nullptr);
  RemoveTrayIcon();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

TEST(ModTray, MissingPictureAddsTheIconWithoutOne) {
  OwnerWindow owner;
  AddTrayIcon(owner.get(), L"C:\\no such folder\\none.ico", L"tip");
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(record.hIcon, nullptr);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.hWnd, owner.get());
  EXPECT_EQ(Tip(), "tip");
  RemoveTrayIcon();
}

TEST(ModTray, TipsAreCutWithoutSplittingCharacters) {
  OwnerWindow owner;
  AddTrayIcon(owner.get(), TrayIconFile().wstring(), std::wstring(200, L'x'));
  EXPECT_EQ(Tip(), std::string(127, 'x'));
  SetTrayTip(owner.get(), RepeatW(kAlbum, 40));  // 80 characters, 160 bytes
  EXPECT_EQ(Tip(), Ansi(RepeatW(kAlbum, 31) + L"\u76f8"));
  SetTrayTip(owner.get(), L"a" + RepeatW(kAlbum, 40));
  EXPECT_EQ(Tip(), Ansi(L"a" + RepeatW(kAlbum, 31) + L"\u76f8"));
  EXPECT_EQ(Tip().size(), 127u);
  RemoveTrayIcon();
}

TEST(ModTray, SetTipSendsIconAndCallbackAgain) {
  OwnerWindow owner;
  AddTrayIcon(owner.get(), TrayIconFile().wstring(), L"first");
  const HICON icon = TrayRecordForTesting().hIcon;
  ShowTrayBalloon(owner.get(), L"text", L"title", NIIF_INFO);
  SetTrayTip(owner.get(), L"second");
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(Tip(), "second");
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(record.uCallbackMessage, 0x200u);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAA_V2_SIZE);
  RemoveTrayIcon();
}

TEST(ModTray, BalloonLeavesTipAndPictureAlone) {
  OwnerWindow owner;
  AddTrayIcon(owner.get(), TrayIconFile().wstring(), L"tip stays");
  const HICON icon = TrayRecordForTesting().hIcon;
  ShowTrayBalloon(owner.get(), kAlbum + L" done", L"Lumadex", NIIF_WARNING);
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(std::string(record.szInfoTitle), "Lumadex");
  EXPECT_EQ(std::string(record.szInfo), Ansi(kAlbum + L" done"));
  EXPECT_EQ(Tip(), "tip stays");
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(record.uTimeout, 0u);
  EXPECT_EQ(record.hWnd, owner.get());

  // Title 64 bytes, text 256: 31 and 127 Chinese characters.
  ShowTrayBalloon(owner.get(), RepeatW(kAlbum, 100), RepeatW(kAlbum, 20), NIIF_ERROR);
  EXPECT_EQ(std::string(record.szInfoTitle), Ansi(RepeatW(kAlbum, 15) + L"\u76f8"));
  EXPECT_EQ(std::string(record.szInfo), Ansi(RepeatW(kAlbum, 63) + L"\u76f8"));
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
  RemoveTrayIcon();
}

TEST(ModTray, LaterAddTakesTheNewOwnerAndPicture) {
  OwnerWindow first;
  OwnerWindow second;
  AddTrayIcon(first.get(), L"C:\\missing.ico", L"one");
  RemoveTrayIcon();
  AddTrayIcon(second.get(), TrayIconFile().wstring(), L"two");
  EXPECT_EQ(TrayRecordForTesting().hWnd, second.get());
  EXPECT_NE(TrayRecordForTesting().hIcon, nullptr);
  RemoveTrayIcon();
}

}  // namespace
}  // namespace lumadex
