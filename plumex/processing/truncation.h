// Conversion of a computed double to an int field.
#pragma once

#include <cmath>

// Truncation toward zero, clamped to the int range; NaN gives 0 (a plain
// cast of a value outside the range would be undefined).
inline int truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);
}
