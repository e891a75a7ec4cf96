// Sizes, rectangles, outlines and text placement of the push button, in pixels.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lumadex::button {

struct Point {
  int x, y;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left, top, right, bottom;
  bool operator==(const Rect&) const = default;
};

// A button is never smaller than 300 twips either way: 20 pixels at 96 dots per inch.
inline constexpr int kMinimumTwips = 300;
int MinimumPixels(int dpi);
// The size a resize settles on.
int AtLeastMinimum(int pixels, int dpi);

inline Rect ButtonRect(int w, int h) { return {0, 0, w, h}; }
inline Rect CaptionRect(int w, int h) { return {4, 4, w - 4, h - 4}; }

// Single-line text flags of the platform for a caption alignment; another value keeps `previous`.
inline constexpr std::uint32_t kCentredWordWrap = 0x11;  // centred with word wrap, until the first resize
std::uint32_t CaptionFormat(std::int32_t captionAlign, std::uint32_t previous);

// Where an icon of size s goes on a w × h surface with margin m; outside alignments centre it.
Point IconPosition(std::int32_t iconAlign, int w, int h, int s, int m);

// The window outline of a style.
enum class RegionShape { Rectangle, OctagonA, OctagonB, RoundedRectangle };
RegionShape RegionOf(std::int32_t drawnStyle);
// The polygon of an octagon (empty for the other shapes).
std::vector<Point> RegionPolygon(RegionShape shape, int w, int h);
inline constexpr int kRoundedCorner = 18;

// The pixels of a 1-pixel line from (x1, y1) to (x2, y2), the end point excluded.
std::vector<Point> LinePixels(int x1, int y1, int x2, int y2);

// The access key of a caption: the character after a single "&" ("&&" is a literal "&"),
// upper-cased for ASCII letters; none when the caption has none.
std::optional<wchar_t> AccessKeyOf(std::wstring_view caption);

}  // namespace lumadex::button
