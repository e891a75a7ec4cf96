#include "controls/button/button_surface_win32.h"

#include <algorithm>

#include "controls/button/button_geometry.h"

namespace lumadex::button {
namespace {

// DIB pixels are blue in the low byte; button colours have red there.
std::uint32_t ToDib(Rgb c) { return static_cast<std::uint32_t>((Red(c) << 16) | (Green(c) << 8) | Blue(c)); }
Rgb FromDib(std::uint32_t p) { return MakeRgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

Surface::Surface(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  WindowDC screen(nullptr);
  dc_ = CreateCompatibleDC(screen.get());
  bitmap_ = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc_ || !bitmap_) return;
  oldBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
}

Surface::~Surface() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

Rgb Surface::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return kTranslateFailed;
  GdiFlush();
  return FromDib(bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

void Surface::SetPixel(int x, int y, Rgb color) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = ToDib(color);
}

void Surface::FillRect(int x, int y, int w, int h, Rgb color) {
  if (!bits_) return;
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  GdiFlush();
  const std::uint32_t p = ToDib(color);
  for (int row = y0; row < y1; ++row) {
    std::uint32_t* line = bits_ + static_cast<size_t>(row) * static_cast<size_t>(width_);
    std::fill(line + x0, line + x1, p);
  }
}

void Surface::DrawLine(int x1, int y1, int x2, int y2, Rgb color) {
  if (y1 == y2) {
    if (x1 < x2) FillRect(x1, y1, x2 - x1, 1, color);
    else if (x2 < x1) FillRect(x2 + 1, y1, x1 - x2, 1, color);
    return;
  }
  if (x1 == x2) {
    if (y1 < y2) FillRect(x1, y1, 1, y2 - y1, color);
    else FillRect(x1, y2 + 1, 1, y1 - y2, color);
    return;
  }
  for (const Point& p : LinePixels(x1, y1, x2, y2)) SetPixel(p.x, p.y, color);
}

void Surface::Outline(int x, int y, int w, int h, Rgb color) {
  FillRect(x, y, w + 1, 1, color);
  FillRect(x, y + h, w + 1, 1, color);
  FillRect(x, y, 1, h + 1, color);
  FillRect(x + w, y, 1, h + 1, color);
}

void Surface::Gradient(Rgb from, Rgb to, int x, int y, int x2, int n) {
  for (int i = 0; i <= n; ++i) DrawLine(x, y + i, x2, y + i, GradientColor(from, to, i, n));
}

void Surface::ColumnGradient(Rgb from, Rgb to, int x, int y, int n) {
  for (int i = 0; i <= n; ++i) SetPixel(x, y + i, GradientColor(from, to, i, n));
}

}  // namespace lumadex::button
