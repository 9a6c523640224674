#include "ldastat/spectral/correlation_kernel.h"

#include <cassert>
#include <cmath>
#include <cstring>

// One lane per lag of a block. The lanes hold doubles whose values are
// always 32-bit floats: each addition is done in double and rounded back,
// exactly as `float sum; sum += x;` does.
typedef double DoubleLanes __attribute__((vector_size(sizeof(double) * correlation_block_lags)));
typedef float FloatLanes __attribute__((vector_size(sizeof(float) * correlation_block_lags)));

// The helpers take the lanes by reference: a vector passed by value would
// depend on the vector registers of the target.
static void round_to_float(DoubleLanes& value) {
  value = __builtin_convertvector(__builtin_convertvector(value, FloatLanes), DoubleLanes);
}

static void load_lanes(DoubleLanes& value, const double* first) {
  std::memcpy(&value, first, sizeof value);
}

static void broadcast(DoubleLanes& lanes, double value) {
  for (int l = 0; l < correlation_block_lags; ++l) lanes[l] = value;
}

static float pearson(float cov, float var_a, float var_b) {
  return static_cast<float>(cov / (std::sqrt(static_cast<double>(var_a)) *
                                   std::sqrt(static_cast<double>(var_b))));
}

void leading_float_sums(const double* x, int n, float* leading_sums) {
  float sum = 0.0f;
  leading_sums[0] = sum;
  for (int i = 0; i < n; ++i) {
    sum = static_cast<float>(sum + x[i]);
    leading_sums[i + 1] = sum;
  }
}

// One lag on its own, for the last lags of a series.
static float correlation_at_lag(const double* x, int n, const float* leading_sums, int k) {
  int m = n - k;
  const double* lagged = x + k;
  float b_sum = 0.0f;
  for (int i = 0; i < m; ++i) b_sum = static_cast<float>(b_sum + lagged[i]);
  float a_mean = leading_sums[m] / static_cast<float>(m);
  float b_mean = b_sum / static_cast<float>(m);
  float cov = 0.0f;
  float var_a = 0.0f;
  float var_b = 0.0f;
  for (int i = 0; i < m; ++i) {
    double da = x[i] - a_mean;
    double db = lagged[i] - b_mean;
    cov = static_cast<float>(cov + db * da);
    var_a = static_cast<float>(var_a + da * da);
    var_b = static_cast<float>(var_b + db * db);
  }
  return pearson(cov, var_a, var_b);
}

// Lags k0 ... k0 + correlation_block_lags - 1. Lane l pairs x[i] with
// lagged[l + i], so the lagged samples of all lanes are one contiguous load.
// The first `common` pairs exist in every lane; the longer lanes then finish
// their chains one by one, still in index order.
static void correlation_block(const double* x, int n, const float* leading_sums, int k0,
                              float* out) {
  constexpr int lanes = correlation_block_lags;
  const double* lagged = x + k0;
  int common = n - k0 - (lanes - 1);
  assert(common >= 1);

  DoubleLanes b_sum = {};
  DoubleLanes xb;
  for (int i = 0; i < common; ++i) {
    load_lanes(xb, lagged + i);
    b_sum += xb;
    round_to_float(b_sum);
  }
  DoubleLanes a_mean;
  DoubleLanes b_mean;
  for (int l = 0; l < lanes; ++l) {
    int m = n - k0 - l;
    float sum = static_cast<float>(b_sum[l]);
    for (int i = common; i < m; ++i) sum = static_cast<float>(sum + lagged[l + i]);
    a_mean[l] = leading_sums[m] / static_cast<float>(m);
    b_mean[l] = sum / static_cast<float>(m);
  }

  DoubleLanes cov = {};
  DoubleLanes var_a = {};
  DoubleLanes var_b = {};
  DoubleLanes xa;
  for (int i = 0; i < common; ++i) {
    broadcast(xa, x[i]);
    load_lanes(xb, lagged + i);
    DoubleLanes da = xa - a_mean;
    DoubleLanes db = xb - b_mean;
    cov += db * da;
    var_a += da * da;
    var_b += db * db;
    round_to_float(cov);
    round_to_float(var_a);
    round_to_float(var_b);
  }
  for (int l = 0; l < lanes; ++l) {
    int m = n - k0 - l;
    float c = static_cast<float>(cov[l]);
    float va = static_cast<float>(var_a[l]);
    float vb = static_cast<float>(var_b[l]);
    for (int i = common; i < m; ++i) {
      double da = x[i] - a_mean[l];
      double db = lagged[l + i] - b_mean[l];
      c = static_cast<float>(c + db * da);
      va = static_cast<float>(va + da * da);
      vb = static_cast<float>(vb + db * db);
    }
    out[l] = pearson(c, va, vb);
  }
}

void correlation_at_lags(const double* x, int n, const float* leading_sums, int first_lag,
                         int lag_count, float* out) {
  assert(first_lag >= 0 && first_lag + lag_count <= n);
  int l = 0;
  for (; l + correlation_block_lags <= lag_count; l += correlation_block_lags)
    correlation_block(x, n, leading_sums, first_lag + l, out + l);
  for (; l < lag_count; ++l) out[l] = correlation_at_lag(x, n, leading_sums, first_lag + l);
}
