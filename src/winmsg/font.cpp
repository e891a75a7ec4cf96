#include "winmsg/font.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace lumadex {

long long RoundHalfEven(double value) {
  const double below = std::floor(value);
  long long result = static_cast<long long>(below);
  const double fraction = value - below;
  if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) ++result;
  return result;
}

long MulDivRounded(long a, long b, long c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t magnitude = (product < 0 ? -product : product) + divisor / 2;
  std::int64_t result = magnitude / divisor;
  if ((product < 0) != (c < 0)) result = -result;
  if (result > std::numeric_limits<std::int32_t>::max() || result < std::numeric_limits<std::int32_t>::min())
    return -1;
  return static_cast<long>(result);
}

long LogFontHeight(double points, int dpi, PointRounding rounding) {
  if (rounding == PointRounding::WholePoints)
    return -MulDivRounded(static_cast<long>(RoundHalfEven(points)), dpi, 72);
  return -static_cast<long>(RoundHalfEven(points * dpi / 72.0));
}

}  // namespace lumadex
