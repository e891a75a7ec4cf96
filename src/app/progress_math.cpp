#include "app/progress_math.h"

namespace lumadex {

std::optional<int> ProgressPercent(int done, int total) {
  if (total == 0) return std::nullopt;
  // In integers, so the result does not depend on the floating-point rounding mode
  // (std::lround would send every half away from zero).
  long long numerator = 100LL * done;
  long long denominator = total;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const bool negative = numerator < 0;
  const long long magnitude = negative ? -numerator : numerator;
  long long quotient = magnitude / denominator;
  const long long twiceRemainder = 2 * (magnitude % denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) {
    ++quotient;
  }
  return static_cast<int>(negative ? -quotient : quotient);
}

}  // namespace lumadex
