#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_form_layout.h"
#include "controls/host/container_box_win32.h"
#include "controls/host/window_text_win32.h"
#include "services/ansi_win32.h"
#include "services/mod_tray_win32.h"
#include "support/form_harness_win32.h"
#include "support/site_client_win32.h"
#include "support/tray_recorder_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using test::FormHarness;

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring FontFace(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfFaceName;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

// The window's controls as the design gives them, box by box, in twips relative to the box that
// holds them, written out here rather than taken from the table the window is built from.
struct ExpectedControl {
  const wchar_t* name;
  int left, top, width, height;
  const wchar_t* text;  // null: not compared (text boxes, the progress bar)
};
struct ExpectedBox {
  const wchar_t* name;  // empty: the window itself
  std::vector<ExpectedControl> controls;
};

const ExpectedBox kExpectedLayout[] = {
    {L"",
     {{L"FrameUser", 120, 120, 6975, 1250, L"用户信息"},
      {L"FrameAblum", 120, 1440, 6975, 1215, L"相册信息"},
      {L"FrameMode", 120, 2760, 6975, 1095, L"下载模式"},
      {L"FrameDown", 120, 3960, 6975, 975, L"下载进度"}}},
    {L"FrameUser",
     {{L"Label1", 120, 340, 1095, 255, L"校内帐号："},
      {L"email", 1080, 240, 2415, 375, nullptr},
      {L"Label2", 120, 800, 1095, 255, L"用户密码："},
      {L"password", 1080, 720, 2415, 375, nullptr},
      {L"CheckUser", 3645, 720, 2295, 375, L"记住用户登录信息"},
      {L"NBtnLogin", 6000, 720, 855, 375, L"登 录"},
      {L"LoginInfo", 3645, 340, 3105, 255, L"请放心使用校内网帐号登录"}}},
    {L"FrameAblum",
     {{L"Label3", 120, 360, 1095, 255, L"相册地址："},
      {L"albumURLTxt", 1080, 240, 4935, 375, nullptr},
      {L"NBtnClip", 6000, 240, 855, 375, L"粘 贴"},
      {L"Label4", 120, 800, 1095, 255, L"保存目录："},
      {L"DirPathTxt", 1080, 720, 4935, 375, nullptr},
      {L"NBtnFile", 6000, 720, 855, 375, L"目 录"}}},
    {L"FrameMode",
     {{L"ModeContainer", 135, 240, 5415, 375, L""},
      {L"NewModeContainer", 120, 680, 5655, 255, L""},
      {L"PageModeContainer", 480, 2280, 3135, 300, L""},
      {L"UpdateModeContainer", 3960, 2280, 2055, 300, L""},
      {L"NBtnDown", 6000, 240, 855, 705, L"下 载"}}},
    {L"ModeContainer",
     {{L"OptionNew", 0, 60, 1215, 255, L"全新模式"},
      {L"OptionUpdate", 1680, 0, 1095, 375, L"更新模式"},
      {L"OptionPage", 3300, 0, 1095, 375, L"翻页模式"}}},
    {L"NewModeContainer",
     {{L"Label8", 0, 50, 975, 255, L"命名方式："},
      {L"UrlInitName", 960, 30, 1335, 255, L"原始文件名"},
      {L"AblumUpName", 2400, 30, 1095, 255, L"相册升序"},
      {L"AblumDownName", 3720, 30, 1215, 255, L"相册降序"}}},
    {L"PageModeContainer",
     {{L"Label6", 0, 30, 900, 255, L"开始页数："},
      {L"PhotoBenginPage", 960, 0, 495, 270, nullptr},
      {L"Label7", 1680, 30, 900, 255, L"结束页数："},
      {L"PhotoEndPage", 2640, 0, 495, 270, nullptr}}},
    {L"UpdateModeContainer",
     {{L"Label5", 0, 30, 1300, 255, L"更新照片数量："}, {L"NewPhotoCount", 1320, 0, 495, 270, nullptr}}},
    {L"FrameDown",
     {{L"DownInfo", 120, 300, 5655, 255, L"必须登录校内网，配置相册信息，才能下载相册"},
      {L"NicePressBar", 120, 600, 6735, 225, nullptr}}},
};

// 15 twips to a pixel at 96 dots per inch, to the nearest pixel.
int Pixels(int twips) { return (twips * 2 + 15) / 30; }

TEST(MainWindowLayout, EveryControlHasItsTextPlaceAndParent) {
  FormHarness h;
  RECT client;
  GetClientRect(h.form().hwnd(), &client);
  EXPECT_EQ(client.right, 494);
  EXPECT_EQ(client.bottom, 365);
  EXPECT_EQ(GetText(h.form().hwnd()), L"Lumadex");
  size_t count = 0;
  for (const ExpectedBox& box : kExpectedLayout) {
    HWND parent = *box.name ? h.control(box.name) : h.form().hwnd();
    for (const ExpectedControl& expected : box.controls) {
      SCOPED_TRACE(expected.name);
      ++count;
      HWND control = h.control(expected.name);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(GetParent(control), parent);
      const RECT rect = RectInParent(control);
      EXPECT_EQ(rect.left, Pixels(expected.left));
      EXPECT_EQ(rect.top, Pixels(expected.top));
      EXPECT_EQ(rect.right - rect.left, Pixels(expected.width));
      EXPECT_EQ(rect.bottom - rect.top, Pixels(expected.height));
      if (expected.text) {
        EXPECT_EQ(GetText(control), expected.text);
      }
    }
  }
  // Nothing more than these.
  EXPECT_EQ(MainFormControls().size(), count);
  EXPECT_EQ(RectInParent(h.control(L"email")).left, 72);
  EXPECT_EQ(RectInParent(h.control(L"NBtnDown")).bottom - RectInParent(h.control(L"NBtnDown")).top, 47);
}

TEST(MainWindowLayout, InitialStatesFontsAndLimits) {
  FormHarness h;
  EXPECT_TRUE(IsWindowEnabled(h.control(L"FrameUser")));
  EXPECT_FALSE(IsWindowEnabled(h.control(L"FrameAblum")));
  EXPECT_FALSE(IsWindowEnabled(h.control(L"FrameMode")));
  EXPECT_TRUE(IsWindowEnabled(h.control(L"FrameDown")));
  EXPECT_FALSE(IsWindowEnabled(h.control(L"NewModeContainer")));
  EXPECT_FALSE(IsUsable(h.control(L"albumURLTxt")));
  EXPECT_TRUE(IsUsable(h.control(L"email")));
  EXPECT_TRUE(h.form().IsChecked(L"OptionNew"));
  EXPECT_TRUE(h.form().IsChecked(L"UrlInitName"));
  EXPECT_FALSE(h.form().IsChecked(L"CheckUser"));
  EXPECT_EQ(SendMessageW(h.control(L"password"), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(SendMessageW(h.control(L"PhotoBenginPage"), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(h.control(L"PhotoEndPage"), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(h.control(L"NewPhotoCount"), EM_GETLIMITTEXT, 0, 0), 4);
  EXPECT_EQ(FontFace(h.control(L"email")), L"Courier New");
  EXPECT_EQ(FontFace(h.control(L"albumURLTxt")), L"Courier New");
  EXPECT_EQ(FontFace(h.control(L"UrlInitName")), L"微软雅黑");
  EXPECT_EQ(h.form().NicePressBar().Value(), 0);
  EXPECT_FALSE(h.form().TimerEnabled());
  EXPECT_FALSE(h.form().Run().Downloading());
}

// The mode group is usable once signed in.
void UnlockModeGroup(FormHarness& h) {
  SetOwnEnabled(h.control(L"FrameMode"), true);
  SetOwnEnabled(h.control(L"NewModeContainer"), true);
}

TEST(MainWindowModes, PageModeShowsItsBoxInTheSharedPlace) {
  FormHarness h;
  UnlockModeGroup(h);
  h.form().SetText(L"NewPhotoCount", L"12");
  SendMessageW(h.control(L"OptionPage"), BM_CLICK, 0, 0);
  HWND box = h.control(L"PageModeContainer");
  EXPECT_TRUE(IsWindowVisible(box));
  const RECT rect = RectInParent(box);
  EXPECT_EQ(rect.left, TwipsToPixels(120));
  EXPECT_EQ(rect.top, TwipsToPixels(705));
  EXPECT_FALSE(IsWindowVisible(h.control(L"NewModeContainer")));
  EXPECT_FALSE(IsWindowVisible(h.control(L"UpdateModeContainer")));
  EXPECT_EQ(GetFocus(), h.control(L"PhotoBenginPage"));
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"");
}

TEST(MainWindowModes, WholeAlbumModeResetsNamingAndEmptiesTheNumbers) {
  FormHarness h;
  UnlockModeGroup(h);
  SendMessageW(h.control(L"OptionUpdate"), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindowVisible(h.control(L"UpdateModeContainer")));
  EXPECT_EQ(GetFocus(), h.control(L"NewPhotoCount"));
  h.form().SetText(L"NewPhotoCount", L"20");
  h.form().SetText(L"PhotoBenginPage", L"1");
  h.form().SetText(L"PhotoEndPage", L"2");
  SendMessageW(h.control(L"AblumDownName"), BM_CLICK, 0, 0);
  SendMessageW(h.control(L"OptionNew"), BM_CLICK, 0, 0);
  EXPECT_TRUE(h.form().IsChecked(L"UrlInitName"));
  EXPECT_FALSE(h.form().IsChecked(L"AblumDownName"));
  EXPECT_TRUE(IsWindowVisible(h.control(L"NewModeContainer")));
  EXPECT_FALSE(IsWindowVisible(h.control(L"UpdateModeContainer")));
  EXPECT_FALSE(IsWindowVisible(h.control(L"PageModeContainer")));
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"");
  EXPECT_EQ(h.form().Text(L"PhotoBenginPage"), L"");
  EXPECT_EQ(h.form().Text(L"PhotoEndPage"), L"");
}

TEST(MainWindowInput, DigitFilterOfTheNumberBoxes) {
  FormHarness h;
  h.Type(L"NewPhotoCount", L"0");
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"");
  h.Type(L"NewPhotoCount", L"1");
  h.Type(L"NewPhotoCount", L"0");
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"10");
  h.Type(L"NewPhotoCount", L"a-\b ");
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"10");
  h.Type(L"NewPhotoCount", L"789");
  EXPECT_EQ(h.form().Text(L"NewPhotoCount"), L"1078");
  h.Type(L"PhotoBenginPage", L"0x12345");
  EXPECT_EQ(h.form().Text(L"PhotoBenginPage"), L"123");
  // Other boxes take any character.
  h.Type(L"albumURLTxt", L"a0");
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), L"a0");
}

TEST(MainWindowInput, EnterInThePasswordBoxPressesSignIn) {
  FormHarness h;
  h.Type(L"password", L"\r");
  EXPECT_EQ(h.form().Text(L"LoginInfo"), L"用户名或者密码必须填写");
  EXPECT_EQ(GetFocus(), h.control(L"email"));
  EXPECT_EQ(h.form().Text(L"password"), L"");
}

TEST(MainWindowInput, AlbumAddressBoxHabits) {
  FormHarness h;
  HWND album = h.control(L"albumURLTxt");
  h.form().SetText(L"albumURLTxt", L"http://127.0.0.1/getalbum.do?id=1&owner=2");
  SendMessageW(album, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), L"");

  h.form().SetText(L"email", L"demo@example.com");
  SetFocus(h.control(L"email"));
  SendMessageW(h.control(L"email"), EM_SETSEL, 4, 9);
  SetFocus(h.control(L"password"));
  EXPECT_EQ(Selection(h.control(L"email")), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST(MainWindowInput, TabFollowsTheOrderAndSkipsLockedGroups) {
  FormHarness h;
  SetFocus(h.control(L"email"));
  const wchar_t* signedOut[] = {L"password", L"CheckUser", L"NBtnLogin", L"email"};
  for (const wchar_t* next : signedOut) {
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), h.control(next)) << next;
  }
  SetOwnEnabled(h.control(L"FrameAblum"), true);
  SetOwnEnabled(h.control(L"FrameMode"), true);
  SetOwnEnabled(h.control(L"NewModeContainer"), true);
  SetFocus(h.control(L"NBtnLogin"));
  // Only the chosen option of a box is a stop; the hidden number boxes are passed over.
  const wchar_t* signedIn[] = {L"albumURLTxt", L"NBtnClip", L"DirPathTxt", L"NBtnFile", L"OptionNew",
                               L"UrlInitName", L"NBtnDown", L"email"};
  for (const wchar_t* next : signedIn) {
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), h.control(next)) << next;
  }
}

TEST(MainWindowSettings, FirstStartWritesTheDefaultFile) {
  FormHarness h;
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), "1 \r\n2 \r\n3 F\r\n");
  EXPECT_FALSE(h.form().IsChecked(L"CheckUser"));
  EXPECT_EQ(GetFocus(), h.control(L"email"));
}

TEST(MainWindowSettings, RememberedDetailsFillTheFields) {
  // "demo@example.com" and "demo" enciphered under the program's key.
  const std::string email = "\x72\x59\x80\x64\x52\x55\x86\x55\x80\x65\x7e\x55\x3c\x57\x82\x62";
  const std::string password = "\x72\x59\x80\x64";
  FormHarness h("1 " + email + "\r\n2 " + password + "\r\n3 T\r\n");
  EXPECT_EQ(h.form().Text(L"email"), L"demo@example.com");
  EXPECT_EQ(h.form().Text(L"password"), L"demo");
  EXPECT_TRUE(h.form().IsChecked(L"CheckUser"));
  EXPECT_EQ(GetFocus(), h.control(L"password"));
  EXPECT_EQ(Selection(h.control(L"password")), std::make_pair(DWORD{4}, DWORD{4}));
  // The file is left as it was.
  EXPECT_EQ(h.ReadFile(L"Lumadex.ini"), "1 " + email + "\r\n2 " + password + "\r\n3 T\r\n");
}

TEST(MainWindowSettings, UnreadableSettingsLeaveTheFieldsEmpty) {
  // Remembered details the window would show, were the file readable.
  const std::string remembered = "1 \x72\x59\x80\x64\r\n2 \x72\x59\x80\x64\r\n3 T\r\n";
  FormHarness first(remembered);
  EXPECT_TRUE(first.form().IsChecked(L"CheckUser"));
  // Another program holds the file open and lets nobody read it.
  const std::wstring path = first.SettingsFile();
  {
    const FileHandle locked(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    const std::unique_ptr<MainForm> second = first.StartAnother();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->Settings().IsLoaded());
    EXPECT_EQ(second->Text(L"email"), L"");
    EXPECT_EQ(second->Text(L"password"), L"");
    EXPECT_FALSE(second->IsChecked(L"CheckUser"));
    EXPECT_TRUE(IsWindowEnabled(second->Control(L"FrameUser")));
    EXPECT_EQ(GetFocus(), second->Control(L"email"));
  }
  EXPECT_EQ(first.ReadFile(L"Lumadex.ini"), remembered);
}

TEST(MainWindowSettings, ASettingsFolderInsteadOfAFileIsSurvived) {
  // A folder named like the settings file must be there before the window starts: it takes the
  // place of the file the first window wrote.
  FormHarness first;
  DeleteFileW(first.SettingsFile().c_str());
  CreateDirectoryW(first.SettingsFile().c_str(), nullptr);
  const std::unique_ptr<MainForm> second = first.StartAnother();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Text(L"email"), L"");
  EXPECT_FALSE(second->Settings().IsLoaded());
}

TEST(MainWindowTray, MinimisingHidesAndTheIconBringsItBack) {
  FormHarness h;
  HWND window = h.form().hwnd();
  test::TrayRecorder shell;
  ShowWindow(window, SW_MINIMIZE);
  test::Pump(50ms);
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_EQ(shell.calls().size(), 2u);
  const test::TrayCall add = shell.calls()[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.record.hWnd, window);
  EXPECT_EQ(add.record.uID, 1u);
  EXPECT_EQ(add.record.uFlags, 7u);
  EXPECT_EQ(add.record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(AnsiToWide(add.tip()), L"Lumadex");
  const test::TrayCall balloon = shell.calls()[1];
  EXPECT_EQ(balloon.message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(balloon.record.uFlags, 16u);
  EXPECT_EQ(balloon.record.dwInfoFlags, 0u);
  EXPECT_EQ(AnsiToWide(balloon.info()), L"谢谢您的支持");
  EXPECT_EQ(AnsiToWide(balloon.title()), L"Lumadex");

  // A move over the icon while idle sends nothing; a left press removes the icon and restores
  // the window.
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
  EXPECT_EQ(shell.calls().size(), 2u);
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
  test::Pump(50ms);
  ASSERT_EQ(shell.calls().size(), 3u);
  EXPECT_EQ(shell.last().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell.last().record.hWnd, window);
  EXPECT_EQ(shell.last().record.uID, 1u);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
}

TEST(MainWindowTray, WhileDownloadingTheIconSaysSo) {
  test::SiteConfigure("demo\nfault 1002 photos latency 100\n");
  FormHarness h;
  ASSERT_FALSE(h.PrepareDownload(1002).empty());
  HWND window = h.form().hwnd();
  test::TrayRecorder shell;
  h.DuringARun([&] {
    ASSERT_TRUE(h.form().Run().Downloading());
    ShowWindow(window, SW_MINIMIZE);
    test::Pump(50ms);
    EXPECT_EQ(AnsiToWide(shell.last().info()), L"正在下载中…");
    SendMessageW(window, WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
    EXPECT_EQ(shell.last().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.last().record.uFlags, 7u);
    EXPECT_EQ(AnsiToWide(shell.last().tip()), L"正在下载中…");
    SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
  });
  // Once the run is over a move over the icon changes nothing.
  ShowWindow(window, SW_MINIMIZE);
  test::Pump(50ms);
  const size_t calls = shell.calls().size();
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
  EXPECT_EQ(shell.calls().size(), calls);
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
}

// Once signed in, the boxes the window would focus on its return are locked; the focus goes back
// where it was, or to the first control that can take it, so keys still reach the buttons.
TEST(MainWindowTray, ARestoreOnceSignedInLeavesTheFocusUsable) {
  FormHarness h("1 \x72\x59\x80\x64\r\n2 \x72\x59\x80\x64\r\n3 T\r\n");
  HWND window = h.form().hwnd();
  SetOwnEnabled(h.control(L"FrameUser"), false);
  SetOwnEnabled(h.control(L"FrameAblum"), true);
  SetOwnEnabled(h.control(L"FrameMode"), true);
  test::TrayRecorder shell;
  for (const wchar_t* before : {L"NBtnDown", L""}) {
    SCOPED_TRACE(before);
    SetFocus(*before ? h.control(before) : nullptr);
    ShowWindow(window, SW_MINIMIZE);
    test::Pump(50ms);
    ASSERT_FALSE(IsWindowVisible(window));
    SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
    test::Pump(50ms);
    ASSERT_TRUE(IsWindowVisible(window));
    // Without a focus before, the first usable control in keyboard order takes it.
    EXPECT_EQ(GetFocus(), h.control(*before ? before : L"albumURLTxt"));
  }
}

TEST(MainWindowButtons, PasteTakesTheClipboardText) {
  FormHarness h;
  const std::wstring address = L"http://127.0.0.1:8080/getalbum.do?id=1002&owner=222300001";
  test::PutOnClipboard(h.form().hwnd(), address);
  h.form().NBtnClip().Click();
  EXPECT_EQ(h.form().Text(L"albumURLTxt"), address);
}

BOOL CALLBACK FindVisibleDialog(HWND w, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

TEST(MainWindowButtons, CancelledFolderDialogEmptiesTheFolder) {
  FormHarness h;
  h.form().SetText(L"DirPathTxt", L"C:\\old");
  bool sawDialog = false;
  std::function<void()> cancel = [&] {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog) {
      sawDialog = true;
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      test::RunSoon(200ms, cancel);
    }
  };
  test::RunSoon(300ms, cancel);
  h.form().NBtnFile().Click();
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(h.form().Text(L"DirPathTxt"), L"");
}

}  // namespace
}  // namespace lumadex
