// Reading a progress bar's picture for tests, and the expected colours worked out here from
// the drawing rules rather than asked of the code under test.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace lumadex::test {

using Rgb3 = std::uint32_t;  // red + 256 green + 65536 blue

constexpr Rgb3 MakeRgb(int r, int g, int b) {
  return static_cast<Rgb3>(r) | static_cast<Rgb3>(g) << 8 | static_cast<Rgb3>(b) << 16;
}
constexpr int R(Rgb3 c) { return static_cast<int>(c & 0xFF); }
constexpr int G(Rgb3 c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int B(Rgb3 c) { return static_cast<int>((c >> 16) & 0xFF); }

inline int HalfEven(double v) {
  const double below = std::floor(v);
  const double f = v - below;
  long long r = static_cast<long long>(below);
  if (f > 0.5 || (f == 0.5 && (r % 2) != 0)) ++r;
  return static_cast<int>(r);
}

inline Rgb3 Grey(Rgb3 c) {
  const int level = HalfEven((R(c) + G(c) + B(c)) / 3.0);
  return MakeRgb(level, level, level);
}

// A linear gradient's colour at step i of n.
inline Rgb3 Blend(Rgb3 a, Rgb3 b, int i, int n) {
  auto mix = [&](int x, int y) { return x + (y - x) * i / n; };
  return MakeRgb(mix(R(a), R(b)), mix(G(a), G(b)), mix(B(a), B(b)));
}

inline bool Near(Rgb3 got, Rgb3 want, int tolerance) {
  return std::abs(R(got) - R(want)) <= tolerance && std::abs(G(got) - G(want)) <= tolerance &&
         std::abs(B(got) - B(want)) <= tolerance;
}

inline std::string Show(Rgb3 c) {
  return "(" + std::to_string(R(c)) + "," + std::to_string(G(c)) + "," + std::to_string(B(c)) + ")";
}

// The client area as WM_PRINTCLIENT draws it into a 32-bit DIB prefilled with `sentinel`.
class Picture {
 public:
  explicit Picture(HWND control, Rgb3 sentinel = MakeRgb(255, 0, 255));
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb3 At(int x, int y) const {
    const std::uint32_t v = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return MakeRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom inclusive
  bool empty() const { return right < left; }
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
};
// Where two pictures of one size differ.
Box Difference(const Picture& a, const Picture& b);

// The text extent in the font the stored sets describe, measured here.
SIZE MeasureText(const std::wstring& text, const wchar_t* face, int pixelHeight, int charset);

}  // namespace lumadex::test
