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

std::uint32_t mix32(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

// 0..255 at a lattice point, the same for the same seed and point.
int lattice(std::uint32_t seed, int x, int y) {
  return static_cast<int>(mix32(seed ^ mix32(static_cast<std::uint32_t>(x) * 0x9e3779b1u ^
                                             static_cast<std::uint32_t>(y) * 0x85ebca77u)) &
                          0xFF);
}

// Smooth value noise, 0..255, over cells of `cell` pixels, its lattice worked out once
// for the whole picture; integer maths only, so every build of the site gives the same
// picture.
class ValueNoise {
 public:
  ValueNoise(std::uint32_t seed, int cell, int width, int height)
      : cell_(cell), columns_(width / cell + 2), values_(static_cast<std::size_t>(columns_) * (height / cell + 2)) {
    for (std::size_t i = 0; i < values_.size(); ++i)
      values_[i] = lattice(seed, static_cast<int>(i % static_cast<std::size_t>(columns_)),
                           static_cast<int>(i / static_cast<std::size_t>(columns_)));
  }

  int at(int x, int y) const {
    const int cx = x / cell_, cy = y / cell_;
    const int sx = ease((x % cell_) * 256 / cell_), sy = ease((y % cell_) * 256 / cell_);
    const int* row = &values_[static_cast<std::size_t>(cy) * columns_ + cx];
    const int top = row[0] * (256 - sx) + row[1] * sx;
    const int bottom = row[columns_] * (256 - sx) + row[columns_ + 1] * sx;
    return (top * (256 - sy) + bottom * sy) >> 16;
  }

 private:
  static int ease(int f) { return f * f * (768 - 2 * f) / 65536; }  // smoothstep on 0..256

  int cell_;
  int columns_;
  std::vector<int> values_;
};

class Canvas {
 public:
  Canvas(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}
  // One copy of the backdrop's bytes and nothing else: drawing over a shared backdrop is
  // meant to cost little more than the encoding.
  explicit Canvas(const Backdrop& b)
      : width_(b.size.width),
        height_(b.size.height),
        pixels_(reinterpret_cast<const Rgb*>(b.rgb.data()), reinterpret_cast<const Rgb*>(b.rgb.data()) + b.rgb.size() / 3) {}

  int width() const { return width_; }
  int height() const { return height_; }

  void gradient(std::uint32_t seed) {
    Rgb from = colour(seed), to = colour(seed >> 11 ^ 0x9e3779b9u);
    int angle = static_cast<int>(seed % 3);  // across, down or diagonal
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        int t = angle == 0 ? x * 255 / (width_ - 1)
                : angle == 1 ? y * 255 / (height_ - 1)
                             : (x + y) * 255 / (width_ + height_ - 2);
        at(x, y) = mix(from, to, t);
      }
    }
  }

  // Sky above a line of hills, textured ground below, and a camera's fine grain over all.
  // How much grain and detail varies by photo, and with it the size of the file.
  void landscape(std::uint32_t seed) {
    const Rgb skyTop = colour(seed), skyLow = lighten(colour(seed >> 7 ^ 0x5bd1e995u));
    const Rgb hill = darken(colour(seed >> 13 ^ 0x27d4eb2du)), ground = colour(seed >> 3 ^ 0x165667b1u);
    const int grain = 6 + static_cast<int>(mix32(seed ^ 0xa5a5a5a5u) % 13);  // 6..18 levels
    const int detail = 40 + static_cast<int>(mix32(seed ^ 0x3c6ef372u) % 60);
    const ValueNoise far(seed ^ 0x1111u, 173, width_, 1), close(seed ^ 0x2222u, 41, width_, 1);
    const ValueNoise clouds(seed ^ 0x3333u, 97, width_, 2 * height_);
    const ValueNoise broad(seed ^ 0x4444u, 61, width_, height_), middle(seed ^ 0x5555u, 17, width_, height_),
        fine(seed ^ 0x6666u, 5, width_, height_);
    std::vector<int> ridge(static_cast<std::size_t>(width_));
    for (int x = 0; x < width_; ++x) {
      const int wave = far.at(x, 0) * 2 + close.at(x, 0);
      ridge[static_cast<std::size_t>(x)] = height_ * 3 / 10 + wave * height_ / (3 * 255 * 3);
    }
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const int horizon = ridge[static_cast<std::size_t>(x)];
        Rgb c;
        if (y < horizon) {
          // Sky with soft clouds.
          const int cloud = clouds.at(x, y * 2);
          c = mix(mix(skyTop, skyLow, y * 255 / std::max(1, horizon)), Rgb{245, 245, 250},
                  std::max(0, cloud - 150) * 2);
        } else {
          // Fields and rocks: three octaves of noise, stronger in the nearer (lower) part.
          const int near = (y - horizon) * 255 / std::max(1, height_ - horizon);
          const int field = (broad.at(x, y) * 4 + middle.at(x, y) * 2 + fine.at(x, y) * 2) / 8;
          c = mix(mix(hill, ground, near), darken(ground), field);
          c = shade(c, (field - 128) * detail * (64 + near) / (128 * 100 * 2));
        }
        const int noise = static_cast<int>(mix32(seed ^ static_cast<std::uint32_t>(y * width_ + x) * 0x9e3779b1u) %
                                           static_cast<std::uint32_t>(2 * grain + 1)) - grain;
        at(x, y) = shade(c, noise);
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
  Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  static Rgb colour(std::uint32_t s) {
    return {static_cast<std::uint8_t>(40 + s % 180), static_cast<std::uint8_t>(40 + (s >> 8) % 180),
            static_cast<std::uint8_t>(40 + (s >> 16) % 180)};
  }
  static Rgb lighten(Rgb c) { return mix(c, Rgb{255, 255, 255}, 110); }
  static Rgb darken(Rgb c) { return mix(c, Rgb{0, 0, 0}, 120); }
  static Rgb shade(Rgb c, int by) {
    auto s = [by](int v) { return static_cast<std::uint8_t>(std::clamp(v + by, 0, 255)); };
    return {s(c.r), s(c.g), s(c.b)};
  }

  static Rgb mix(Rgb a, Rgb b, int t) {
    t = std::clamp(t, 0, 255);
    auto m = [t](int p, int q) { return static_cast<std::uint8_t>((p * (255 - t) + q * t) / 255); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
  }

  void block(int x0, int y0, int size, Rgb c) {
    for (int y = std::max(0, y0); y < std::min(height_, y0 + size); ++y) {
      for (int x = std::max(0, x0); x < std::min(width_, x0 + size); ++x) {
        at(x, y) = c;
      }
    }
  }

  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// libjpeg reports errors by calling error_exit, which must not return; jump back out.
struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf env;
};

void on_jpeg_error(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->env, 1); }

std::string encode(const Canvas& canvas) {
  const std::vector<Rgb>& pixels = canvas.pixels();
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
  info.image_width = static_cast<JDIMENSION>(canvas.width());
  info.image_height = static_cast<JDIMENSION>(canvas.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(&pixels[info.next_scanline * static_cast<std::size_t>(canvas.width())]));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), out_size);
  std::free(out);
  return bytes;
}

}  // namespace

PhotoSize photo_size(std::int64_t album, std::int64_t n, bool small) {
  if (small) return {kSmallPhotoWidth, kSmallPhotoHeight};
  return {kPhotoWidth, mix32(photo_seed(album, n) ^ 0x68e31da4u) % 3 == 0 ? 480 : 540};
}

Backdrop render_backdrop(std::uint32_t seed, PhotoSize size, bool small) {
  static_assert(sizeof(Rgb) == 3, "scanlines are handed to libjpeg as packed RGB");
  Canvas canvas(size.width, size.height);
  if (small) canvas.gradient(seed);
  else canvas.landscape(seed);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(canvas.pixels().data());
  return {size, small, std::vector<std::uint8_t>(bytes, bytes + canvas.pixels().size() * sizeof(Rgb))};
}

std::string render_photo_on(const Backdrop& backdrop, std::int64_t album, std::int64_t n) {
  Canvas canvas(backdrop);
  const PhotoSize size = backdrop.size;
  // Photo numbers have at most five digits; size them to fill most of the width.
  int digits = static_cast<int>(std::to_string(n).size());
  int scale = std::min(backdrop.small ? 14 : 30, (size.width - 40) / (digits * 6));
  int width = (digits * 6 - 1) * scale;
  canvas.number(n, (size.width - width) / 2, (size.height - 7 * scale) / 2 + 10, scale, {250, 250, 245});
  canvas.number(album, 8, 8, backdrop.small ? 2 : 4, {235, 235, 235});
  return encode(canvas);
}

std::string render_photo_jpeg(std::int64_t album, std::int64_t n, bool small) {
  return render_photo_on(render_backdrop(photo_seed(album, n), photo_size(album, n, small), small), album, n);
}

}  // namespace lumadex::site
