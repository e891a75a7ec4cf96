// The button's pictures: the eleven styles, the icon in its normal, grey and masked forms,
// and the caption, drawn onto a Surface.
#pragma once
#include <windows.h>

#include <cstdint>

#include "controls/button/button_input.h"
#include "controls/button/button_model.h"
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
  HICON icon = nullptr;
};

struct PaintResult {
  bool themeFailed = false;  // Style 6 could not draw themed
};

PaintResult PaintButton(Surface& surface, const PaintInput& in);

// Draws `icon` in grey at (x, y), width × height; false when nothing could be drawn.
bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width);

// An icon from the bytes of an icon file, the image nearest to `size`; empty for bytes that
// are not a well-formed icon file.
Icon IconFromFileBytes(const std::uint8_t* bytes, std::size_t length, int size);

}  // namespace lumadex::button
