#include "controls/progressbar/bar_accessible_win32.h"

#include "controls/progressbar/progress_access.h"

namespace lumadex {

long BarAccessible::State() {
  return STATE_SYSTEM_READONLY | (bar_.LooksEnabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) | StandardVisibility();
}

std::optional<std::wstring> BarAccessible::Name() {
  const ProgressBarModel& model = bar_.Properties();
  if (model.TextStyle() != static_cast<int>(BarTextStyle::OwnText) || model.Text().empty()) return std::nullopt;
  return model.Text();
}

std::optional<std::wstring> BarAccessible::Value() { return AccessValueText(bar_.Properties()); }

}  // namespace lumadex
