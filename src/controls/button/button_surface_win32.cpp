#include "controls/button/button_surface_win32.h"

#include "controls/button/button_geometry.h"

namespace lumadex::button {

void Surface::DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
  if (y1 == y2) {
    if (x1 < x2) FillRect(x1, y1, x2 - x1, 1, colour);
    else if (x2 < x1) FillRect(x2 + 1, y1, x1 - x2, 1, colour);
    return;
  }
  if (x1 == x2) {
    if (y1 < y2) FillRect(x1, y1, 1, y2 - y1, colour);
    else FillRect(x1, y2 + 1, 1, y1 - y2, colour);
    return;
  }
  for (const Point& p : LinePixels(x1, y1, x2, y2)) SetPixel(p.x, p.y, colour);
}

void Surface::Outline(int x, int y, int w, int h, Colour colour) {
  FillRect(x, y, w + 1, 1, colour);
  FillRect(x, y + h, w + 1, 1, colour);
  FillRect(x, y, 1, h + 1, colour);
  FillRect(x + w, y, 1, h + 1, colour);
}

void Surface::Gradient(Colour from, Colour to, int x, int y, int x2, int n) {
  for (int i = 0; i <= n; ++i) DrawLine(x, y + i, x2, y + i, GradientColour(from, to, i, n));
}

void Surface::ColumnGradient(Colour from, Colour to, int x, int y, int n) {
  for (int i = 0; i <= n; ++i) SetPixel(x, y + i, GradientColour(from, to, i, n));
}

}  // namespace lumadex::button
