#pragma once
#include <windows.h>

namespace lumadex {

class MainForm {
 public:
  explicit MainForm(HINSTANCE instance);
  bool Create(int showCommand);
  int RunMessageLoop();
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
};

}  // namespace lumadex
