// The button's drawing surface: the program's DIB surface with the line, outline and gradient
// strokes the styles are drawn with. Every picture is composed off screen, so WM_PAINT and
// WM_PRINTCLIENT show the same one, and the pixel loops (grey and masked icons, shadows) work
// on memory, clipped to the surface.
#pragma once
#include <algorithm>

#include "controls/button/button_colour.h"
#include "winmsg/dib_surface_win32.h"

namespace lumadex::button {

class Surface : public DibSurface {
 public:
  // Never smaller than one pixel either way, so that a button shrunk to nothing still paints.
  Surface(int width, int height) : DibSurface(std::max(width, 1), std::max(height, 1)) {}

  // 1-pixel line, end point excluded.
  void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
  // 1-pixel outline through (x, y), (x + w, y), (x + w, y + h), (x, y + h), all included.
  void Outline(int x, int y, int w, int h, Colour colour);
  // Rows y … y + n of a gradient from `from` to `to`, each a line from x to x2 (excluded).
  void Gradient(Colour from, Colour to, int x, int y, int x2, int n);
  // A column x, rows y … y + n, graded from `from` to `to`.
  void ColumnGradient(Colour from, Colour to, int x, int y, int n);
};

}  // namespace lumadex::button
