#include "plumex/run/cc_series.h"

#include <climits>
#include <cstdlib>

#include "plumex/run/console.h"
#include "plumex/run/series_scanner.h"

// Large enough that the read calls cost nothing next to the scanning.
constexpr std::size_t series_read_buffer_bytes = 1 << 20;

std::FILE* open_series(const CcSettings& settings) {
  std::FILE* file = std::fopen(settings.INPUTF, "r");
  if (file == nullptr) {
    std::printf("\n Opening input-file %s aborted!\n", settings.INPUTF);
    std::fflush(stdout);
    pause_for_key();
    std::exit(cc_exit_failure);
  }
  std::printf("\n Input-file %s has been opened!\n", settings.INPUTF);
  return file;
}

static long long count_line_parts(LinePartReader& reader) {
  long long count = 0;
  const char* begin = nullptr;
  const char* end = nullptr;
  while (next_line_part(reader, &begin, &end)) ++count;
  return count;
}

[[noreturn]] static void refuse_short_series(const CcSettings& settings, int count) {
  fail_run(cc_exit_failure, "\n Input-file %s holds %i line(s): at least 2 are needed (the means divide by n - 1)!\n",
           settings.INPUTF, count);
}

static void allocate_columns(CcSeries& series, int count) {
  std::unique_ptr<double[]>* columns[] = {&series.time, &series.trigger, &series.effective};
  for (std::unique_ptr<double[]>* column : columns)
    *column = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(count));
}

namespace {

// Closes the series file on every path out of read_series, refusals included.
struct SeriesFileCloser {
  std::FILE* file;
  ~SeriesFileCloser() {
    if (file != nullptr) std::fclose(file);
  }
};

}  // namespace

void read_series(std::FILE* file, const CcSettings& settings, CcSeries& series) {
  SeriesFileCloser closer{file};
  // Two passes: the first counts the samples, so that the columns are
  // allocated once with their exact size; the second scans them.
  LinePartReader reader;
  start_line_parts(reader, file, series_read_buffer_bytes);
  long long line_count = count_line_parts(reader);
  if (std::ferror(file) != 0) fail_run(cc_exit_failure, "\n Reading input-file %s failed!\n", settings.INPUTF);
  if (line_count > INT_MAX - 1)
    fail_run(cc_exit_failure, "\n Input-file %s has more than %i lines!\n", settings.INPUTF, INT_MAX - 1);
  if (line_count < 2) refuse_short_series(settings, static_cast<int>(line_count));
  if (std::fseek(file, 0, SEEK_SET) != 0)
    fail_run(cc_exit_failure, "\n Input-file %s cannot be read twice (not a regular file)!\n", settings.INPUTF);

  int capacity = static_cast<int>(line_count);
  allocate_columns(series, capacity);
  start_line_parts(reader, file, series_read_buffer_bytes);
  double prandtl_sum = 0.0;
  double source_flow_sum = 0.0;
  int n = 0;
  const char* begin = nullptr;
  const char* end = nullptr;
  // A file that shrank between the passes gives fewer samples; one that grew
  // is read up to the counted length.
  while (n < capacity && next_line_part(reader, &begin, &end)) {
    double values[sample_columns];
    scan_sample_line(begin, end, values);
    series.time[n] = values[0];
    series.effective[n] = values[3] - values[2];
    series.trigger[n] = values[4];
    prandtl_sum += values[1];
    source_flow_sum += values[5];
    ++n;
  }
  bool has_failed = std::ferror(file) != 0;
  closer.file = nullptr;
  std::fclose(file);
  if (has_failed) fail_run(cc_exit_failure, "\n Reading input-file %s failed!\n", settings.INPUTF);
  if (n < 2) refuse_short_series(settings, n);

  series.count = n;
  series.reference_velocity = settings.SC_FAC * prandtl_sum / (n - 1);
  // With SC_FAC 0 the quotient would be 0/0; the prandtl-tube mean is meant.
  series.prandtl_velocity_mean =
      settings.SC_FAC != 0.0 ? series.reference_velocity / settings.SC_FAC : prandtl_sum / (n - 1);
  series.source_flow_mean = source_flow_sum / (n - 1);

  std::printf(" time series loaded!\n\n");
  std::printf(" U (prandtl-tube): %5.2lf m/s    ", series.prandtl_velocity_mean);
  std::printf(" U (reference): %5.2lf m/s\n\n", series.reference_velocity);
  std::printf(" samples: %i\n\n", series.count);
}
