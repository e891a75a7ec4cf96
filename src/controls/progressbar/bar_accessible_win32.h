// The progress bar as screen readers and automation tools read it: a progress bar whose value
// is the percentage its fill shows, read-only, unavailable when it looks disabled. A bar that
// prints a text of its own is named by it.
#pragma once
#include <windows.h>

#include "controls/host/accessible_win32.h"
#include "controls/progressbar/progress_bar_win32.h"

namespace lumadex {

class BarAccessible final : public AccessibleObject {
 public:
  explicit BarAccessible(ProgressBar& bar) : AccessibleObject(bar.hwnd()), bar_(bar) {}

 private:
  long Role() override { return ROLE_SYSTEM_PROGRESSBAR; }
  long State() override;
  std::optional<std::wstring> Name() override;
  std::optional<std::wstring> Value() override;

  ProgressBar& bar_;  // outlives the connection: the bar cuts it off when its window goes
};

}  // namespace lumadex
