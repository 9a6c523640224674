// The autocorrelation coefficient as the straightforward per-lag loop forms
// it: two sums for the means, then the three sums of the products, every
// sum a float running sum in index order. The fast kernel of LDASTAT must
// give exactly these values; tests and benchmarks compare against it.
#pragma once

#include <cmath>

inline float direct_correlation_at_lag(const double* x, int n, int k) {
  int m = n - k;
  float a_sum = 0.0f;
  for (int i = 0; i < m; ++i) a_sum += x[i];
  float b_sum = 0.0f;
  for (int i = 0; i < m; ++i) b_sum += x[i + k];
  float a_mean = a_sum / m;
  float b_mean = b_sum / m;
  float cov = 0.0f;
  float var_a = 0.0f;
  float var_b = 0.0f;
  for (int i = 0; i < m; ++i) {
    cov += (x[i + k] - b_mean) * (x[i] - a_mean);
    var_a += (x[i] - a_mean) * (x[i] - a_mean);
    var_b += (x[i + k] - b_mean) * (x[i + k] - b_mean);
  }
  return static_cast<float>(cov / (std::sqrt(static_cast<double>(var_a)) *
                                   std::sqrt(static_cast<double>(var_b))));
}
