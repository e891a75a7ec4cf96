// The one off-screen picture of the program: a 32-bit top-down DIB section selected into a
// memory device context. GDI draws into it like into any device context, and its pixels can
// be read and written directly in memory, the same on every display depth.
#pragma once
#include <windows.h>

#include <cstdint>

#include "winmsg/colour.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {

class DibSurface {
 public:
  DibSurface() = default;
  // A surface of width × height pixels, all black; not ok() when either side is below 1 or
  // the platform refuses the bitmap or the device context.
  DibSurface(int width, int height);
  DibSurface(DibSurface&& other) noexcept;
  DibSurface& operator=(DibSurface&& other) noexcept;
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  // Puts the device context's first bitmap back, then deletes the bitmap, then the context.
  ~DibSurface();

  bool ok() const noexcept { return bits_ != nullptr; }
  explicit operator bool() const noexcept { return ok(); }
  HDC dc() const noexcept { return dc_.get(); }
  HBITMAP bitmap() const noexcept { return bitmap_.get(); }
  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }

  // Row-major pixels, 0x00RRGGBB each (blue in the low byte, as DIBs keep them). Call
  // GdiFlush() before reading what GDI has just drawn.
  std::uint32_t* bits() noexcept { return bits_; }
  const std::uint32_t* bits() const noexcept { return bits_; }

  // A pixel as a platform colour (red in the low byte), GDI's drawing flushed first;
  // kColourInvalid outside the surface.
  Colour Pixel(int x, int y) const;
  // Pixels outside the surface are not written.
  void SetPixel(int x, int y, Colour colour);
  // Rectangle (x, y, w, h), clipped to the surface.
  void FillRect(int x, int y, int w, int h, Colour colour);
  void Fill(Colour colour) { FillRect(0, 0, width_, height_, colour); }

  // The picture of `source` at (x, y), width × height, copied to the surface's origin.
  bool CopyFrom(HDC source, int x, int y, int width, int height);

  // The picture as a bitmap selected into no device context, for code that takes a bitmap
  // (a bitmap can be selected into one context only); the surface is empty afterwards.
  Bitmap TakeBitmap() noexcept;

  // DIB pixel order and back.
  static constexpr std::uint32_t ToDib(Colour c) {
    return static_cast<std::uint32_t>(RedOf(c)) << 16 | static_cast<std::uint32_t>(GreenOf(c)) << 8 |
           static_cast<std::uint32_t>(BlueOf(c));
  }
  static constexpr Colour FromDib(std::uint32_t p) {
    return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
  }

 private:
  void Release() noexcept;

  MemoryDC dc_;
  Bitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace lumadex
