// The boxes and captions of a form as screen readers read them: a box is a grouping named by
// its caption, a caption is static text. Their children and places are the standard object's.
#pragma once
#include <windows.h>

#include "controls/host/accessible_win32.h"

namespace lumadex {

class BoxAccessible final : public AccessibleObject {
 public:
  // `role`: ROLE_SYSTEM_GROUPING or ROLE_SYSTEM_STATICTEXT.
  BoxAccessible(HWND hwnd, long role) : AccessibleObject(hwnd), role_(role) {}

 private:
  long Role() override { return role_; }
  long State() override;
  std::optional<std::wstring> Name() override;

  long role_;
};

}  // namespace lumadex
