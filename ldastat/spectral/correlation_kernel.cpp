#include "ldastat/spectral/correlation_kernel.h"

#include <cassert>
#include <cmath>
#include <cstring>

// A block of lags runs as pairs of lanes, one lane per lag: two doubles
// in one vector register. The lanes hold doubles whose values are always
// 32-bit floats: each addition is done in double and rounded back, exactly
// as `float sum; sum += x;` does. Pairs (not one wide vector) keep every
// rounding a plain convert down and up, without shuffles.
typedef double LanePair __attribute__((vector_size(2 * sizeof(double))));
typedef float FloatPair __attribute__((vector_size(2 * sizeof(float))));
constexpr int pair_count = correlation_block_lags / 2;
static_assert(correlation_block_lags % 2 == 0, "lags come in pairs");

// The helpers take the lanes by reference: a vector passed by value would
// depend on the vector registers of the target.
static void round_to_float(LanePair& value) {
  value = __builtin_convertvector(__builtin_convertvector(value, FloatPair), LanePair);
}

static void load_pair(LanePair& value, const double* first) {
  std::memcpy(&value, first, sizeof value);
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
// lagged[l + i], so the lagged samples of a pair of lanes are one load. The
// first `common` pairs of samples exist in every lane; the longer lanes then
// finish their chains one by one, still in index order. The pair loops are
// unrolled so that every accumulator can stay in a register.
static void correlation_block(const double* x, int n, const float* leading_sums, int k0,
                              float* out) {
  const double* lagged = x + k0;
  int common = n - k0 - (correlation_block_lags - 1);
  assert(common >= 1);

  LanePair b_sum[pair_count] = {};
  for (int i = 0; i < common; ++i) {
#pragma GCC unroll 16
    for (int p = 0; p < pair_count; ++p) {
      LanePair xb;
      load_pair(xb, lagged + i + 2 * p);
      b_sum[p] += xb;
      round_to_float(b_sum[p]);
    }
  }
  LanePair a_mean[pair_count];
  LanePair b_mean[pair_count];
  for (int l = 0; l < correlation_block_lags; ++l) {
    int m = n - k0 - l;
    float sum = static_cast<float>(b_sum[l / 2][l % 2]);
    for (int i = common; i < m; ++i) sum = static_cast<float>(sum + lagged[l + i]);
    a_mean[l / 2][l % 2] = leading_sums[m] / static_cast<float>(m);
    b_mean[l / 2][l % 2] = sum / static_cast<float>(m);
  }

  LanePair cov[pair_count] = {};
  LanePair var_a[pair_count] = {};
  LanePair var_b[pair_count] = {};
  for (int i = 0; i < common; ++i) {
    LanePair xa = {x[i], x[i]};
#pragma GCC unroll 16
    for (int p = 0; p < pair_count; ++p) {
      LanePair xb;
      load_pair(xb, lagged + i + 2 * p);
      LanePair da = xa - a_mean[p];
      LanePair db = xb - b_mean[p];
      cov[p] += db * da;
      var_a[p] += da * da;
      var_b[p] += db * db;
      round_to_float(cov[p]);
      round_to_float(var_a[p]);
      round_to_float(var_b[p]);
    }
  }
  for (int l = 0; l < correlation_block_lags; ++l) {
    int m = n - k0 - l;
    double am = a_mean[l / 2][l % 2];
    double bm = b_mean[l / 2][l % 2];
    float c = static_cast<float>(cov[l / 2][l % 2]);
    float va = static_cast<float>(var_a[l / 2][l % 2]);
    float vb = static_cast<float>(var_b[l / 2][l % 2]);
    for (int i = common; i < m; ++i) {
      double da = x[i] - am;
      double db = lagged[l + i] - bm;
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
