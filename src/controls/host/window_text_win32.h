#pragma once
#include <windows.h>

#include <string>

namespace lumadex {

inline std::wstring GetText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

inline void SetText(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

}  // namespace lumadex
