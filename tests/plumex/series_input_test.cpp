#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"
#include "tests/support/program_run.h"

static void read_text(const std::string& text, double sc_fac, CcSeries& series) {
  TempDirectory dir;
  write_text_file(dir.file("series.txt"), text);
  CcSettings settings;
  set_default_cc_settings(settings);
  std::snprintf(settings.INPUTF, sizeof settings.INPUTF, "%s", dir.file("series.txt").c_str());
  settings.SC_FAC = sc_fac;
  read_series(open_series(settings), settings, series);
}

TEST(series_input, means_divide_by_n_minus_one) {
  // 11 lines, u_P constant 5.0: sum 55 / 10 = 5.5; with SC_FAC 2.0 U_ref 11.0.
  std::string text;
  for (int i = 0; i < 11; ++i) text += std::to_string(i) + " 5.0 1.0 3.0 0.0 2.0\n";
  CcSeries series;
  read_text(text, 2.0, series);
  EXPECT_EQ(series.count, 11);
  EXPECT_EQ(series.prandtl_velocity_mean, 5.5);
  EXPECT_EQ(series.reference_velocity, 11.0);
  EXPECT_EQ(series.source_flow_mean, 2.2);
  EXPECT_EQ(series.effective[3], 2.0);
  EXPECT_EQ(series.time[10], 10.0);
}

TEST(series_input, a_trailing_empty_line_is_a_sample_of_zeros) {
  // Ten data lines and an empty one: n = 11, and the sums over 10 data lines
  // divided by 10 are the plain means of the data.
  std::string text;
  for (int i = 0; i < 10; ++i) text += "0.1 4.0 1.0 6.0 5.0 3.0\n";
  text += "\n";
  CcSeries series;
  read_text(text, 1.0, series);
  EXPECT_EQ(series.count, 11);
  EXPECT_EQ(series.reference_velocity, 4.0);
  EXPECT_EQ(series.source_flow_mean, 3.0);
  EXPECT_EQ(series.time[10], 0.0);
  EXPECT_EQ(series.effective[10], 0.0);
}

TEST(series_input, short_and_long_lines) {
  // A line of four numbers gives trigger and q_S 0.0; a line of seven
  // numbers is read up to the sixth.
  CcSeries series;
  read_text("1 2 3 7\n4 5 6 8 9 10 11\n", 1.0, series);
  EXPECT_EQ(series.count, 2);
  EXPECT_EQ(series.trigger[0], 0.0);
  EXPECT_EQ(series.effective[0], 4.0);
  EXPECT_EQ(series.trigger[1], 9.0);
  EXPECT_EQ(series.source_flow_mean, 10.0);  // (0 + 10) / 1
  EXPECT_EQ(series.reference_velocity, 7.0);  // (2 + 5) / 1
}

TEST(series_input, zero_scale_factor_still_shows_the_prandtl_tube_mean) {
  CcSeries series;
  read_text("0 3\n0 5\n0 4\n", 0.0, series);
  EXPECT_EQ(series.reference_velocity, 0.0);
  EXPECT_EQ(series.prandtl_velocity_mean, 6.0);
}
