// The button's pictures: the eleven styles, the picture in its normal, grey and masked forms,
// and the caption, drawn onto a Surface.
#pragma once
#include <windows.h>

#include <cstdint>

#include "controls/button/button_input.h"
#include "controls/button/button_model.h"
#include "controls/button/button_picture_win32.h"
#include "controls/button/button_surface_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex::button {

struct PaintInput {
  const ButtonProperties* props = nullptr;
  const SystemColours* system = nullptr;
  ButtonState state = ButtonState::Normal;
  bool hasFocus = false;
  bool displayAsDefault = false;
  std::int32_t drawnStyle = kStyleGradient;
  std::uint32_t captionFormat = 0x25;
  HWND window = nullptr;  // for the visual-style data of Style 6
  HFONT font = nullptr;
  const ButtonPicture* picture = nullptr;
};

struct PaintResult {
  bool themeFailed = false;  // Style 6 could not draw themed
};

PaintResult PaintButton(Surface& surface, const PaintInput& in);

}  // namespace lumadex::button
