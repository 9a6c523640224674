#include "ldastat/stats/moments.h"

#include <cmath>
#include <limits>

// Two-sided normal quantile of the confidence level; 0 for a level the
// table does not know, which makes the interval 0.
static double confidence_quantile(double conf_i) {
  if (conf_i == 90.0) return 1.645;
  if (conf_i == 95.0) return 1.96;
  if (conf_i == 99.0) return 2.576;
  return 0.0;
}

// Every running sum below is a 32-bit float rounded after each addition in
// index order: the terms are formed in double, the sum is stored back as
// float. With one million samples of 10.25 the mean comes out as 10.1023.
static float float_sum(const double* x, int n) {
  float sum = 0.0f;
  for (int i = 0; i < n; ++i) sum = static_cast<float>(sum + x[i]);
  return sum;
}

static void component_moments(const double* x, int n, double z, int c, MomentStatistics& moments) {
  float mean = float_sum(x, n) / static_cast<float>(n);
  float squares = 0.0f;
  for (int i = 0; i < n; ++i) {
    double d = x[i] - mean;
    squares = static_cast<float>(squares + d * d);
  }
  float cubes = 0.0f;
  float fourths = 0.0f;
  for (int i = 0; i < n; ++i) {
    double d = x[i] - mean;
    cubes = static_cast<float>(cubes + d * d * d);
    fourths = static_cast<float>(fourths + d * d * d * d);
  }
  moments.mean[c] = mean;
  moments.rms[c] = static_cast<float>(std::sqrt(squares * (1.0 / n)));
  moments.confidence[c] = static_cast<float>(moments.rms[c] / std::sqrt(static_cast<double>(n)) * z);
  // Skewness and flatness of a component without spread are 0/0: undefined.
  if (squares == 0.0f) {
    moments.skewness[c] = std::numeric_limits<float>::quiet_NaN();
    moments.flatness[c] = std::numeric_limits<float>::quiet_NaN();
    return;
  }
  // The sum of squares of the third pass is formed exactly like `squares`
  // and is the same value.
  double s2 = squares;
  moments.skewness[c] = static_cast<float>(std::sqrt(static_cast<double>(n)) * cubes / std::pow(s2, 1.5));
  moments.flatness[c] = static_cast<float>(n * static_cast<double>(fourths) / (s2 * s2));
}

void compute_moments(const SeriesBuffers& buffers, double conf_i, MomentStatistics& moments) {
  int n = buffers.raw_count[0];
  double z = confidence_quantile(conf_i);
  component_moments(buffers.raw[2], n, z, 0, moments);
  component_moments(buffers.raw[3], n, z, 1, moments);
  float products = 0.0f;
  for (int i = 0; i < n; ++i)
    products = static_cast<float>(products + (buffers.raw[2][i] - moments.mean[0]) *
                                                 (buffers.raw[3][i] - moments.mean[1]));
  moments.covariance = products / static_cast<float>(n);
}
