#include "controls/button/button_geometry.h"

#include <cmath>
#include <cstdlib>

#include "controls/button/button_model.h"

namespace lumadex::button {

int MinimumPixels(int dpi) { return static_cast<int>(std::lrint(kMinimumTwips * dpi / 1440.0)); }

int AtLeastMinimum(int pixels, int dpi) {
  const int minimum = MinimumPixels(dpi);
  return pixels < minimum ? minimum : pixels;
}

std::uint32_t CaptionFormat(std::int32_t captionAlign, std::uint32_t previous) {
  switch (captionAlign) {
    case kAlignCentre:
      return 0x25;
    case kAlignLeft:
      return 0x24;
    case kAlignRight:
      return 0x26;
    case kAlignTop:
      return 0x21;
    case kAlignBottom:
      return 0x29;
    default:
      return previous;
  }
}

Point IconPosition(std::int32_t iconAlign, int w, int h, int s, int m) {
  // Halves go to even, as every pixel coordinate formed from a division does.
  auto half = [](int v) { return static_cast<int>(std::lrint(v / 2.0)); };
  const int cx = half(w - s), cy = half(h - s);
  switch (iconAlign) {
    case kAlignLeft:
      return {m, cy};
    case kAlignRight:
      return {w - s - m, cy};
    case kAlignTop:
      return {cx, m};
    case kAlignBottom:
      return {cx, h - s - m};
    default:
      return {cx, cy};
  }
}

RegionShape RegionOf(std::int32_t drawnStyle) {
  switch (drawnStyle) {
    case kStyleBlueFrame:
    case kStyleGlass:
      return RegionShape::OctagonA;
    case kStyleGradient:
    case kStyleMetal:
      return RegionShape::OctagonB;
    case kStyleRounded:
      return RegionShape::RoundedRectangle;
    default:
      return RegionShape::Rectangle;
  }
}

std::vector<Point> RegionPolygon(RegionShape shape, int w, int h) {
  switch (shape) {
    case RegionShape::OctagonA:
      return {{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}};
    case RegionShape::OctagonB:
      return {{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}};
    default:
      return {};
  }
}

std::vector<Point> LinePixels(int x1, int y1, int x2, int y2) {
  std::vector<Point> pixels;
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    pixels.push_back({x, y});
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  return pixels;
}

std::optional<wchar_t> AccessKeyOf(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    wchar_t c = caption[i + 1];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return c;
  }
  return std::nullopt;
}

}  // namespace lumadex::button
