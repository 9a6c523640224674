// real_fft on random samples at the default segment length 16384 and a few
// others; every iteration transforms fresh input (the copy is timed too,
// it is a small part).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "ldastat/spectral/real_fft.h"
#include "tests/support/plain_real_fft.h"

namespace {

RealFftTables& bench_tables() {
  static RealFftTables* tables = allocate_real_fft_tables();
  return *tables;
}

std::vector<double> random_samples(int n, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<double> samples(n);
  for (double& sample : samples) sample = value(random);
  return samples;
}

// One transform per iteration on a fresh copy of the same input.
template <typename Transform>
void transform_fresh_input(benchmark::State& state, Transform transform) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> samples = random_samples(n, 1);
  std::vector<double> re(n);
  std::vector<double> im(n);
  for (auto _ : state) {
    std::memcpy(re.data(), samples.data(), n * sizeof(double));
    benchmark::DoNotOptimize(transform(re.data(), im.data(), n));
    benchmark::ClobberMemory();
  }
}

void real_fft_of_length(benchmark::State& state) {
  transform_fresh_input(state, [](double* re, double* im, int n) {
    return real_fft(bench_tables(), re, im, n);
  });
}

// The plain transcription that real_fft replaces, same input and copy.
void plain_real_fft_of_length(benchmark::State& state) {
  transform_fresh_input(state, plain_real_fft);
}

// The transform of one spectrum segment as power_spectrum runs it: from
// the series straight into the half-complex order.
void half_complex_of_length(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> samples = random_samples(n, 2);
  std::vector<double> x(n);
  prepare_real_fft_tables(bench_tables(), n);
  for (auto _ : state) {
    real_fft_half_complex(bench_tables(), samples.data(), x.data(), n);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(real_fft_of_length)->Arg(1024)->Arg(16384)->Arg(65536)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(half_complex_of_length)->Arg(16384)->Unit(benchmark::kMicrosecond);
BENCHMARK(plain_real_fft_of_length)->Arg(16384)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
