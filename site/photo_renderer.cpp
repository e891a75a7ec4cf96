#include "photo_renderer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

#include "site_catalog.h"

namespace lumadex::site {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

// 5x7 cells, one row per byte, high bit on the left.
constexpr std::uint8_t kDigits[10][7] = {
    {0x70, 0x88, 0x98, 0xA8, 0xC8, 0x88, 0x70}, {0x20, 0x60, 0x20, 0x20, 0x20, 0x20, 0x70},
    {0x70, 0x88, 0x08, 0x10, 0x20, 0x40, 0xF8}, {0xF8, 0x10, 0x20, 0x10, 0x08, 0x88, 0x70},
    {0x10, 0x30, 0x50, 0x90, 0xF8, 0x10, 0x10}, {0xF8, 0x80, 0xF0, 0x08, 0x08, 0x88, 0x70},
    {0x30, 0x40, 0x80, 0xF0, 0x88, 0x88, 0x70}, {0xF8, 0x08, 0x10, 0x20, 0x40, 0x40, 0x40},
    {0x70, 0x88, 0x88, 0x70, 0x88, 0x88, 0x70}, {0x70, 0x88, 0x88, 0x78, 0x08, 0x10, 0x60},
};

class Canvas {
 public:
  Canvas() : pixels_(static_cast<std::size_t>(kPhotoWidth) * kPhotoHeight) {}

  void gradient(std::uint32_t seed) {
    Rgb from = colour(seed), to = colour(seed >> 11 ^ 0x9e3779b9u);
    int angle = static_cast<int>(seed % 3);  // across, down or diagonal
    for (int y = 0; y < kPhotoHeight; ++y) {
      for (int x = 0; x < kPhotoWidth; ++x) {
        int t = angle == 0 ? x * 255 / (kPhotoWidth - 1)
                : angle == 1 ? y * 255 / (kPhotoHeight - 1)
                             : (x + y) * 255 / (kPhotoWidth + kPhotoHeight - 2);
        pixels_[static_cast<std::size_t>(y) * kPhotoWidth + x] = mix(from, to, t);
      }
    }
  }

  // The number in blocks of `scale` pixels, with a shadow so it reads on any background.
  void number(std::int64_t value, int left, int top, int scale, Rgb ink) {
    std::string digits = std::to_string(value);
    for (int pass = 0; pass < 2; ++pass) {
      int shift = pass == 0 ? std::max(1, scale / 4) : 0;
      Rgb c = pass == 0 ? Rgb{20, 20, 30} : ink;
      for (std::size_t i = 0; i < digits.size(); ++i) {
        const auto& glyph = kDigits[digits[i] - '0'];
        for (int row = 0; row < 7; ++row) {
          for (int col = 0; col < 5; ++col) {
            if (glyph[row] & (0x80 >> col)) {
              block(left + static_cast<int>(i) * 6 * scale + col * scale + shift, top + row * scale + shift, scale, c);
            }
          }
        }
      }
    }
  }

  const std::vector<Rgb>& pixels() const { return pixels_; }

 private:
  static Rgb colour(std::uint32_t s) {
    return {static_cast<std::uint8_t>(40 + s % 180), static_cast<std::uint8_t>(40 + (s >> 8) % 180),
            static_cast<std::uint8_t>(40 + (s >> 16) % 180)};
  }

  static Rgb mix(Rgb a, Rgb b, int t) {
    auto m = [t](int p, int q) { return static_cast<std::uint8_t>((p * (255 - t) + q * t) / 255); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
  }

  void block(int x0, int y0, int size, Rgb c) {
    for (int y = std::max(0, y0); y < std::min(kPhotoHeight, y0 + size); ++y) {
      for (int x = std::max(0, x0); x < std::min(kPhotoWidth, x0 + size); ++x) {
        pixels_[static_cast<std::size_t>(y) * kPhotoWidth + x] = c;
      }
    }
  }

  std::vector<Rgb> pixels_;
};

// libjpeg reports errors by calling error_exit, which must not return; jump back out.
struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf env;
};

void on_jpeg_error(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->env, 1); }

std::string encode(const std::vector<Rgb>& pixels) {
  jpeg_compress_struct info{};
  ErrorTrap trap{};
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  info.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = on_jpeg_error;
  // Only plain data lives across the jump; the one C++ object is built after it.
  if (setjmp(trap.env)) {
    jpeg_destroy_compress(&info);
    std::free(out);
    throw std::runtime_error("libjpeg could not encode a photo");
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &out_size);
  info.image_width = kPhotoWidth;
  info.image_height = kPhotoHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(&pixels[info.next_scanline * kPhotoWidth]));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), out_size);
  std::free(out);
  return bytes;
}

}  // namespace

std::string render_photo_jpeg(std::int64_t album, std::int64_t n) {
  static_assert(sizeof(Rgb) == 3, "scanlines are handed to libjpeg as packed RGB");
  std::uint32_t seed = photo_seed(album, n);
  Canvas canvas;
  canvas.gradient(seed);

  // Photo numbers have at most five digits; size them to fill most of the width.
  int digits = static_cast<int>(std::to_string(n).size());
  int scale = std::min(14, (kPhotoWidth - 40) / (digits * 6));
  int width = (digits * 6 - 1) * scale;
  canvas.number(n, (kPhotoWidth - width) / 2, (kPhotoHeight - 7 * scale) / 2 + 10, scale, {250, 250, 245});
  canvas.number(album, 8, 8, 2, {235, 235, 235});
  return encode(canvas.pixels());
}

}  // namespace lumadex::site
