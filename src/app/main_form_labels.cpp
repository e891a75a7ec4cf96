#include "app/main_form_labels.h"

namespace lumadex {

std::vector<LabelledBox> TextBoxLabels(std::span<const ControlSpec> controls) {
  std::vector<LabelledBox> pairs;
  for (std::size_t i = 1; i < controls.size(); ++i) {
    const ControlSpec& before = controls[i - 1];
    const ControlSpec& box = controls[i];
    if (box.kind == ControlKind::TextBox && before.kind == ControlKind::Label && before.parent == box.parent) {
      pairs.push_back({box.name, before.name});
    }
  }
  return pairs;
}

}  // namespace lumadex
