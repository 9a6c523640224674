// Reading a 4,000,000-line six-column series (about 185 MB, warm page
// cache) and the whole plume and puff evaluations of it; sscanf line by
// line as the baseline of the scanner.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/quiet_stdout.h"
#include "plumex/processing/plume.h"
#include "plumex/processing/puff.h"
#include "plumex/processing/releases.h"
#include "plumex/run/cc_description.h"
#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"
#include "plumex/run/series_scanner.h"
#include "tools/concentration_generator/concentration_writer.h"

namespace {

constexpr int bench_lines = 4000000;

// A directory with a plume and a puff measurement, written once per process.
const std::string& bench_directory() {
  static const std::string path = [] {
    std::string name =
        (std::filesystem::temp_directory_path() / ("plumex_read_bench_" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(name);
    ConcentrationSeriesShape shape;
    shape.sample_count = bench_lines;
    bool is_written = write_concentration_series(name + "/plume.txt", shape);
    shape.is_puff = true;  // a release every 2000 samples: 1999 releases
    is_written = is_written && write_concentration_series(name + "/puff.txt", shape);
    if (!is_written) {
      std::fprintf(stderr, "cannot write the series into %s\n", name.c_str());
      std::exit(1);
    }
    std::atexit([] { std::filesystem::remove_all(bench_directory()); });
    return name;
  }();
  return path;
}

const std::string& plume_text() {
  static const std::string text = [] {
    std::FILE* file = std::fopen((bench_directory() + "/plume.txt").c_str(), "rb");
    std::string content(std::filesystem::file_size(bench_directory() + "/plume.txt"), '\0');
    std::size_t got = std::fread(content.data(), 1, content.size(), file);
    std::fclose(file);
    content.resize(got);
    return content;
  }();
  return text;
}

CcSettings bench_settings(const char* input) {
  CcSettings settings;
  set_default_cc_settings(settings);
  convert_pressure(settings);
  std::snprintf(settings.INPUTF, sizeof settings.INPUTF, "%s", input);
  settings.REFLTH = 0.1;
  settings.COEF_A = 50.0;
  settings.COEF_B = 10.0;
  settings.THRHLD = 50.0;
  return settings;
}

CcDescription& bench_description() {
  static CcDescription description = [] {
    CcDescription d{};
    std::snprintf(d.source_name, sizeof d.source_name, "S1");
    d.gas_factor = 1.0;
    return d;
  }();
  return description;
}

void scan_lines(benchmark::State& state) {
  const std::string& text = plume_text();
  for (auto _ : state) {
    double sum = 0.0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
      const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      line_end = line_end == nullptr ? end : line_end + 1;
      double values[sample_columns];
      scan_sample_line(p, line_end, values);
      sum += values[3];
      p = line_end;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(scan_lines)->Unit(benchmark::kMillisecond);

void sscanf_lines(benchmark::State& state) {
  const std::string& text = plume_text();
  for (auto _ : state) {
    double sum = 0.0;
    const char* p = text.data();
    const char* end = p + text.size();
    char line[line_part_capacity + 1];
    while (p < end) {
      const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      line_end = line_end == nullptr ? end : line_end + 1;
      std::size_t length = static_cast<std::size_t>(line_end - p);
      std::memcpy(line, p, length);
      line[length] = '\0';
      double v[sample_columns] = {};
      std::sscanf(line, "%lf %lf %lf %lf %lf %lf\n", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
      sum += v[3];
      p = line_end;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(sscanf_lines)->Unit(benchmark::kMillisecond)->Iterations(1);

void read_series_file(benchmark::State& state) {
  CcSettings settings = bench_settings((bench_directory() + "/plume.txt").c_str());
  QuietStdout quiet;
  for (auto _ : state) {
    CcSeries series;
    read_series(open_series(settings), settings, series);
    benchmark::DoNotOptimize(series.reference_velocity);
  }
}
BENCHMARK(read_series_file)->Unit(benchmark::kMillisecond);

// Reading and evaluating, the result file written into the bench directory.
void plume_evaluation(benchmark::State& state) {
  std::filesystem::current_path(bench_directory());
  QuietStdout quiet;
  for (auto _ : state) {
    CcSettings settings = bench_settings("plume.txt");
    CcSeries series;
    read_series(open_series(settings), settings, series);
    PlumeBlocks blocks;
    average_plume_blocks(settings, series, blocks);
    write_plume_result(settings, bench_description(), series, blocks);
  }
}
BENCHMARK(plume_evaluation)->Unit(benchmark::kMillisecond);

void puff_evaluation(benchmark::State& state) {
  std::filesystem::current_path(bench_directory());
  QuietStdout quiet;
  for (auto _ : state) {
    CcSettings settings = bench_settings("puff.txt");
    CcSeries series;
    read_series(open_series(settings), settings, series);
    ReleaseSet releases;
    extract_releases(settings, series, releases);
    check_releases(settings, releases);
    measure_release_durations(series, releases);
    PuffEvaluation puffs;
    correct_release_offset(settings, series, releases, puffs);
    average_release_blocks(settings, series, releases, puffs);
    detect_puffs(settings, releases, puffs);
    write_puff_result(settings, bench_description(), series, releases, puffs);
  }
}
BENCHMARK(puff_evaluation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
