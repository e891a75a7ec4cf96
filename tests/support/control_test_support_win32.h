// Shared pieces of the window tests of the program's own controls: a host window to put them
// on, a control's picture read back through WM_PRINTCLIENT, the colour arithmetic the expected
// pictures are worked out with (here, from the drawing rules, never asked of the code under
// test), and icon files made on the spot.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "winmsg/colour.h"
#include "winmsg/unique_handle_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex::test {

// A visible, active top-level window to place controls on.
class TestHost : public WindowBase {
 public:
  TestHost();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override { return DefaultHandling(msg, wp, lp); }
};

// The nearest whole number, halves to the even neighbour.
inline int HalfEven(double v) {
  const double below = std::floor(v);
  const double f = v - below;
  long long r = static_cast<long long>(below);
  if (f > 0.5 || (f == 0.5 && (r % 2) != 0)) ++r;
  return static_cast<int>(r);
}

inline int Clamp255(int v) { return std::clamp(v, 0, 255); }

// The grey of the same lightness: the mean of the three channels, halves to even.
inline Colour Grey(Colour c) {
  const int level = HalfEven((RedOf(c) + GreenOf(c) + BlueOf(c)) / 3.0);
  return Rgb(level, level, level);
}

// A linear gradient's colour at step i of n.
inline Colour Blend(Colour a, Colour b, int i, int n) {
  auto mix = [&](int x, int y) { return x + (y - x) * i / n; };
  return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

inline bool Near(Colour got, Colour want, int tolerance) {
  return std::abs(RedOf(got) - RedOf(want)) <= tolerance && std::abs(GreenOf(got) - GreenOf(want)) <= tolerance &&
         std::abs(BlueOf(got) - BlueOf(want)) <= tolerance;
}

inline std::string Show(Colour c) {
  return "(" + std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," + std::to_string(BlueOf(c)) + ")";
}

// A picture in colour values (red in the low byte), row by row: a control's client area as
// WM_PRINTCLIENT draws it into a 32-bit DIB prefilled with `sentinel`, or one filled here.
class Picture {
 public:
  explicit Picture(HWND control, Colour sentinel = Rgb(255, 0, 255));
  Picture(int width, int height, Colour fill)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
  // Pixels outside the picture are not written.
  void Set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[Index(x, y)] = c;
  }
  const std::vector<Colour>& pixels() const { return pixels_; }
  bool operator==(const Picture&) const = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  int width_ = 0, height_ = 0;
  std::vector<Colour> pixels_;
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

// A copy of a window's region; empty when the window has none.
Region WindowRegionOf(HWND window);

// The text extent in the font the stored sets describe, measured here.
SIZE MeasureText(const std::wstring& text, const wchar_t* face, int pixelHeight, int charset);

// The bytes of an icon file with one size × size 32-bit image whose pixels come from `pixel`
// (red in the low byte); fully opaque.
std::vector<std::uint8_t> IconFile(int size, const std::function<Colour(int x, int y)>& pixel);

// One system colour changed for as long as this lives, then put back; the platform tells every
// top-level window of the change both times.
class SystemColourChange {
 public:
  SystemColourChange(int index, Colour colour);
  ~SystemColourChange();
  SystemColourChange(const SystemColourChange&) = delete;
  SystemColourChange& operator=(const SystemColourChange&) = delete;

 private:
  int index_;
  COLORREF previous_;
};

// Top-level windows of the calling thread, visible or not (tooltips among them).
int ThreadTopLevelWindowCount();

}  // namespace lumadex::test
