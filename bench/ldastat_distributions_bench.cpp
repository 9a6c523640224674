// The wind-direction and wind-speed distributions of the largest series
// (1,500,000 samples), against the per-class passes they replace.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/quiet_stdout.h"
#include "ldastat/distributions/deviation_lines.h"
#include "ldastat/distributions/wind_direction.h"
#include "ldastat/distributions/wind_speed.h"
#include "ldastat/input/series_buffers.h"

namespace {

// A full series of normally distributed components, and a working
// directory with the result sub-directories, made once per process.
SeriesBuffers& bench_series() {
  static SeriesBuffers* buffers = [] {
    SeriesBuffers* series = allocate_series_buffers();
    std::mt19937 random(11);
    std::normal_distribution<double> u(5.0, 1.5);
    std::normal_distribution<double> v(0.0, 1.5);
    for (int i = 0; i < max_series_samples; ++i) {
      series->raw[2][i] = u(random);
      series->raw[3][i] = v(random);
    }
    for (int channel = 0; channel < read_channels; ++channel)
      series->raw_count[channel] = max_series_samples;
    std::snprintf(series->series_nbr, sizeof series->series_nbr, "01");
    std::string directory = (std::filesystem::temp_directory_path() /
                             ("ldastat_distributions_bench_" + std::to_string(getpid())))
                                .string();
    std::filesystem::create_directories(directory + "/FLUC_direction");
    std::filesystem::create_directories(directory + "/FLUC_speed");
    if (chdir(directory.c_str()) != 0) std::exit(1);
    static std::string removed = directory;
    std::atexit([] { std::filesystem::remove_all(removed); });
    return series;
  }();
  return *buffers;
}

RunSettings bench_settings() {
  RunSettings settings;
  set_default_settings(settings);
  set_measurement_name(settings, "bench_run001");
  settings.rfn_op = 1;
  return settings;
}

MeasurementInfo bench_info() {
  MeasurementInfo info{};
  std::snprintf(info.wind_direction, sizeof info.wind_direction, "2700");
  std::snprintf(info.component_1, sizeof info.component_1, "U");
  std::snprintf(info.component_2, sizeof info.component_2, "V");
  return info;
}

// The whole operation: directions, console lines, classes and file.
void direction_distribution(benchmark::State& state) {
  SeriesBuffers& series = bench_series();
  static DirectionWork* work = allocate_direction_work();
  RunSettings settings = bench_settings();
  settings.cn_dir = static_cast<int>(state.range(0));
  MeasurementInfo info = bench_info();
  QuietStdout quiet;
  for (auto _ : state) wind_direction_distribution(*work, series, settings, info, 5.0f);
}
BENCHMARK(direction_distribution)->Arg(360)->Arg(3600)->Unit(benchmark::kMillisecond);

std::vector<double> bench_deviations() {
  std::vector<double> deviation(max_series_samples);
  std::mt19937 random(5);
  std::normal_distribution<double> spread(0.0, 20.0);
  for (double& value : deviation) value = std::fmod(spread(random), 180.0);
  return deviation;
}

// The console lines alone, as written, and through one printf per line.
void deviation_lines(benchmark::State& state) {
  std::vector<double> deviation = bench_deviations();
  QuietStdout quiet;
  for (auto _ : state) write_deviation_lines(stdout, deviation.data(), max_series_samples);
}
BENCHMARK(deviation_lines)->Unit(benchmark::kMillisecond);

void deviation_lines_printf(benchmark::State& state) {
  std::vector<double> deviation = bench_deviations();
  QuietStdout quiet;
  for (auto _ : state)
    for (double value : deviation) std::printf(" delta: %3.2lf\n", value);
}
BENCHMARK(deviation_lines_printf)->Unit(benchmark::kMillisecond);

// The counting as first specified, one pass over the samples per class
// (direction (I) and deviation together, direction (II) apart), without
// console lines or file: the figure the one-pass counting replaces.
void direction_per_class_passes(benchmark::State& state) {
  SeriesBuffers& series = bench_series();
  int n = max_series_samples;
  std::vector<double> direction_1(n), deviation(n), direction_2(n);
  std::vector<double> count_1(361), count_deviation(361), count_2(361);
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
      direction_1[i] = std::atan2(series.raw[3][i], series.raw[2][i]) * 57.29577950560105;
      sum += direction_1[i];
    }
    double mean = sum / n;
    for (int i = 0; i < n; ++i) {
      deviation[i] = direction_1[i] - mean;
      if (deviation[i] < -180) deviation[i] += 360;
      if (deviation[i] >= 180) deviation[i] += -360;
      direction_2[i] = 270.0 + direction_1[i];
      if (direction_2[i] < 0) direction_2[i] += 360;
      if (direction_2[i] >= 360) direction_2[i] += -360;
    }
    double w = 1.0;
    double lo = -180.0, hi = lo + w;
    int j = 0;
    do {
      count_1[j] = count_deviation[j] = 0;
      for (int i = 0; i < n; ++i) {
        if (lo <= direction_1[i] && direction_1[i] < hi) count_1[j] += 1;
        if (lo <= deviation[i] && deviation[i] < hi) count_deviation[j] += 1;
      }
      lo += w;
      hi += w;
      ++j;
    } while (hi <= 180.0);
    lo = 0.0;
    hi = w;
    j = 0;
    do {
      count_2[j] = 0;
      for (int i = 0; i < n; ++i)
        if (lo <= direction_2[i] && direction_2[i] < hi) count_2[j] += 1;
      lo += w;
      hi += w;
      ++j;
    } while (hi <= 360.0);
    benchmark::DoNotOptimize(count_1.data());
    benchmark::DoNotOptimize(count_deviation.data());
    benchmark::DoNotOptimize(count_2.data());
  }
}
BENCHMARK(direction_per_class_passes)->Unit(benchmark::kMillisecond)->Iterations(1);

void speed_distribution(benchmark::State& state) {
  SeriesBuffers& series = bench_series();
  RunSettings settings = bench_settings();
  settings.cn_spd = static_cast<int>(state.range(0));
  MeasurementInfo info = bench_info();
  for (auto _ : state) wind_speed_distribution(series, settings, info, 5.0f, 0);
}
BENCHMARK(speed_distribution)->Arg(0)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
