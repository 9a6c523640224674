// The wind-direction distribution, called directly on filled buffers in a
// temporary working directory.
#include "ldastat/distributions/wind_direction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ldastat/distributions/deviation_lines.h"
#include "tests/ldastat/distribution_fixture.h"

static DirectionWork& shared_direction_work() {
  static DirectionWork* work = allocate_direction_work();
  return *work;
}

struct DirectionResult {
  std::string console;
  DistributionFile file;
};

static const char long_file_name[] = "proj_sub_K_FL_UV_lda1_2700_017_03_ORVA.fluc";

static DirectionResult run_direction(const Components& samples, RunSettings settings,
                                     MeasurementInfo info, const char* file_name = long_file_name) {
  WorkingDirectory directory;
  directory.make_directory("FLUC_direction");
  const SeriesBuffers& buffers = series_with(samples);
  ForkedRun run = run_forked(
      [&] { wind_direction_distribution(shared_direction_work(), buffers, settings, info, 5.0f); });
  EXPECT_EQ(run.exit_status, 0);
  return {run.output,
          read_distribution_file(directory.file(std::string("FLUC_direction/") + file_name))};
}

static std::string direction_row(int j, double centre_1, double centre_2, double count_1,
                                 double count_deviation, double count_2, int n) {
  char row[256];
  std::snprintf(row, sizeof row,
                "%i  %5.1lf  %5.1lf  %5.1lf %5.0lf  %5.4lf %5.0lf  %5.4lf %5.0lf  %5.4lf", j,
                centre_1, centre_1, centre_2, count_1, count_1 / n, count_deviation,
                count_deviation / n, count_2, count_2 / n);
  return row;
}

// The procedure as specified: one pass over the samples per class, the
// bounds by repeated addition, direction (I) and deviation in one pass,
// direction (II) in its own; count (II) 0 for a row its loop did not reach.
static std::vector<std::string> per_class_rows(const Components& samples, int cn_dir,
                                               double approach_direction) {
  int n = static_cast<int>(samples.a.size());
  std::vector<double> direction_1(n), deviation(n), direction_2(n);
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    direction_1[i] = std::atan2(samples.b[i], samples.a[i]) * 57.29577950560105;
    sum += direction_1[i];
  }
  double mean = sum / n;
  for (int i = 0; i < n; ++i) {
    deviation[i] = direction_1[i] - mean;
    if (deviation[i] < -180) deviation[i] += 360;
    if (deviation[i] >= 180) deviation[i] += -360;
    direction_2[i] = approach_direction + direction_1[i];
    if (direction_2[i] < 0) direction_2[i] += 360;
    if (direction_2[i] >= 360) direction_2[i] += -360;
  }
  double w = 360.0 / cn_dir;
  std::vector<double> count_1, count_deviation, count_2;
  double lo = -180.0, hi = lo + w;
  do {
    double c1 = 0, cd = 0;
    for (int i = 0; i < n; ++i) {
      if (lo <= direction_1[i] && direction_1[i] < hi) c1 += 1;
      if (lo <= deviation[i] && deviation[i] < hi) cd += 1;
    }
    count_1.push_back(c1);
    count_deviation.push_back(cd);
    lo = lo + w;
    hi = hi + w;
  } while (hi <= 180.0);
  lo = 0.0;
  hi = w;
  do {
    double c2 = 0;
    for (int i = 0; i < n; ++i)
      if (lo <= direction_2[i] && direction_2[i] < hi) c2 += 1;
    count_2.push_back(c2);
    lo = lo + w;
    hi = hi + w;
  } while (hi <= 360.0);
  std::vector<std::string> rows;
  double centre_1 = w / 2 - 180.0, centre_2 = w / 2;
  for (std::size_t j = 0; j < count_1.size(); ++j) {
    double c2 = j < count_2.size() ? count_2[j] : 0.0;
    rows.push_back(direction_row(static_cast<int>(j) + 1, centre_1, centre_2, count_1[j],
                                 count_deviation[j], c2, n));
    centre_1 += w;
    centre_2 += w;
  }
  return rows;
}

// Rows of classes without any sample, for the cases that expect only a few
// non-empty ones (360 classes of 1 degree).
static std::vector<std::string> empty_rows(int n) {
  std::vector<std::string> rows;
  for (int j = 1; j <= 360; ++j) rows.push_back(direction_row(j, j - 180.5, j - 0.5, 0, 0, 0, n));
  return rows;
}

TEST(wind_direction, sample_on_the_positive_first_axis_falls_into_class_181) {
  DirectionResult result =
      run_direction({{2.5}, {0.0}}, example_settings(), example_info("U", "V"));
  EXPECT_EQ(result.console, " mean winddirection: 0.00\n delta: 0.00\n");
  std::vector<std::string> expected = empty_rows(1);
  // Direction (I) 0 and deviation 0 in [0, 1); direction (II) 270 in [270, 271).
  expected[180] = "181    0.5    0.5  180.5     1  1.0000     1  1.0000     0  0.0000";
  expected[270] = "271   90.5   90.5  270.5     0  0.0000     0  0.0000     1  1.0000";
  EXPECT_EQ(result.file.rows, expected);
}

TEST(wind_direction, sample_on_the_negative_first_axis_falls_into_the_last_class) {
  // atan2(0, -1) * 57.29577950560105 = 179.99999998: in [179, 180); the
  // deviation from itself is 0; direction (II) 270 + 179.99999998 - 360.
  DirectionResult result =
      run_direction({{-3.0}, {0.0}}, example_settings(), example_info("U", "V"));
  EXPECT_EQ(result.console, " mean winddirection: 180.00\n delta: 0.00\n");
  std::vector<std::string> expected = empty_rows(1);
  expected[89] = "90  -90.5  -90.5   89.5     0  0.0000     0  0.0000     1  1.0000";
  expected[180] = "181    0.5    0.5  180.5     0  0.0000     1  1.0000     0  0.0000";
  expected[359] = "360  179.5  179.5  359.5     1  1.0000     0  0.0000     0  0.0000";
  EXPECT_EQ(result.file.rows, expected);
}

TEST(wind_direction, all_samples_at_direction_zero_give_the_approach_direction) {
  struct Case {
    const char* wind_direction;
    int row_2;  // class (II) of the approach direction
  };
  const Case cases[] = {{"2700", 271}, {"0", 1}, {"3555", 356}};
  Components samples;
  for (int i = 0; i < 1000; ++i) {
    samples.a.push_back(0.5 + 0.01 * i);
    samples.b.push_back(0.0);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wind_direction);
    MeasurementInfo info = example_info("U", "V");
    set_text(info.wind_direction, c.wind_direction);
    std::string name =
        std::string("proj_sub_K_FL_UV_lda1_") + c.wind_direction + "_017_03_ORVA.fluc";
    DirectionResult result = run_direction(samples, example_settings(), info, name.c_str());
    std::string console = " mean winddirection: 0.00\n";
    for (int i = 0; i < 1000; ++i) console += " delta: 0.00\n";
    EXPECT_EQ(result.console, console);
    std::vector<std::string> expected = empty_rows(1000);
    expected[180] = direction_row(181, 0.5, 180.5, 1000, 1000, 0, 1000);
    expected[c.row_2 - 1] =
        direction_row(c.row_2, c.row_2 - 180.5, c.row_2 - 0.5, c.row_2 == 181 ? 1000 : 0,
                      c.row_2 == 181 ? 1000 : 0, 1000, 1000);
    EXPECT_EQ(result.file.rows, expected);
    EXPECT_NE(result.file.rows[180].find("  1000  1.0000  1000  1.0000"), std::string::npos);
  }
}

TEST(wind_direction, approach_direction_270_and_direction_100_give_class_10) {
  // 100.25 degrees: direction (I) 100.24999998, direction (II) 10.24999998.
  double angle = 100.25 * 3.141592653589793 / 180.0;
  DirectionResult result = run_direction({{std::cos(angle)}, {std::sin(angle)}}, example_settings(),
                                         example_info("U", "V"));
  EXPECT_EQ(result.console, " mean winddirection: 100.25\n delta: 0.00\n");
  std::vector<std::string> expected = empty_rows(1);
  expected[10] = "11  -169.5  -169.5   10.5     0  0.0000     0  0.0000     1  1.0000";
  expected[180] = "181    0.5    0.5  180.5     0  0.0000     1  1.0000     0  0.0000";
  expected[280] = "281  100.5  100.5  280.5     1  1.0000     0  0.0000     0  0.0000";
  EXPECT_EQ(result.file.rows, expected);
}

TEST(wind_direction, default_classes_have_centres_of_whole_degrees_plus_a_half) {
  DirectionResult result =
      run_direction({{1.0, -1.0}, {1.0, 1.0}}, example_settings(), example_info("U", "V"));
  ASSERT_EQ(result.file.rows.size(), 360u);
  EXPECT_EQ(result.file.rows.front().rfind("1  -179.5  -179.5    0.5 ", 0), 0u);
  EXPECT_EQ(result.file.rows.back().rfind("360  179.5  179.5  359.5 ", 0), 0u);
  for (int j = 1; j <= 360; ++j) {
    char centres[64];
    std::snprintf(centres, sizeof centres, "%i  %5.1lf  %5.1lf  %5.1lf ", j, j - 180.5, j - 180.5,
                  j - 0.5);
    EXPECT_EQ(result.file.rows[j - 1].rfind(centres, 0), 0u) << result.file.rows[j - 1];
  }
}

TEST(wind_direction, unrepresentable_width_can_drop_the_last_class) {
  // K from the repeated additions (a python3 loop over the same doubles).
  struct Case {
    int cn_dir;
    std::size_t class_count;
  };
  const Case cases[] = {{360, 360}, {1, 1}, {7, 6}, {11, 11}, {100, 100}, {1000, 999}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cn_dir);
    RunSettings settings = example_settings();
    settings.cn_dir = c.cn_dir;
    DirectionResult result = run_direction({{1.0}, {0.0}}, settings, example_info("U", "V"));
    EXPECT_EQ(result.file.rows.size(), c.class_count);
  }
}

TEST(wind_direction, row_beyond_the_last_class_ii_has_count_ii_zero) {
  // cn_dir 11: the classes (I) reach 180 (11 rows), the classes (II) stop at
  // 327.27 (10 classes): direction (II) 350 is counted nowhere.
  RunSettings settings = example_settings();
  settings.cn_dir = 11;
  MeasurementInfo info = example_info("U", "V");
  set_text(info.wind_direction, "0");
  double angle = -10.0 * 3.141592653589793 / 180.0;
  DirectionResult result = run_direction({{std::cos(angle)}, {std::sin(angle)}}, settings, info,
                                         "proj_sub_K_FL_UV_lda1_0_017_03_ORVA.fluc");
  ASSERT_EQ(result.file.rows.size(), 11u);
  EXPECT_EQ(result.file.rows[10],
            "11  163.6  163.6  343.6     0  0.0000     0  0.0000     0  0.0000");
  for (const std::string& row : result.file.rows)
    EXPECT_EQ(row.substr(row.size() - 13), "    0  0.0000") << row;
}

// Random series against the per-class passes, with samples on the axes
// (directions 0, 90, -90, 179.99999998 and -179.99999998) and repeated ones.
TEST(wind_direction, counts_equal_those_of_per_class_passes) {
  struct Case {
    int cn_dir;
    const char* wind_direction;
    int n;
    double mean_a;  // m/s
  };
  const Case cases[] = {{360, "2700", 20000, 4.0}, {360, "3555", 5000, -1.0},
                        {7, "0", 5000, 0.0},       {11, "1234", 5000, 2.0},
                        {29, "2700", 5000, 1.0},   {1000, "900", 5000, 3.0},
                        {70001, "2700", 200, 0.5}};
  std::mt19937 random(20261211);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cn_dir);
    std::normal_distribution<double> component(c.mean_a, 2.0);
    Components samples;
    const double axes[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {-1, -0.0}, {0, 0}, {2, 2}};
    for (const auto& axis : axes) {
      samples.a.push_back(axis[0]);
      samples.b.push_back(axis[1]);
    }
    while (static_cast<int>(samples.a.size()) < c.n) {
      samples.a.push_back(component(random));
      samples.b.push_back(component(random) - c.mean_a);
      if (samples.a.size() % 97 == 0) {
        samples.a.push_back(samples.a.back());
        samples.b.push_back(samples.b.back());
      }
    }
    RunSettings settings = example_settings();
    settings.cn_dir = c.cn_dir;
    MeasurementInfo info = example_info("U", "V");
    set_text(info.wind_direction, c.wind_direction);
    std::string name =
        std::string("proj_sub_K_FL_UV_lda1_") + c.wind_direction + "_017_03_ORVA.fluc";
    DirectionResult result = run_direction(samples, settings, info, name.c_str());
    EXPECT_EQ(result.file.rows,
              per_class_rows(samples, c.cn_dir, std::atoi(c.wind_direction) / 10.0));
  }
}

TEST(wind_direction, console_shows_the_mean_and_every_deviation) {
  // Directions 10, 20 and -170 degrees: mean -46.67, deviations 56.67,
  // 66.67 and -123.33.
  Components samples;
  for (double degrees : {10.0, 20.0, -170.0}) {
    double angle = degrees * 3.141592653589793 / 180.0;
    samples.a.push_back(std::cos(angle));
    samples.b.push_back(std::sin(angle));
  }
  DirectionResult result = run_direction(samples, example_settings(), example_info("U", "V"));
  EXPECT_EQ(result.console,
            " mean winddirection: -46.67\n delta: 56.67\n delta: 66.67\n delta: -123.33\n");
}

TEST(wind_direction, deviation_lines_equal_printf_lines) {
  std::vector<double> values = {0.0,    -0.0,  0.125,   0.375,       -0.125, 2.675,
                                -0.005, 0.005, 179.995, -179.995,    1e-300, -1e-300,
                                99.995, 1e8,   -1e12,   12345678.125};
  std::mt19937 random(7);
  std::uniform_real_distribution<double> deviation(-180.0, 180.0);
  for (int i = 0; i < 200000; ++i) values.push_back(deviation(random));
  for (int i = -18000; i < 18000; ++i) values.push_back(i / 100.0 + 0.005);
  values.push_back(std::nan(""));
  values.push_back(-INFINITY);
  std::FILE* ours = std::tmpfile();
  std::FILE* theirs = std::tmpfile();
  ASSERT_TRUE(ours != nullptr && theirs != nullptr);
  write_deviation_lines(ours, values.data(), static_cast<int>(values.size()));
  for (double value : values) std::fprintf(theirs, " delta: %3.2lf\n", value);
  auto contents = [](std::FILE* file) {
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
  };
  std::string our_text = contents(ours);
  EXPECT_TRUE(our_text == contents(theirs));
}

TEST(wind_direction, file_names_column_and_zone_lines) {
  struct Case {
    int rfn_op;
    const char* file_name;
    const char* zone_line;
  };
  const Case cases[] = {
      {0, "proj_sub_K_FL_UW_lda1_2700_017_03_ORVA.fluc",
       "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017_03\""},
      {1, "tunnel_run017_03_ORVA.fluc", "ZONE T = \"tunnel_run017_03\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rfn_op);
    RunSettings settings = example_settings();
    settings.rfn_op = c.rfn_op;
    DirectionResult result =
        run_direction({{1.0}, {0.5}}, settings, example_info("U", "W"), c.file_name);
    ASSERT_LT(result.file.variables_line + 1, result.file.lines.size());
    // The full header block, one filler line short, labels with component 2.
    EXPECT_EQ(result.file.variables_line, 90u);
    EXPECT_EQ(result.file.lines[0],
              "# ORVA fluctuations of wind direction derived from LDA time series");
    EXPECT_EQ(result.file.lines[33],
              "# \"deviation in W-direction\" \"normalized frequency of occurence\" [labels]");
    EXPECT_EQ(result.file.lines[result.file.variables_line],
              "Variables = \"classnumber[-]\" \"UW-wind direction (I) [\xB0]\" "
              "\"deviation in W-direction [\xB0]\" \"UW-wind direction (II) [\xB0]\" "
              "\"occurrence (I) [-]\" \"occurrence normalized (I) [-]\" "
              "\"occurrence delta [-]\" \"occurrence delta normalized [-]\" "
              "\"occurrence (II)\" \"occurrence normalized (II) [-]\"");
    EXPECT_EQ(result.file.lines[result.file.variables_line + 1], c.zone_line);
    EXPECT_EQ(result.file.rows.size(), 360u);
  }
}

TEST(wind_direction, series_without_samples_writes_no_nan) {
  // 999.999 marks the normalised occurrences that an empty series does not give.
  DirectionResult result = run_direction({{}, {}}, example_settings(), example_info("U", "V"));
  EXPECT_EQ(result.console, " mean winddirection: 0.00\n");
  ASSERT_EQ(result.file.rows.size(), 360u);
  EXPECT_EQ(result.file.rows[0],
            "1  -179.5  -179.5    0.5     0  999.999     0  999.999     0  999.999");
}
