#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_form_layout.h"
#include "controls/host/container_box_win32.h"
#include "controls/host/window_text_win32.h"
#include "services/ansi_win32.h"
#include "services/mod_tray_win32.h"
#include "support/form_harness_win32.h"

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

TEST(MainWindowLayout, EveryControlHasItsTextPlaceAndParent) {
  FormHarness h;
  RECT client;
  GetClientRect(h.form().hwnd(), &client);
  EXPECT_EQ(client.right, 494);
  EXPECT_EQ(client.bottom, 365);
  EXPECT_EQ(GetText(h.form().hwnd()), L"Lumadex");
  for (const ControlSpec& spec : MainFormControls()) {
    SCOPED_TRACE(std::wstring(spec.name).c_str());
    HWND control = h.control(std::wstring(spec.name).c_str());
    ASSERT_NE(control, nullptr);
    const HWND expectedParent = spec.parent.empty() ? h.form().hwnd() : h.control(std::wstring(spec.parent).c_str());
    EXPECT_EQ(GetParent(control), expectedParent);
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, TwipsToPixels(spec.left));
    EXPECT_EQ(rect.top, TwipsToPixels(spec.top));
    EXPECT_EQ(rect.right - rect.left, TwipsToPixels(spec.width));
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(spec.height));
    if (spec.kind != ControlKind::TextBox && spec.kind != ControlKind::ProgressBar) {
      EXPECT_EQ(GetText(control), std::wstring(spec.text));
    }
  }
  // A few places spelled out, so that a wrong conversion in the table would show.
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
  EXPECT_FALSE(h.form().Downloading);
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
  std::string garbage(70000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) & 0xff);
  FormHarness h(garbage);
  EXPECT_EQ(h.form().Text(L"email"), L"");
  EXPECT_FALSE(h.form().IsChecked(L"CheckUser"));
  EXPECT_TRUE(IsWindowEnabled(h.control(L"FrameUser")));
}

TEST(MainWindowSettings, ASettingsFolderInsteadOfAFileIsSurvived) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // The harness makes its folder current before the window is created; a folder named like the
  // settings file must then already be there, so it is made by a first harness and reused.
  FormHarness first;
  DeleteFileW((first.folder() + L"\\Lumadex.ini").c_str());
  CreateDirectoryW((first.folder() + L"\\Lumadex.ini").c_str(), nullptr);
  MainForm second(GetModuleHandleW(nullptr));
  ASSERT_TRUE(second.Create(SW_SHOWNORMAL, false));
  test::Pump(50ms);
  EXPECT_EQ(second.Text(L"email"), L"");
  EXPECT_FALSE(second.Settings.IsLoaded());
}

TEST(MainWindowClose, RefusedWhileDownloadingAndAcceptedAfterwards) {
  FormHarness h;
  HWND window = h.form().hwnd();
  h.form().Downloading = true;
  std::wstring boxText;
  test::RunSoon(200ms, [&] {
    HWND box = FindWindowW(L"#32770", L"退出程序");
    if (!box) return;
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    boxText = text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(boxText, L"相册下载中，请您先停止");
  EXPECT_TRUE(IsWindow(window));
  h.form().Downloading = false;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST(MainWindowTray, MinimisingHidesAndTheIconBringsItBack) {
  FormHarness h;
  HWND window = h.form().hwnd();
  ShowWindow(window, SW_MINIMIZE);
  test::Pump(50ms);
  EXPECT_FALSE(IsWindowVisible(window));
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(AnsiToWide(record.szInfo), L"谢谢您的支持");
  EXPECT_EQ(AnsiToWide(record.szInfoTitle), L"Lumadex");
  EXPECT_EQ(AnsiToWide(record.szTip), L"Lumadex");
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));

  // A move over the icon while idle changes nothing; a left press restores the window.
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
  EXPECT_EQ(AnsiToWide(record.szTip), L"Lumadex");
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
  test::Pump(50ms);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
}

TEST(MainWindowTray, WhileDownloadingTheIconSaysSo) {
  FormHarness h;
  HWND window = h.form().hwnd();
  h.form().Downloading = true;
  ShowWindow(window, SW_MINIMIZE);
  test::Pump(50ms);
  const NOTIFYICONDATAA& record = TrayRecordForTesting();
  EXPECT_EQ(AnsiToWide(record.szInfo), L"正在下载中…");
  SendMessageW(window, WM_MOUSEMOVE, 1, WM_MOUSEMOVE);
  EXPECT_EQ(AnsiToWide(record.szTip), L"正在下载中…");
  h.form().Downloading = false;
}

TEST(MainWindowButtons, PasteTakesTheClipboardText) {
  FormHarness h;
  const std::wstring address = L"http://127.0.0.1:8080/getalbum.do?id=1002&owner=222300001";
  ASSERT_TRUE(OpenClipboard(h.form().hwnd()));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (address.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), address.c_str(), (address.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
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
