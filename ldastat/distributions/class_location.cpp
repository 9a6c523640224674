#include "ldastat/distributions/class_location.h"

#include <algorithm>

// First guess from the nominal width; x - b[0] >= 0 here. An infinite or NaN
// guess (zero or tiny widths) gives the last class.
static int guess_class(const double* bounds, int count, double inverse_width, double x) {
  double guess = (x - bounds[0]) * inverse_width;
  return guess < count ? static_cast<int>(guess) : count - 1;
}

int locate_closed_below(const double* bounds, int count, double inverse_width, double x) {
  if (!(x >= bounds[0] && x < bounds[count])) return -1;
  int t = guess_class(bounds, count, inverse_width, x);
  if (bounds[t] <= x && x < bounds[t + 1]) return t;
  if (t > 0 && bounds[t - 1] <= x && x < bounds[t]) return t - 1;
  if (t + 1 < count && bounds[t + 1] <= x && x < bounds[t + 2]) return t + 1;
  // The last bound not above x; below bounds[count] by the range test.
  return static_cast<int>(std::upper_bound(bounds, bounds + count + 1, x) - bounds) - 1;
}

int locate_closed_above(const double* bounds, int count, double inverse_width, double x) {
  if (!(x > bounds[0] && x <= bounds[count])) return -1;
  int t = guess_class(bounds, count, inverse_width, x);
  if (bounds[t] < x && x <= bounds[t + 1]) return t;
  if (t > 0 && bounds[t - 1] < x && x <= bounds[t]) return t - 1;
  if (t + 1 < count && bounds[t + 1] < x && x <= bounds[t + 2]) return t + 1;
  // The first bound not below x, which is above bounds[0] by the range test.
  return static_cast<int>(std::lower_bound(bounds, bounds + count + 1, x) - bounds) - 1;
}
