// A plain hidden top-level window for tests that need an owner for a dialog or an icon.
#pragma once
#include <windows.h>

namespace lumadex::test {

class OwnerWindow {
 public:
  OwnerWindow()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"test owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

}  // namespace lumadex::test
