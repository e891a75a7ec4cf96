// The program's icon in the notification area. There is one icon per process, described by one
// record in the shell's ANSI layout (with the balloon fields); every call updates that record
// and sends it to the shell. The shell's answers are not looked at: without a task bar (or with
// one that has not started yet) the program works on without its icon.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace lumadex {

// Adds the icon: mouse messages on it come to `owner` as WM_MOUSEMOVE with the mouse message in
// lParam. The picture is the 16x16 image of `iconFile`; when it cannot be loaded the icon is added
// without one.
void AddTrayIcon(HWND owner, const std::wstring& iconFile, const std::wstring& tip);

// Changes the tip (cut to 127 bytes in the ANSI code page).
void SetTrayTip(HWND owner, const std::wstring& tip);

// Shows a balloon (NIIF_* in iconFlags) over the icon; tip and picture stay as they are.
void ShowTrayBalloon(HWND owner, const std::wstring& text, const std::wstring& title, DWORD iconFlags);

// Removes the icon the record describes.
void RemoveTrayIcon();

// The record as last sent.
const NOTIFYICONDATAA& TrayRecordForTesting();

// What the record is sent with: Shell_NotifyIconA unless a test has put its own in place to see
// what reaches the shell. An empty function puts the shell's own back.
using TrayShellCall = std::function<BOOL(DWORD message, NOTIFYICONDATAA* record)>;
void SetTrayShellCallForTesting(TrayShellCall call);

}  // namespace lumadex
