// The autocorrelation of a full-length resampled series: the straightforward
// per-lag loop against the kernel that computes lags side by side. Both give
// the same table bit for bit (tests/ldastat/autocorrelation_test.cpp); the
// figure to compare is the time per lag ("per_lag").
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "ldastat/input/series_buffers.h"
#include "ldastat/spectral/correlation_kernel.h"
#include "tests/support/direct_correlation.h"

static const std::vector<double>& full_series() {
  static std::vector<double> x = [] {
    std::vector<double> series(max_series_samples);
    std::mt19937_64 random(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    double fluctuation = 0.0;
    for (double& value : series) {
      fluctuation = 0.99 * fluctuation + noise(random);
      value = 5.0 + 0.1 * fluctuation;
    }
    return series;
  }();
  return x;
}

static const std::vector<float>& full_leading_sums() {
  static std::vector<float> sums = [] {
    const std::vector<double>& x = full_series();
    std::vector<float> leading(x.size() + 1);
    leading_float_sums(x.data(), static_cast<int>(x.size()), leading.data());
    return leading;
  }();
  return sums;
}

static void per_lag_counter(benchmark::State& state, int lags_per_iteration) {
  state.counters["per_lag"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * lags_per_iteration,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The lags 1 ... 8 (any lags near the start cost the same: about 2n pairs).
static void direct_per_lag_loop(benchmark::State& state) {
  const std::vector<double>& x = full_series();
  int n = static_cast<int>(x.size());
  for (auto _ : state)
    for (int k = 1; k <= 8; ++k) benchmark::DoNotOptimize(direct_correlation_at_lag(x.data(), n, k));
  per_lag_counter(state, 8);
}
BENCHMARK(direct_per_lag_loop)->Unit(benchmark::kMillisecond);

// The kernel on the same lags, `state.range(0)` lags per call.
static void lags_side_by_side(benchmark::State& state) {
  const std::vector<double>& x = full_series();
  const std::vector<float>& leading = full_leading_sums();
  int n = static_cast<int>(x.size());
  int lags = static_cast<int>(state.range(0));
  std::vector<float> out(lags);
  for (auto _ : state) {
    correlation_at_lags(x.data(), n, leading.data(), 1, lags, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  per_lag_counter(state, lags);
}
BENCHMARK(lags_side_by_side)->Arg(correlation_block_lags)->Arg(8 * correlation_block_lags)->Unit(benchmark::kMillisecond);

// The one pass of leading-part sums, paid once per series.
static void leading_sums_pass(benchmark::State& state) {
  const std::vector<double>& x = full_series();
  std::vector<float> leading(x.size() + 1);
  for (auto _ : state) {
    leading_float_sums(x.data(), static_cast<int>(x.size()), leading.data());
    benchmark::DoNotOptimize(leading.data());
  }
}
BENCHMARK(leading_sums_pass)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
