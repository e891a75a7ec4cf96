#include "winmsg/dib_surface_win32.h"

#include <algorithm>
#include <utility>

#include "winmsg/gdi_win32.h"

namespace lumadex {

DibSurface::DibSurface(int width, int height) {
  if (width < 1 || height < 1) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  WindowDC screen(nullptr);
  dc_.reset(CreateCompatibleDC(screen.get()));
  if (!dc_) return;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) {
    Release();
    return;
  }
  previous_ = SelectObject(dc_.get(), bitmap_.get());
  if (!previous_ || previous_ == HGDI_ERROR) {
    previous_ = nullptr;
    Release();
    return;
  }
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

DibSurface::DibSurface(DibSurface&& other) noexcept
    : dc_(std::move(other.dc_)),
      bitmap_(std::move(other.bitmap_)),
      previous_(std::exchange(other.previous_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

DibSurface& DibSurface::operator=(DibSurface&& other) noexcept {
  if (this != &other) {
    Release();
    dc_ = std::move(other.dc_);
    bitmap_ = std::move(other.bitmap_);
    previous_ = std::exchange(other.previous_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

DibSurface::~DibSurface() { Release(); }

void DibSurface::Release() noexcept {
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

Colour DibSurface::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return kColourInvalid;
  GdiFlush();
  return FromDib(bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

void DibSurface::SetPixel(int x, int y, Colour colour) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = ToDib(colour);
}

void DibSurface::FillRect(int x, int y, int w, int h, Colour colour) {
  if (!bits_) return;
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  GdiFlush();
  const std::uint32_t p = ToDib(colour);
  for (int row = y0; row < y1; ++row) {
    std::uint32_t* line = bits_ + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
    std::fill(line + x0, line + x1, p);
  }
}

Bitmap DibSurface::TakeBitmap() noexcept {
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  Bitmap taken = std::move(bitmap_);
  Release();
  return taken;
}

bool DibSurface::CopyFrom(HDC source, int x, int y, int width, int height) {
  if (!ok() || !source) return false;
  return BitBlt(dc_.get(), 0, 0, width, height, source, x, y, SRCCOPY) != FALSE;
}

}  // namespace lumadex
