#include "ldastat/stats/outlier_removal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

namespace {

// Loads a series into the shared buffers (cleared first): channel 0 the
// arrival times 0.001 * i s, channel 1 transit times 2 us, the two
// components as given.
SeriesBuffers& load_components(const std::vector<double>& first, const std::vector<double>& second) {
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0");
  clear_series_buffers(buffers);
  int n = static_cast<int>(first.size());
  for (int i = 0; i < n; ++i) {
    buffers.raw[0][i] = 0.001 * i;
    buffers.raw[1][i] = 2e-6;
    buffers.raw[2][i] = first[i];
    buffers.raw[3][i] = second[i];
  }
  for (int& count : buffers.raw_count) count = n;
  return buffers;
}

// 10.0 plus a bounded wiggle: no sample is anywhere near four deviations.
std::vector<double> quiet_component(int n, double level) {
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = level + 0.1 * std::sin(0.7 * i);
  return x;
}

std::string remove_and_capture(SeriesBuffers& buffers, const RunSettings& settings) {
  testing::internal::CaptureStdout();
  remove_outliers(buffers, settings, example_info("U", "V"));
  return testing::internal::GetCapturedStdout();
}

std::string outlier_lines(int count_1, const char* percent_1, int count_2, const char* percent_2) {
  return std::string(" outliers (4.0-sigma):\n") + "          in 1st component: " +
         std::to_string(count_1) + "  (" + percent_1 + " %)\n" + "          in 2nd component: " +
         std::to_string(count_2) + "  (" + percent_2 + " %)\n";
}

}  // namespace

TEST(outlier_removal, one_far_value_of_ten_thousand_is_removed_from_all_channels) {
  std::vector<double> first = quiet_component(10000, 10.0);
  first[4321] = 100.0;
  SeriesBuffers& buffers = load_components(first, quiet_component(10000, 1.0));
  std::string output = remove_and_capture(buffers, example_settings());

  EXPECT_EQ(output, outlier_lines(1, "0.010", 0, "0.000"));
  ASSERT_EQ(buffers.raw_count[0], 9999);
  EXPECT_EQ(buffers.outlier_flag[4321], 1);
  EXPECT_EQ(buffers.outlier_flag[4320], 0);
  // The samples behind the removed one moved up by one in every channel.
  EXPECT_EQ(buffers.raw[0][4320], 0.001 * 4320);
  EXPECT_EQ(buffers.raw[0][4321], 0.001 * 4322);
  EXPECT_EQ(buffers.raw[2][4321], first[4322]);
  EXPECT_EQ(buffers.raw[3][4321], 1.0 + 0.1 * std::sin(0.7 * 4322));
  EXPECT_EQ(buffers.raw[0][9998], 0.001 * 9999);
  for (int channel = 0; channel < series_channels; ++channel) EXPECT_EQ(buffers.raw[channel][9999], 0.0);
}

TEST(outlier_removal, sample_outside_in_both_components_counts_twice_and_goes_once) {
  std::vector<double> first = quiet_component(10000, 10.0);
  std::vector<double> second = quiet_component(10000, 1.0);
  first[17] = -80.0;
  second[17] = 50.0;
  SeriesBuffers& buffers = load_components(first, second);
  EXPECT_EQ(remove_and_capture(buffers, example_settings()), outlier_lines(1, "0.010", 1, "0.010"));
  EXPECT_EQ(buffers.raw_count[0], 9999);
}

TEST(outlier_removal, value_exactly_on_the_band_edge_is_outside) {
  // 31 zeros, +4 and -4: mean 0, sum of squares 32, n - 1 = 32, so the
  // deviation is exactly 1 and the band edges are exactly -4 and +4.
  std::vector<double> first(33, 0.0);
  first[5] = 4.0;
  first[20] = -4.0;
  SeriesBuffers& buffers = load_components(first, quiet_component(33, 1.0));
  EXPECT_EQ(remove_and_capture(buffers, example_settings()), outlier_lines(2, "6.061", 0, "0.000"));
  ASSERT_EQ(buffers.raw_count[0], 31);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(buffers.raw[2][i], 0.0);
}

TEST(outlier_removal, series_without_outliers_keeps_length_and_order) {
  std::vector<double> first = quiet_component(500, 10.0);
  std::vector<double> second = quiet_component(500, -2.0);
  SeriesBuffers& buffers = load_components(first, second);
  EXPECT_EQ(remove_and_capture(buffers, example_settings()), outlier_lines(0, "0.000", 0, "0.000"));
  ASSERT_EQ(buffers.raw_count[0], 500);
  for (int i = 0; i < 500; ++i) {
    EXPECT_EQ(buffers.raw[0][i], 0.001 * i);
    EXPECT_EQ(buffers.raw[2][i], first[i]);
    EXPECT_EQ(buffers.raw[3][i], second[i]);
  }
}

TEST(outlier_removal, component_without_spread_has_no_outliers) {
  // A constant component (here the second, always 0) has a zero deviation;
  // its band would be empty, but none of its samples is removed.
  struct Case {
    std::vector<double> first;
    std::vector<double> second;
  };
  const Case cases[] = {
      {quiet_component(200, 10.0), std::vector<double>(200, 0.0)},
      {std::vector<double>(200, 7.25), std::vector<double>(200, 0.1)},
  };
  for (const Case& c : cases) {
    SeriesBuffers& buffers = load_components(c.first, c.second);
    EXPECT_EQ(remove_and_capture(buffers, example_settings()), outlier_lines(0, "0.000", 0, "0.000"));
    EXPECT_EQ(buffers.raw_count[0], 200);
  }
}

TEST(outlier_removal, series_of_one_or_no_sample_keeps_what_it_has) {
  for (int n : {0, 1}) {
    SCOPED_TRACE(n);
    SeriesBuffers& buffers = load_components(std::vector<double>(n, 3.0), std::vector<double>(n, 1.0));
    EXPECT_EQ(remove_and_capture(buffers, example_settings()), outlier_lines(0, "0.000", 0, "0.000"));
    EXPECT_EQ(buffers.raw_count[0], n);
  }
}

TEST(outlier_removal, cleaned_file_lists_the_kept_samples) {
  WorkingDirectory dir;
  dir.make_directory("OUTLIERS_deleted");
  std::vector<double> first = quiet_component(10000, 10.0);
  first[9000] = 100.0;
  SeriesBuffers& buffers = load_components(first, quiet_component(10000, 1.0));
  buffers.raw[0][0] = 0.0123456;
  buffers.raw[1][0] = 0.0000025;
  buffers.raw[2][0] = 10.5;
  buffers.raw[3][0] = 1.05;
  RunSettings settings = example_settings();
  settings.o_osub = 1;
  remove_and_capture(buffers, settings);

  EXPECT_EQ(list_files(dir.directory.path),
            (std::vector<std::string>{"OUTLIERS_deleted",
                                      "OUTLIERS_deleted/proj_sub_K_FL_UV_lda1_2700_017_03_ORVA.out_del"}));
  std::vector<std::string> lines =
      file_lines(dir.file("OUTLIERS_deleted/proj_sub_K_FL_UV_lda1_2700_017_03_ORVA.out_del"));
  ASSERT_EQ(lines.size(), 10000u);
  EXPECT_EQ(lines[0], "Variables = \"i [-]\" \"AT [ms]\" \"TT [us]\" \"U [m/s]\" \"V [m/s]\"");
  EXPECT_EQ(lines[1], "1   12.346   2.5     10.500   1.050");
  // Row 2: arrival 1 ms, transit 2 us, 10 + 0.1 sin(0.7) = 10.064..., 1.064...
  EXPECT_EQ(lines[2], "2    1.000   2.0     10.064   1.064");
  EXPECT_EQ(lines[9999].substr(0, 7), "9999   ");
}

TEST(outlier_removal, cleaned_file_uses_the_component_names) {
  WorkingDirectory dir;
  dir.make_directory("OUTLIERS_deleted");
  SeriesBuffers& buffers = load_components({1.0, 2.0}, {3.0, 4.0});
  RunSettings settings = example_settings();
  settings.o_osub = 1;
  testing::internal::CaptureStdout();
  remove_outliers(buffers, settings, example_info("V", "W"));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(read_file(dir.file("OUTLIERS_deleted/proj_sub_K_FL_VW_lda1_2700_017_03_ORVA.out_del")),
            "Variables = \"i [-]\" \"AT [ms]\" \"TT [us]\" \"V [m/s]\" \"W [m/s]\"\n"
            "1    0.000   2.0     1.000   3.000\n"
            "2    1.000   2.0     2.000   4.000\n");
}

TEST(outlier_removal, no_file_without_the_switch) {
  WorkingDirectory dir;
  dir.make_directory("OUTLIERS_deleted");
  SeriesBuffers& buffers = load_components({1.0, 2.0}, {3.0, 4.0});
  remove_and_capture(buffers, example_settings());
  EXPECT_EQ(list_files(dir.directory.path), std::vector<std::string>{"OUTLIERS_deleted"});
}
