// End to end: the computing steps of every series (outliers, data rate,
// integral scales) as the built program prints them, and the degenerate
// series that must neither stop the run nor put "nan" into a file.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/ldastat/series_fixtures.h"
#include "tests/support/program_run.h"

namespace {

const std::vector<std::string> computing_prefixes = {
    " outliers (",     "          in 1st", "          in 2nd", " number of samples:",
    " mean data rate:", " no data rate",   " autocorrelation",  " Tux:",
    " Lux:",            " LDA-timeseries:"};

// The computing lines one ordinary series prints, as patterns.
std::vector<std::string> ordinary_series_patterns(const std::string& file) {
  return {" outliers \\(4\\.0-sigma\\):",
          "          in 1st component: [0-9]+  \\([0-9]+\\.[0-9]{3} %\\)",
          "          in 2nd component: [0-9]+  \\([0-9]+\\.[0-9]{3} %\\)",
          " number of samples: [0-9]+",
          " mean data rate: [ 0-9]{5} Hz",
          " Tux: [0-9]+\\.[0-9]{3} s",
          " Lux: [0-9]+\\.[0-9]{3} m",
          " LDA-timeseries:  " + file + " processed!"};
}

void expect_lines_match(const std::vector<std::string>& lines, const std::vector<std::string>& patterns) {
  ASSERT_EQ(lines.size(), patterns.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(patterns[i]))) << lines[i] << "\n" << patterns[i];
}

// A series of `n` samples 2 ms apart whose first component is `first` for
// every sample (or a wiggle when `first` is negative).
SeriesFixture plain_series(int n, double first) {
  SeriesFixture series;
  for (int i = 0; i < n; ++i) {
    series.channels[0].push_back(0.002 * i);
    series.channels[1].push_back(2e-6);
    series.channels[2].push_back(first < 0 ? 5.0 + 0.1 * (i % 7) : first);
    series.channels[3].push_back(0.05 * (i % 5) - 0.1);
  }
  return series;
}

// No result file shows a "nan" or "inf" as a value.
void expect_no_nan_or_inf(const TempDirectory& dir) {
  const std::regex not_a_number("(^|[^a-z])(nan|inf)([^a-z]|$)", std::regex::icase);
  for (const std::string& name : list_files(dir.path)) {
    if (name.find('/') == std::string::npos) continue;  // the inputs and the directories
    std::string text = read_file(dir.file(name));
    EXPECT_FALSE(std::regex_search(text, not_a_number)) << name;
  }
}

}  // namespace

TEST(series_computations, default_run_prints_the_computing_lines_of_every_series) {
  TempDirectory dir;
  write_measurement(dir, {1, 2}, {5.0, 5.0});
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "ts_nbr:2"}, dir.path);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  std::vector<std::string> patterns = ordinary_series_patterns("run.01.bin");
  std::vector<std::string> second = ordinary_series_patterns("run.02.bin");
  patterns.insert(patterns.end(), second.begin(), second.end());
  expect_lines_match(lines_starting_with(run.output, computing_prefixes), patterns);
}

TEST(series_computations, series_without_a_data_rate_is_skipped_and_the_run_goes_on) {
  TempDirectory dir;
  write_measurement(dir, {2}, {5.0, 5.0});
  ASSERT_TRUE(write_series_fixture(dir.file("run.01.bin"), plain_series(1, 5.0)));
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "ts_nbr:2"}, dir.path);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  std::vector<std::string> patterns = {
      " outliers \\(4\\.0-sigma\\):",
      "          in 1st component: 0  \\(0\\.000 %\\)",
      "          in 2nd component: 0  \\(0\\.000 %\\)",
      " number of samples: 1",
      " no data rate with fewer than 2 samples: series skipped!"};
  std::vector<std::string> second = ordinary_series_patterns("run.02.bin");
  patterns.insert(patterns.end(), second.begin(), second.end());
  expect_lines_match(lines_starting_with(run.output, computing_prefixes), patterns);
  EXPECT_TRUE(output_ends_with(run.output, " Goodbye!\n"));
}

TEST(series_computations, constant_first_component_leaves_the_scales_undefined) {
  TempDirectory dir;
  write_measurement(dir, {}, {5.0});
  ASSERT_TRUE(write_series_fixture(dir.file("run.01.bin"), plain_series(400, 4.0)));
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "o_auto:1", "o_osub:1", "o_tsrs:1"},
                               dir.path);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  expect_lines_match(lines_starting_with(run.output, computing_prefixes),
                     {" outliers \\(4\\.0-sigma\\):",
                      "          in 1st component: 0  \\(0\\.000 %\\)",
                      "          in 2nd component: 0  \\(0\\.000 %\\)",
                      " number of samples: 400",
                      " mean data rate:   501 Hz",
                      " autocorrelation undefined: the resampled first component does not vary",
                      " Tux: undefined",
                      " Lux: undefined",
                      " LDA-timeseries:  run.01.bin processed!"});
  EXPECT_EQ(read_file(dir.file("AUTOCORR/proj_sub_K_FL_UV_lda1cor_2700_run_01_autocorr.tec.ts")),
            "Variables = \"k\" \"time[s]\" \"RUU\"\n0      0.0000    999.999\n");
  EXPECT_EQ(split_lines(read_file(dir.file("OUTLIERS_deleted/proj_sub_K_FL_UV_lda1_2700_run_01_ORVA.out_del")))
                .size(),
            401u);
  expect_no_nan_or_inf(dir);
}

TEST(series_computations, ordinary_series_writes_its_autocorrelation_rows) {
  TempDirectory dir;
  write_measurement(dir, {1}, {5.0});
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "o_auto:1"}, dir.path);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  std::vector<std::string> lines =
      split_lines(read_file(dir.file("AUTOCORR/proj_sub_K_FL_UV_lda1cor_2700_run_01_autocorr.tec.ts")));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Variables = \"k\" \"time[s]\" \"RUU\"");
  EXPECT_EQ(lines[1], "0      0.0000    1.00000000");
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("1      0\\.[0-9]{4}    0\\.[0-9]{8}"))) << lines[2];
  expect_no_nan_or_inf(dir);
}
