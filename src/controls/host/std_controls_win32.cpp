#include "controls/host/std_controls_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/host/window_text_win32.h"

namespace lumadex {

std::wstring StdButton::Caption() const { return GetText(hwnd_); }

void StdButton::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd_, caption.c_str()); }

StdProgressBar::StdProgressBar(HWND hwnd) : hwnd_(hwnd) {
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, 100);
  SendMessageW(hwnd_, PBM_SETPOS, 0, 0);
}

void StdProgressBar::SetValue(int value) {
  value_ = std::clamp(value, 0, 100);
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(value_), 0);
}

}  // namespace lumadex
