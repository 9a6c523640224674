// Pearson coefficients of a series with itself at successive lags.
//
// The coefficient of lag k pairs the leading part x[0 .. n-k-1] with the
// lagged part x[k .. n-1], each with its own mean. Every sum is a 32-bit
// float running sum rounded after each addition, in index order; the
// results are bit for bit those of the direct loop that forms the two
// means and the three sums lag by lag. Speed comes from sharing the
// leading-part sums (prefixes of one running sum) and from running the
// chains of several lags side by side, each still its own sequential sum.
#pragma once

constexpr int correlation_block_lags = 12;  // lags computed side by side

// leading_sums[t] = x[0] + ... + x[t-1] as a float running sum, t = 0 ... n
// (n + 1 values).
void leading_float_sums(const double* x, int n, float* leading_sums);

// out[l] = R[first_lag + l] for l = 0 ... lag_count - 1, from the sums of
// leading_float_sums. Every lag must leave a pair: first_lag + lag_count <= n.
// A lag whose leading or lagged part has no spread gives NaN or infinity.
void correlation_at_lags(const double* x, int n, const float* leading_sums, int first_lag,
                         int lag_count, float* out);
