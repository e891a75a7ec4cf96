// The main window's controls: kind, name, place in twips relative to the box that holds them,
// and initial text. The window is built from this table.
#pragma once
#include <span>
#include <string_view>

namespace lumadex {

enum class ControlKind { Frame, Label, TextBox, CheckBox, Button, OptionButton, ContainerBox, ProgressBar };

struct ControlSpec {
  std::wstring_view name;
  ControlKind kind;
  std::wstring_view parent;  // empty: the window itself
  int left, top, width, height;
  std::wstring_view text;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 7410;
inline constexpr int kClientHeightTwips = 5475;

// Twips to pixels at 96 dots per inch, to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

std::span<const ControlSpec> MainFormControls();
// Keyboard focus order; controls that are hidden or cannot be used are passed over.
std::span<const std::wstring_view> MainFormTabOrder();

}  // namespace lumadex
