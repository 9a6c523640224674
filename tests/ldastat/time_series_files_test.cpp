#include "ldastat/stats/time_series_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

using Lines = std::vector<std::string>;

constexpr std::size_t full_header_line_count = 91;

static const char* const long_series_path = "TS/proj_sub_K_FL_UW_lda1_2700_017_03_ORVA.ts";
static const char* const long_resampled_path =
    "TS_resamp/proj_sub_K_FL_UW_lda1_2700_017_03_resamp_ORVA.ts";

// Eight samples; the last is the example: index 7, AT 0.25 s, components
// 4.0 and -0.5 m/s.
static void fill_eight_samples(SeriesBuffers& buffers) {
  const double arrival[8] = {0.18, 0.19, 0.20, 0.21, 0.22, 0.23, 0.24, 0.25};
  const double first[8] = {0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0};
  const double second[8] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, -0.5};
  for (int i = 0; i < 8; ++i) {
    buffers.raw[0][i] = arrival[i];
    buffers.raw[1][i] = 1e-6;
    buffers.raw[2][i] = first[i];
    buffers.raw[3][i] = second[i];
  }
  buffers.raw[0][8] = 9.0;  // past the count: never written
  buffers.raw_count[0] = 8;
}

// The example series of the resampling: arrival times 0.0, 0.3, 0.35,
// 1.2 s at 3 Hz give four slots holding samples 0, 1, 2 and 2.
static void fill_resampled_example(SeriesBuffers& buffers) {
  const double time_step = static_cast<double>(1.0f / 3.0f);
  const double first[4] = {1.5, 2.25, 3.125, 3.125};
  const double second[4] = {-0.5, 0.75, 1.0, 1.0};
  for (int k = 0; k < 4; ++k) {
    buffers.resampled[0][k] = k * time_step;
    buffers.resampled[1][k] = 1e-6;
    buffers.resampled[2][k] = first[k];
    buffers.resampled[3][k] = second[k];
  }
  // The walk may leave one value at index R; it is not a row.
  buffers.resampled[0][4] = 4 * time_step;
  buffers.resampled[2][4] = 3.125;
  buffers.resampled[3][4] = 1.0;
  buffers.resampled_count = 4;
}

// A series with both time-series directories in a fresh working
// directory: pair U, W, Uref 5.0 m/s (sc_fac 1.0), the eight samples and
// the resampled example.
struct SeriesExample {
  WorkingDirectory here;
  RunSettings settings = example_settings();
  MeasurementInfo info;
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0");
  float u_prandtl = 5.0f;
  explicit SeriesExample(const char* component_1 = "U", const char* component_2 = "W",
                         bool has_directories = true)
      : info(example_info(component_1, component_2)) {
    if (has_directories) {
      here.make_directory("TS");
      here.make_directory("TS_resamp");
    }
    fill_eight_samples(buffers);
    fill_resampled_example(buffers);
  }
  void write_series() const { write_series_file(buffers, settings, info, u_prandtl); }
  void write_resampled() const { write_resampled_file(buffers, info); }
};

static Lines rows_after_header(const Lines& lines, std::size_t header_line_count) {
  if (lines.size() < header_line_count) return {};
  return Lines(lines.begin() + static_cast<long>(header_line_count), lines.end());
}

TEST(series_file, rows_of_the_example_with_the_marker_for_v) {
  SeriesExample example;

  example.write_series();

  Lines lines = file_lines(example.here.file(long_series_path));
  ASSERT_EQ(lines.size(), full_header_line_count + 1 + 8);
  EXPECT_EQ(lines[0], "# ORVA post-processed LDA time series");
  EXPECT_EQ(lines[90], "# ********** END OF HEADER **********");
  const Lines expected = {
      "VARIABLES= \"I [-]\" \"T<sup>*</sup> [-]\" \"U/U<sub>ref</sub> [-]\" "
      "\"V/U<sub>ref</sub> [-]\" \"W/U<sub>ref</sub> [-]\"",
      "0   0.900000   0.1000   999.999   0.0200",
      "1   0.950000   0.2000   999.999   0.0400",
      "2   1.000000   0.3000   999.999   0.0600",
      "3   1.050000   0.4000   999.999   0.0800",
      "4   1.100000   0.5000   999.999   0.1000",
      "5   1.150000   0.6000   999.999   0.1200",
      "6   1.200000   0.7000   999.999   0.1400",
      "7   1.250000   0.8000   999.999   -0.1000",
  };
  EXPECT_EQ(rows_after_header(lines, full_header_line_count), expected);
}

TEST(series_file, column_line_and_marker_column_per_pair) {
  struct Case {
    const char* component_1;
    const char* component_2;
    const char* last_row;
  };
  // The column line names U, V and W for every pair.
  const char* const column_line =
      "VARIABLES= \"I [-]\" \"T<sup>*</sup> [-]\" \"U/U<sub>ref</sub> [-]\" "
      "\"V/U<sub>ref</sub> [-]\" \"W/U<sub>ref</sub> [-]\"";
  const Case cases[] = {
      {"U", "W", "7   1.250000   0.8000   999.999   -0.1000"},
      {"U", "V", "7   1.250000   0.8000   -0.1000   999.999"},
      {"V", "W", "7   1.250000   999.999   0.8000   -0.1000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.component_1 << c.component_2);
    SeriesExample example(c.component_1, c.component_2);
    example.settings.rfn_op = 1;

    example.write_series();

    Lines lines = file_lines(example.here.file("TS/tunnel_run017_03_ORVA.ts"));
    ASSERT_EQ(lines.size(), full_header_line_count + 1 + 8);
    EXPECT_EQ(lines[91], column_line);
    EXPECT_EQ(lines[99], c.last_row);
  }
}

TEST(series_file, pair_outside_the_three_gets_only_the_header) {
  SeriesExample example("W", "U");

  example.write_series();

  // No confidence line either: one line less than the full block.
  Lines lines = file_lines(example.here.file("TS/proj_sub_K_FL_WU_lda1_2700_017_03_ORVA.ts"));
  ASSERT_EQ(lines.size(), full_header_line_count - 1);
  EXPECT_EQ(lines.back(), "# ********** END OF HEADER **********");
}

TEST(series_file, zero_reference_velocity_gives_markers_not_inf) {
  SeriesExample example;
  example.u_prandtl = 0.0f;

  example.write_series();

  std::string text = read_file(example.here.file(long_series_path));
  Lines lines = split_lines(text);
  ASSERT_EQ(lines.size(), full_header_line_count + 1 + 8);
  EXPECT_EQ(lines[15], "#  0.00 [Uref - model [m/s]]");
  EXPECT_EQ(lines[99], "7   0.000000   999.999   999.999   999.999");
  EXPECT_EQ(text.find("inf"), std::string::npos);
  EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST(series_file, existing_file_is_replaced) {
  SeriesExample example;
  write_text_file(example.here.file(long_series_path), "old content\n");

  example.write_series();

  Lines lines = file_lines(example.here.file(long_series_path));
  ASSERT_EQ(lines.size(), full_header_line_count + 1 + 8);
  EXPECT_EQ(lines[0], "# ORVA post-processed LDA time series");
}

TEST(resampled_file, four_sample_example_whole_file) {
  SeriesExample example;

  example.write_resampled();

  EXPECT_EQ(read_file(example.here.file(long_resampled_path)),
            "VARIABLES= \"i [-]\" \"AT [ms]\" \"U [m/s]\" \"W [m/s]\"\n"
            "0      0.000      1.500    -0.500\n"
            "1      333.333      2.250    0.750\n"
            "2      666.667      3.125    1.000\n"
            "3      1000.000      3.125    1.000\n");
}

TEST(resampled_file, grid_times_are_absolute) {
  SeriesExample example;
  for (int k = 0; k < 4; ++k) example.buffers.resampled[0][k] += 2.5;

  example.write_resampled();

  EXPECT_EQ(file_lines(example.here.file(long_resampled_path))[1],
            "0      2500.000      1.500    -0.500");
}

TEST(resampled_file, column_line_per_pair_and_empty_file_for_other_pairs) {
  struct Case {
    const char* component_1;
    const char* component_2;
    const char* column_line;  // nullptr: the file stays empty
  };
  const Case cases[] = {
      {"U", "W", "VARIABLES= \"i [-]\" \"AT [ms]\" \"U [m/s]\" \"W [m/s]\""},
      {"U", "V", "VARIABLES= \"i [-]\" \"AT [ms]\" \"U [m/s]\" \"V [m/s]\""},
      {"V", "W", "VARIABLES= \"i [-]\" \"AT [ms]\" \"V [m/s]\" \"W [m/s]\""},
      {"W", "V", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.component_1 << c.component_2);
    SeriesExample example(c.component_1, c.component_2);

    example.write_resampled();

    std::string name = std::string("TS_resamp/proj_sub_K_FL_") + c.component_1 + c.component_2 +
                       "_lda1_2700_017_03_resamp_ORVA.ts";
    ASSERT_TRUE(file_exists(example.here.file(name)));
    Lines lines = file_lines(example.here.file(name));
    if (c.column_line == nullptr) {
      EXPECT_TRUE(lines.empty());
    } else {
      ASSERT_EQ(lines.size(), 5u);
      EXPECT_EQ(lines[0], c.column_line);
      EXPECT_EQ(lines[1], "0      0.000      1.500    -0.500");
    }
  }
}

TEST(time_series_files, short_names_apply_to_the_series_file_only) {
  struct Case {
    int rfn_op;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {0, {"TS", long_series_path, "TS_resamp", long_resampled_path}},
      {1, {"TS", "TS/tunnel_run017_03_ORVA.ts", "TS_resamp", long_resampled_path}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rfn_op);
    SeriesExample example;
    example.settings.rfn_op = c.rfn_op;

    example.write_series();
    example.write_resampled();

    EXPECT_EQ(list_files(example.here.directory.path), c.files);
  }
}

TEST(time_series_files, missing_directory_ends_the_run_with_status_9) {
  SeriesExample example("U", "W", false);
  write_text_file(example.here.file("TS_resamp"), "a file, not a directory\n");

  ForkedRun series = run_forked([&] { example.write_series(); });
  EXPECT_EQ(series.exit_status, 9);
  EXPECT_NE(series.output.find(long_series_path), std::string::npos) << series.output;

  ForkedRun resampled = run_forked([&] { example.write_resampled(); });
  EXPECT_EQ(resampled.exit_status, 9);
  EXPECT_NE(resampled.output.find(long_resampled_path), std::string::npos) << resampled.output;
  EXPECT_EQ(list_files(example.here.directory.path), std::vector<std::string>{"TS_resamp"});
}
