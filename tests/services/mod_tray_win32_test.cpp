#include "services/mod_tray_win32.h"

#include <gtest/gtest.h>

#include "support/owner_window_win32.h"
#include "support/tray_recorder_win32.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "services/ansi_win32.h"

namespace lumadex {
namespace {

namespace fs = std::filesystem;

// What RemoveTrayIcon sends before anything has been added, taken while the program starts,
// before any test (of this file or another) has touched the icon.
const test::TrayCall g_removedBeforeAdd = [] {
  test::TrayRecorder shell;
  RemoveTrayIcon();
  return shell.last();
}();

using test::OwnerWindow;
using test::TrayRecorder;

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

std::string Ansi(const std::wstring& text) { return WideToAnsi(text); }

std::wstring RepeatW(const std::wstring& piece, size_t count) {
  std::wstring out;
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

const std::wstring kAlbum = L"\u76f8\u518c";  // 相册

TEST(ModTray, RemoveBeforeAnyAddSendsAZeroedRecord) {
  EXPECT_EQ(g_removedBeforeAdd.message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(g_removedBeforeAdd.record.cbSize, 0u);
  EXPECT_EQ(g_removedBeforeAdd.record.hWnd, nullptr);
  EXPECT_EQ(g_removedBeforeAdd.record.uID, 0u);
  EXPECT_EQ(g_removedBeforeAdd.record.hIcon, nullptr);
}

TEST(ModTray, AddSendsTheFilledRecordWithTheTrayPicture) {
  const fs::path icon = TrayIconFile();
  ASSERT_FALSE(icon.empty()) << "AppTray.ico is neither beside the tests nor in the sources";
  OwnerWindow owner;
  TrayRecorder shell;
  AddTrayIcon(owner.get(), icon.wstring(), kAlbum + L"\u4e0b\u8f7d 1.0");
  ASSERT_EQ(shell.calls().size(), 1u);
  const test::TrayCall add = shell.last();
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.record.cbSize, NOTIFYICONDATAA_V2_SIZE);
#if !defined(_WIN64)
  EXPECT_EQ(add.record.cbSize, 488u);
#endif
  EXPECT_EQ(add.record.hWnd, owner.get());
  EXPECT_EQ(add.record.uID, 1u);
  EXPECT_EQ(add.record.uFlags, 7u);
  EXPECT_EQ(add.record.uCallbackMessage, 0x200u);
  EXPECT_EQ(add.tip(), "\xcf\xe0\xb2\xe1\xcf\xc2\xd4\xd8 1.0");
  EXPECT_EQ(add.record.uTimeout, 0u);
  ASSERT_NE(add.record.hIcon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(add.record.hIcon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  // Removing sends the record as it was, picture included.
  RemoveTrayIcon();
  ASSERT_EQ(shell.calls().size(), 2u);
  EXPECT_EQ(shell.last().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell.last().record.hWnd, owner.get());
  EXPECT_EQ(shell.last().record.uID, 1u);
  EXPECT_EQ(shell.last().record.hIcon, add.record.hIcon);
}

TEST(ModTray, PicturesAreReadFromAnsiPaths) {
  const fs::path icon = TrayIconFile();
  ASSERT_FALSE(icon.empty());
  const fs::path folder = fs::temp_directory_path() / (L"lumadex-" + kAlbum);
  fs::create_directories(folder);
  const fs::path copy = folder / (kAlbum + L".ico");
  fs::copy_file(icon, copy, fs::copy_options::overwrite_existing);
  OwnerWindow owner;
  TrayRecorder shell;
  AddTrayIcon(owner.get(), copy.wstring(), L"tip");
  EXPECT_NE(shell.last().record.hIcon, nullptr);
  RemoveTrayIcon();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

TEST(ModTray, MissingPictureAddsTheIconWithoutOne) {
  OwnerWindow owner;
  TrayRecorder shell;
  AddTrayIcon(owner.get(), L"C:\\no such folder\\none.ico", L"tip");
  const test::TrayCall add = shell.last();
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.record.hIcon, nullptr);
  EXPECT_EQ(add.record.uFlags, 7u);
  EXPECT_EQ(add.record.hWnd, owner.get());
  EXPECT_EQ(add.tip(), "tip");
  RemoveTrayIcon();
}

TEST(ModTray, TipsAreCutWithoutSplittingCharacters) {
  OwnerWindow owner;
  TrayRecorder shell;
  AddTrayIcon(owner.get(), TrayIconFile().wstring(), std::wstring(200, L'x'));
  EXPECT_EQ(shell.last().tip(), std::string(127, 'x'));
  SetTrayTip(owner.get(), RepeatW(kAlbum, 40));  // 80 characters, 160 bytes
  EXPECT_EQ(shell.last().tip(), Ansi(RepeatW(kAlbum, 31) + L"\u76f8"));
  SetTrayTip(owner.get(), L"a" + RepeatW(kAlbum, 40));
  EXPECT_EQ(shell.last().tip(), Ansi(L"a" + RepeatW(kAlbum, 31) + L"\u76f8"));
  EXPECT_EQ(shell.last().tip().size(), 127u);
  RemoveTrayIcon();
}

// An icon in the notification area for a window of its own, with every call to the shell kept.
class ModTrayIcon : public testing::Test {
 protected:
  void SetUp() override {
    AddTrayIcon(owner_.get(), TrayIconFile().wstring(), L"tip stays");
    icon_ = shell_.last().record.hIcon;
  }
  void TearDown() override { RemoveTrayIcon(); }

  OwnerWindow owner_;
  TrayRecorder shell_;
  HICON icon_ = nullptr;
};

TEST_F(ModTrayIcon, SetTipSendsIconAndCallbackAgain) {
  ShowTrayBalloon(owner_.get(), L"text", L"title", NIIF_INFO);
  SetTrayTip(owner_.get(), L"second");
  const test::TrayCall tip = shell_.last();
  EXPECT_EQ(tip.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(tip.tip(), "second");
  EXPECT_EQ(tip.record.uFlags, 7u);
  EXPECT_EQ(tip.record.hIcon, icon_);
  EXPECT_EQ(tip.record.uCallbackMessage, 0x200u);
  EXPECT_EQ(tip.record.uID, 1u);
  EXPECT_EQ(tip.record.cbSize, NOTIFYICONDATAA_V2_SIZE);
}

TEST_F(ModTrayIcon, BalloonLeavesTipAndPictureAlone) {
  ShowTrayBalloon(owner_.get(), kAlbum + L" done", L"Lumadex", NIIF_WARNING);
  const test::TrayCall balloon = shell_.last();
  EXPECT_EQ(balloon.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(balloon.record.uFlags, 16u);
  EXPECT_EQ(balloon.record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(balloon.title(), "Lumadex");
  EXPECT_EQ(balloon.info(), Ansi(kAlbum + L" done"));
  EXPECT_EQ(balloon.tip(), "tip stays");
  EXPECT_EQ(balloon.record.hIcon, icon_);
  EXPECT_EQ(balloon.record.uTimeout, 0u);
  EXPECT_EQ(balloon.record.hWnd, owner_.get());
  EXPECT_EQ(balloon.record.uID, 1u);

  // Title 64 bytes, text 256: 31 and 127 Chinese characters.
  ShowTrayBalloon(owner_.get(), RepeatW(kAlbum, 100), RepeatW(kAlbum, 20), NIIF_ERROR);
  EXPECT_EQ(shell_.last().title(), Ansi(RepeatW(kAlbum, 15) + L"\u76f8"));
  EXPECT_EQ(shell_.last().info(), Ansi(RepeatW(kAlbum, 63) + L"\u76f8"));
  EXPECT_EQ(shell_.last().record.dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
}

TEST(ModTray, LaterAddTakesTheNewOwnerAndPicture) {
  OwnerWindow first;
  OwnerWindow second;
  TrayRecorder shell;
  AddTrayIcon(first.get(), L"C:\\missing.ico", L"one");
  RemoveTrayIcon();
  AddTrayIcon(second.get(), TrayIconFile().wstring(), L"two");
  EXPECT_EQ(shell.last().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell.last().record.hWnd, second.get());
  EXPECT_NE(shell.last().record.hIcon, nullptr);
  RemoveTrayIcon();
  EXPECT_EQ(shell.last().record.hWnd, second.get());
}

}  // namespace
}  // namespace lumadex
