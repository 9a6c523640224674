// Reading a full series file (4 channels of 1,500,000 samples, 48 MB) from
// a warm page cache, and clearing the series buffers before a series.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/quiet_stdout.h"
#include "ldastat/input/series_buffers.h"
#include "ldastat/input/series_file.h"
#include "tools/lda_measurement_generator/measurement_writer.h"
#include "tools/lda_measurement_generator/synthetic_series.h"

namespace {

SeriesBuffers& bench_buffers() {
  static SeriesBuffers* buffers = allocate_series_buffers();
  return *buffers;
}

// The largest series a file may hold, written once per process.
const std::string& full_series_path() {
  static const std::string path = [] {
    std::string name = (std::filesystem::temp_directory_path() /
                        ("ldastat_read_bench_" + std::to_string(getpid()) + ".bin"))
                           .string();
    SyntheticSeries parameters;
    parameters.sample_count = max_series_samples;
    parameters.data_rate = 1000.0;
    SeriesFixture fixture;
    synthesize_series(parameters, fixture);
    if (!write_series_fixture(name, fixture)) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      std::exit(1);
    }
    std::atexit([] { std::remove(full_series_path().c_str()); });
    return name;
  }();
  return path;
}

void read_full_series(benchmark::State& state) {
  SeriesBuffers& buffers = bench_buffers();
  std::snprintf(buffers.series_file, sizeof buffers.series_file, "%s", full_series_path().c_str());
  clear_series_buffers(buffers);
  QuietStdout quiet;  // read_series_file prints a line per call
  read_series_file(buffers);  // warms the page cache
  for (auto _ : state) {
    read_series_file(buffers);
    benchmark::DoNotOptimize(buffers.raw[3][max_series_samples - 1]);
  }
  state.SetBytesProcessed(state.iterations() * 4LL * max_series_samples * 8);
}
BENCHMARK(read_full_series)->Unit(benchmark::kMillisecond);

void clear_buffers(benchmark::State& state) {
  SeriesBuffers& buffers = bench_buffers();
  for (auto _ : state) {
    clear_series_buffers(buffers);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<long long>(sizeof buffers.raw + sizeof buffers.scratch +
                                                 sizeof buffers.resampled));
}
BENCHMARK(clear_buffers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
