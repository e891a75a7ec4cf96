// Which caption names which text box of the main window: the label placed just before the
// box in the same group, as the window is laid out.
#pragma once
#include <string_view>
#include <vector>

#include "app/main_form_layout.h"

namespace lumadex {

struct LabelledBox {
  std::wstring_view box;
  std::wstring_view label;
};

std::vector<LabelledBox> TextBoxLabels(std::span<const ControlSpec> controls);

}  // namespace lumadex
