// The button's drawing surface: a 32-bit top-down DIB section selected into a memory DC, so
// that every picture is composed off screen, the pixel loops (grey and masked icons, shadows)
// work on memory and are clipped to the surface, and WM_PAINT and WM_PRINTCLIENT show the
// same picture.
#pragma once
#include <windows.h>

#include <cstdint>

#include "controls/button/button_colors.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::button {

class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Memory access; GDI drawing is flushed first. Pixels outside the surface read as
  // kTranslateFailed and are not written.
  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb color);
  void Fill(Rgb color) { FillRect(0, 0, width_, height_, color); }
  // Filled rectangle (x, y, width, height), clipped.
  void FillRect(int x, int y, int w, int h, Rgb color);
  // 1-pixel line, end point excluded.
  void DrawLine(int x1, int y1, int x2, int y2, Rgb color);
  // 1-pixel outline through (x, y), (x + w, y), (x + w, y + h), (x, y + h), all included.
  void Outline(int x, int y, int w, int h, Rgb color);
  // Rows y … y + n of a gradient from `from` to `to`, each a line from x to x2 (excluded).
  void Gradient(Rgb from, Rgb to, int x, int y, int x2, int n);
  // A column x, rows y … y + n, graded from `from` to `to`.
  void ColumnGradient(Rgb from, Rgb to, int x, int y, int n);

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace lumadex::button
