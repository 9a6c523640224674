// The whole power spectrum of a 300,000-sample series at the default
// N = 16384 (9,450 segments), file included, in a temporary directory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "ldastat/spectral/power_spectrum.h"

namespace {

constexpr int series_samples = 300000;

void whole_spectrum(benchmark::State& state) {
  static SeriesBuffers* buffers = allocate_series_buffers();
  static SpectrumWork* work = allocate_spectrum_work();

  // A first-order autoregressive series around 5 m/s.
  std::mt19937_64 random(3);
  std::normal_distribution<double> noise(0.0, 1.0);
  double fluctuation = 0.0;
  for (int i = 0; i < series_samples; ++i) {
    fluctuation = 0.95 * fluctuation + noise(random);
    buffers->resampled[2][i] = 5.0 + 0.3 * fluctuation;
  }
  buffers->resampled_count = series_samples;
  std::snprintf(buffers->series_nbr, sizeof buffers->series_nbr, "01");
  std::snprintf(buffers->pos_z, sizeof buffers->pos_z, "100.0");

  RunSettings settings;
  set_default_settings(settings);
  set_measurement_name(settings, "bench_run001");
  settings.rfn_op = 1;
  MeasurementInfo info{};
  std::snprintf(info.component_1, sizeof info.component_1, "U");
  std::snprintf(info.component_2, sizeof info.component_2, "V");
  std::snprintf(info.wind_tunnel, sizeof info.wind_tunnel, "K");
  DataRate rate{1000.0f, 0.001f};
  MomentStatistics moments{};
  moments.mean[0] = 5.0f;

  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("ldastat_spectrum_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(directory / "SPEC");
  std::filesystem::current_path(directory);
  for (auto _ : state)
    power_spectrum(*work, *buffers, settings, info, 5.0f, rate, moments, 0.2f);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(directory);
}

}  // namespace

BENCHMARK(whole_spectrum)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
