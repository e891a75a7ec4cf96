// The platform's own push button and progress bar behind the main window's control interfaces.
#pragma once
#include <windows.h>

#include "controls/host/button_host.h"
#include "controls/host/progress_host.h"

namespace lumadex {

class StdButton : public IButton {
 public:
  explicit StdButton(HWND hwnd) : hwnd_(hwnd) {}
  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class StdProgressBar : public IProgressBar {
 public:
  explicit StdProgressBar(HWND hwnd);
  int Value() const override { return value_; }
  void SetValue(int value) override;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
  int value_ = 0;
};

}  // namespace lumadex
