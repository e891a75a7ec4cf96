// Fonts as the program's components keep them (a face, a size in points that may carry a
// fraction, weight, style and character set), and how a size in points becomes the height of
// a logical font at a given resolution.
#pragma once
#include <string>

namespace lumadex {

struct StoredFont {
  std::wstring face;
  double points = 9.0;  // may carry a fraction, as 10.5 does
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  int charset = 1;  // the platform's "default" character set
  bool operator==(const StoredFont&) const = default;
};

enum class PointRounding {
  // The pixel height points × dpi / 72 is rounded to the nearest whole number, halves to the
  // even neighbour: the controls and the main window, whose sizes carry fractions (8.25, 10.5).
  Exact,
  // The size is first rounded to whole points (halves to even), then scaled as the platform's
  // MulDiv does (halves away from zero): the skinned frame's caption and menu fonts.
  WholePoints,
};

// The lfHeight of a logical font: negative, so that it asks for a character height.
long LogFontHeight(double points, int dpi, PointRounding rounding);

// a × b / c rounded to the nearest whole number, halves away from zero, as the platform's
// MulDiv; −1 when c is 0 or the result does not fit.
long MulDivRounded(long a, long b, long c);

// The nearest whole number, halves to the even neighbour, whatever the floating-point
// rounding mode is.
long long RoundHalfEven(double value);

}  // namespace lumadex
