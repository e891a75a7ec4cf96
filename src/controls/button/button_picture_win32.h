// The button's picture: an icon, drawn through its own mask, or a bitmap, drawn opaque; either
// drawn square, IconSize × IconSize, in colour or in the grey of the disabled look.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "controls/button/button_surface_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex::button {

class ButtonPicture {
 public:
  ButtonPicture() = default;
  // From the bytes of an icon file (its image nearest to `size`) or of a bitmap file; empty
  // for anything else.
  static ButtonPicture FromFileBytes(const std::uint8_t* bytes, std::size_t length, int size);

  bool empty() const { return !icon_ && !bitmap_.ok(); }
  bool IsBitmap() const { return bitmap_.ok(); }
  HICON icon() const { return icon_.get(); }

  // At (x, y), size × size; false when nothing could be drawn.
  bool Draw(HDC dc, int x, int y, int size) const;
  // The disabled look: the grey of every pixel but the pure greys (PaintIconGrayscale's rule).
  bool DrawGrey(Surface& target, int x, int y, int size) const;

 private:
  Icon icon_;
  DibSurface bitmap_;  // at the bitmap's own size
};

// Draws `icon` in grey at (x, y), width × height; false when nothing could be drawn.
bool PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int height, int width);

}  // namespace lumadex::button
