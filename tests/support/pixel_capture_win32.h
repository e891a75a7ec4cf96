// Pixels read back for drawing tests, always through a 32-bit top-down DIB so that the colours
// are exact whatever the display depth: a control's client area as it answers WM_PRINTCLIENT,
// a whole window as it stands on the screen (frame included), a rectangle of the screen, or a
// bitmap.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "winmsg/colour.h"

namespace lumadex::test {

class Capture {
 public:
  Capture() = default;
  // What `draw` puts into a width × height DIB first filled with `fill`.
  Capture(int width, int height, Colour fill, const std::function<void(HDC)>& draw);

  // The client area of a window as WM_PRINTCLIENT draws it over `sentinel`.
  static Capture Client(HWND window, Colour sentinel);
  // The whole window, non-client area included, as it is on the screen.
  static Capture Window(HWND window);
  static Capture Screen(const RECT& screen);
  static Capture Bitmap(HBITMAP bitmap);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  // A pixel as a platform colour (red in the low byte); kColourInvalid outside the picture.
  Colour at(long x, long y) const;
  // How many pixels of a rectangle of the picture have the colour.
  int Count(const RECT& inner, Colour colour) const;
  std::vector<Colour>& pixels() { return pixels_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace lumadex::test
