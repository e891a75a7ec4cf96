#include "services/mod_tray_win32.h"

#include <cstddef>

#include "services/ansi_win32.h"
#include "services/tray_record.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

// The record the shells from Windows 2000 on understand, balloons included.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;
#if !defined(_WIN64)
static_assert(kRecordSize == 488, "the 32-bit shell expects the 488-byte ANSI record");
#endif
static_assert(kRecordSize == offsetof(NOTIFYICONDATAA, guidItem));

constexpr UINT kIconId = 1;
constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
static_assert(kIconFlags == 7 && NIF_INFO == 16);
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;

NOTIFYICONDATAA g_record{};
// The picture the record points at. The record keeps the handle after the icon is removed (the
// shell may still be drawing it), so the picture is freed only when another replaces it or the
// process ends.
Icon g_picture;

void Identify(HWND owner) {
  g_record.cbSize = kRecordSize;
  g_record.hWnd = owner;
  g_record.uID = kIconId;
}

void CopyField(char* field, size_t width, const std::wstring& text) {
  CopyAnsiCut(field, width, WideToAnsi(text), IsAnsiLeadByte);
}

TrayShellCall& ShellCall() {
  static TrayShellCall call;
  return call;
}

void Send(DWORD message) {
  if (ShellCall()) {
    ShellCall()(message, &g_record);
  } else {
    Shell_NotifyIconA(message, &g_record);
  }
}

}  // namespace

void AddTrayIcon(HWND owner, const std::wstring& iconFile, const std::wstring& tip) {
  Identify(owner);
  g_record.uFlags = kIconFlags;
  g_record.uCallbackMessage = kCallbackMessage;
  const std::string ansiPath = WideToAnsi(iconFile);
  const HICON icon = static_cast<HICON>(
      LoadImageA(nullptr, ansiPath.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
  g_record.hIcon = icon;
  CopyField(g_record.szTip, sizeof g_record.szTip, tip);
  Send(NIM_ADD);
  // Only now is the previous picture (if any) no longer in the record.
  g_picture.reset(icon);
}

void SetTrayTip(HWND owner, const std::wstring& tip) {
  Identify(owner);
  g_record.uFlags = kIconFlags;
  CopyField(g_record.szTip, sizeof g_record.szTip, tip);
  Send(NIM_MODIFY);
}

void ShowTrayBalloon(HWND owner, const std::wstring& text, const std::wstring& title, DWORD iconFlags) {
  Identify(owner);
  g_record.uFlags = NIF_INFO;
  g_record.dwInfoFlags = iconFlags;
  CopyField(g_record.szInfoTitle, sizeof g_record.szInfoTitle, title);
  CopyField(g_record.szInfo, sizeof g_record.szInfo, text);
  Send(NIM_MODIFY);
}

void RemoveTrayIcon() { Send(NIM_DELETE); }

const NOTIFYICONDATAA& TrayRecordForTesting() { return g_record; }

void SetTrayShellCallForTesting(TrayShellCall call) { ShellCall() = std::move(call); }

}  // namespace lumadex
