#include "ldastat/stats/statistics_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

using Lines = std::vector<std::string>;

constexpr std::size_t short_header_line_count = 31;

static const char* const long_stat_path = "STAT/proj_sub_K_FL_UW_lda1_2700_017_ORVA.stat";

static const char* const label_line =
    "# \"number of time series\" \"number of samples\" \"data rate[Hz]\" \"Xfs[m]\" \"Yfs[m]\" "
    "\"Zfs[m]\" \"Xm[mm]\" \"Ym[mm]\" \"Zm[mm]\" \"Uref[m/s]\" \"U/Uref[-]\" \"V/Uref[-]\" "
    "\"W/Uref[-]\" \"Urms/Uref[-]\" \"Vrms/Uref[-]\" \"Wrms/Uref[-]\" \"u'v'/Uref^2[-]\" "
    "\"u'w'/Uref^2[-]\" \"v'w'/Uref^2[-]\" \"Uconf/Uref[-]\" \"Vconf/Uref[-]\" \"Wconf/Uref[-]\" "
    "\"U[m/s]\" \"V[m/s]\" \"W[m/s]\" \"Urms[m/s]\" \"Vrms[m/s]\" \"Wrms[m/s]\" \"u'v'[m^2/s^2]\" "
    "\"u'w'[m^2/s^2]\" \"v'w'[m^2/s^2]\" \"Uconf[m/s]\" \"Vconf[m/s]\" \"Wconf[m/s]\" "
    "\"Uskewness\" \"Uflatness\" \"Vskewness\" \"Vflatness\" \"Wskewness\" \"Wflatness\" "
    "\"Luxfs[m]\" \"Luxm[mm]\" \"C^*[-]\" \"C^*rms[-]\" \"C^*skewness\" \"C^*flatness\" \"flag1\" "
    "\"flag2\" \"flag3\" \"quality flag\"";

static const char* const variables_line_95 =
    "VARIABLES= \"number of time series\" \"number of samples\" \"data rate [Hz]\" "
    "\"X<sub>fs</sub> [m]\" \"Y<sub>fs</sub> [m]\" \"Z<sub>fs</sub> [m]\" \"X<sub>m</sub> [mm]\" "
    "\"Y<sub>m</sub> [mm]\" \"Z<sub>m</sub> [mm]\" \"U<sub>ref</sub> [m/s]\" "
    "\"U<sub>mean</sub>/U<sub>ref</sub> [-]\" \"V<sub>mean</sub>/U<sub>ref</sub> [-]\" "
    "\"W<sub>mean</sub>/U<sub>ref</sub> [-]\" \"U<sub>rms</sub>/U<sub>ref</sub> [-]\" "
    "\"V<sub>rms</sub>/U<sub>ref</sub> [-]\" \"W<sub>rms</sub>/U<sub>ref</sub> [-]\" "
    "\"U'V'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]\" "
    "\"U'W'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]\" "
    "\"V'W'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]\" "
    "\"U<sub>mean-conf-95%</sub>/U<sub>ref</sub> [-]\" "
    "\"V<sub>mean-conf-95%</sub>/U<sub>ref</sub> [-]\" "
    "\"W<sub>mean-conf-95%</sub>/U<sub>ref</sub> [-]\" \"U<sub>mean</sub> [m/s]\" "
    "\"V<sub>mean</sub> [m/s]\" \"W<sub>mean</sub> [m/s]\" \"U<sub>rms</sub> [m/s]\" "
    "\"V<sub>rms</sub> [m/s]\" \"W<sub>rms</sub> [m/s]\" "
    "\"U'V'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]\" "
    "\"U'W'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]\" "
    "\"V'W'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]\" \"U<sub>mean-conf-95%</sub> [m/s]\" "
    "\"V<sub>mean-conf-95%</sub> [m/s]\" \"W<sub>mean-conf-95%</sub> [m/s]\" \"U-skewness\" "
    "\"U-flatness\" \"V-skewness\" \"V-flatness\" \"W-skewness\" \"W-flatness\" "
    "\"L<sub>uxfs</sub> [m]\" \"L<sub>uxm</sub> [mm]\" \"C<sup>*</sup> [-]\" "
    "\"C<sup>*</sup><sub>rms</sub> [-]\" \"C<sup>*</sup><sub>skewness</sub>\" "
    "\"C<sup>*</sup><sub>flatness</sub>\" \"data flag 1\" \"data flag 2\" \"data flag 3\" "
    "\"quality flag\"";

static std::string join_fields(const Lines& fields) {
  std::string row;
  for (const std::string& field : fields) row += (row.empty() ? "" : "   ") + field;
  return row;
}

// Fields separated by three blanks; the padding of a right-aligned value
// belongs to the value.
static Lines split_fields(const std::string& row) {
  Lines fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t content = row.find_first_not_of(' ', start);
    std::size_t at = content == std::string::npos ? content : row.find("   ", content);
    if (at == std::string::npos) break;
    fields.push_back(row.substr(start, at - start));
    start = at + 3;
  }
  fields.push_back(row.substr(start));
  return fields;
}

// A series of the examples: 10,000 samples at 2500 Hz, location (100, -50,
// 150) mm at 1:500, Uref 5.0 m/s, the third series of a run from 3, below
// 1.5 roughness heights (quality flag 1).
struct StatExample {
  WorkingDirectory here;  // with "STAT" unless asked otherwise
  RunSettings settings = example_settings();
  MeasurementInfo info = example_info("U", "W");
  SeriesBuffers& buffers = example_series("100.0", "-50.0", "150.0");
  DataRate rate{2500.0f, 0.0004f};
  MomentStatistics moments{};
  float u_prandtl = 5.0f;
  float lux = 0.05f;  // m, model scale
  explicit StatExample(bool has_stat_directory = true) {
    if (has_stat_directory) here.make_directory("STAT");
    settings.ml_scl = 500;
    settings.ts_stn = 3;
    info.position_class = 1;
    buffers.raw_count[0] = 10000;
    moments.mean[0] = 4.0f;
    moments.mean[1] = -0.5f;
    moments.rms[0] = 0.5f;
    moments.rms[1] = 0.25f;
    moments.skewness[0] = 0.125f;
    moments.skewness[1] = -0.25f;
    moments.flatness[0] = 3.0f;
    moments.flatness[1] = 2.5f;
    moments.confidence[0] = 0.02f;
    moments.confidence[1] = 0.01f;
    moments.covariance = -0.0375f;
  }
  void write(int series_counter, bool is_first_of_run) const {
    write_stat_row(buffers, settings, info, series_counter, is_first_of_run, u_prandtl, rate,
                   moments, lux);
  }
};

TEST(statistics_file, first_series_whole_file_for_pair_u_w) {
  StatExample example;

  example.write(2, true);

  Lines lines = file_lines(example.here.file(long_stat_path));
  ASSERT_EQ(lines.size(), short_header_line_count + 5);
  EXPECT_EQ(lines[0], "# ORVA LDA time series statistics");
  EXPECT_EQ(lines[15], "# 270.00 [wind direction [\xB0]]");
  EXPECT_EQ(lines[30], "# ********** END OF HEADER **********");
  EXPECT_EQ(lines[31], label_line);
  EXPECT_EQ(lines[32], "# ");
  EXPECT_EQ(lines[33], variables_line_95);
  EXPECT_EQ(lines[34], "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017\"");
  const Lines fields = {
      // series number (ts_stn 3, third series), samples, data rate in six characters
      "5", "10000", "  2500",
      // X, Y, Z full scale, then model scale; Uref
      "50.000", "-25.000", "75.000", " 100.0", " -50.0", " 150.0", "  5.00",
      // U, V, W mean, rms / Uref; covariances / Uref^2 (only u'w'); confidence / Uref
      "0.8000", "999.999", "-0.1000", "0.1000", "999.999", "0.0500",
      "999.999", "-0.00150000", "999.999", "0.0040", "999.999", "0.0020",
      // the same in m/s
      "  4.00", "999.999", " -0.50", "  0.50", "999.999", "  0.25",
      "999.999", "-0.0375", "999.999", " 0.020", "999.999", " 0.010",
      // skewness and flatness of U, V, W
      " 0.125", " 3.000", "999.999", "999.999", "-0.250", " 2.500",
      // Lux full scale in m, model scale in mm
      "  25.0", "  50.0",
      // concentrations and data flags, quality flag
      "999.999", "999.999", "999.999", "999.999", "999.999", "999.999", "999.999", "1",
  };
  ASSERT_EQ(fields.size(), 50u);
  EXPECT_EQ(lines[35], join_fields(fields));
}

TEST(statistics_file, marker_columns_per_pair) {
  struct Case {
    const char* component_1;
    const char* component_2;
    std::set<int> marker_columns;  // 1-based
  };
  const Case cases[] = {
      {"U", "W", {12, 15, 17, 19, 21, 24, 27, 29, 31, 33, 37, 38, 43, 44, 45, 46, 47, 48, 49}},
      {"V", "W", {11, 14, 17, 18, 20, 23, 26, 29, 30, 32, 35,
                  36, 41, 42, 43, 44, 45, 46, 47, 48, 49}},
      {"U", "V", {13, 16, 22, 25, 28, 34, 39, 40, 18, 19, 30, 31, 43, 44, 45, 46, 47, 48, 49}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.component_1 << c.component_2);
    StatExample example;
    example.settings.rfn_op = 1;
    set_text(example.info.component_1, c.component_1);
    set_text(example.info.component_2, c.component_2);

    example.write(0, true);

    Lines lines = file_lines(example.here.file("STAT/tunnel_run017_ORVA.stat"));
    ASSERT_EQ(lines.size(), short_header_line_count + 5);
    Lines fields = split_fields(lines.back());
    ASSERT_EQ(fields.size(), 50u);
    std::set<int> markers;
    for (int column = 1; column <= 50; ++column)
      if (fields[column - 1] == "999.999") markers.insert(column);
    EXPECT_EQ(markers, c.marker_columns);
  }
}

TEST(statistics_file, pair_v_w_puts_first_component_into_v_columns) {
  StatExample example;
  example.settings.rfn_op = 1;
  set_text(example.info.component_1, "V");
  set_text(example.info.component_2, "W");

  example.write(0, true);

  Lines fields = split_fields(file_lines(example.here.file("STAT/tunnel_run017_ORVA.stat")).back());
  ASSERT_EQ(fields.size(), 50u);
  EXPECT_EQ(fields[11], "0.8000");       // V mean / Uref: first component
  EXPECT_EQ(fields[12], "-0.1000");      // W mean / Uref: second component
  EXPECT_EQ(fields[18], "-0.00150000");  // v'w' / Uref^2
  EXPECT_EQ(fields[30], "-0.0375");      // v'w'
  EXPECT_EQ(fields[36], " 0.125");       // V skewness
  EXPECT_EQ(fields[39], " 2.500");       // W flatness
}

TEST(statistics_file, confidence_level_in_the_six_variables_labels) {
  struct Case {
    double conf_i;
    const char* level;
  };
  const Case cases[] = {{90.0, "90%"}, {95.0, "95%"}, {99.0, "99%"}, {97.9, "97%"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.conf_i);
    StatExample example;
    example.settings.conf_i = c.conf_i;

    example.write(0, true);

    std::string variables = file_lines(example.here.file(long_stat_path))[33];
    int count = 0;
    for (std::size_t at = 0;
         (at = variables.find(std::string("-conf-") + c.level + "</sub>", at)) != std::string::npos;
         ++at)
      ++count;
    EXPECT_EQ(count, 6);
    EXPECT_EQ(variables.find("%i"), std::string::npos);
  }
}

TEST(statistics_file, two_runs_append_two_header_blocks_and_two_zones) {
  StatExample example;

  for (int run = 0; run < 2; ++run) {
    example.write(0, true);
    example.write(1, false);
  }

  Lines lines = file_lines(example.here.file(long_stat_path));
  const std::size_t block = short_header_line_count + 4 + 2;  // header, labels, zone, two rows
  ASSERT_EQ(lines.size(), 2 * block);
  for (std::size_t start : {std::size_t{0}, block}) {
    SCOPED_TRACE(start);
    EXPECT_EQ(lines[start], "# ORVA LDA time series statistics");
    EXPECT_EQ(lines[start + 31], label_line);
    EXPECT_EQ(lines[start + 34], "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017\"");
    EXPECT_EQ(split_fields(lines[start + 35])[0], "3");
    EXPECT_EQ(split_fields(lines[start + 36])[0], "4");
  }
}

TEST(statistics_file, short_name_with_rfn_op_1_and_long_zone_title_for_both) {
  struct Case {
    int rfn_op;
    const char* path;
  };
  const Case cases[] = {{0, long_stat_path}, {1, "STAT/tunnel_run017_ORVA.stat"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rfn_op);
    StatExample example;
    example.settings.rfn_op = c.rfn_op;

    example.write(0, true);

    EXPECT_EQ(list_files(example.here.directory.path), (std::vector<std::string>{"STAT", c.path}));
    EXPECT_EQ(file_lines(example.here.file(c.path))[34],
              "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017\"");
  }
}

TEST(statistics_file, header_comes_with_the_first_processed_series_when_the_first_was_skipped) {
  StatExample example;

  example.write(1, true);  // series 3 was missing: series 4 is the first processed
  example.write(2, false);

  Lines lines = file_lines(example.here.file(long_stat_path));
  ASSERT_EQ(lines.size(), short_header_line_count + 4 + 2);
  EXPECT_EQ(lines[0], "# ORVA LDA time series statistics");
  EXPECT_EQ(lines[34], "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017\"");
  EXPECT_EQ(split_fields(lines[35])[0], "4");
  EXPECT_EQ(split_fields(lines[36])[0], "5");
}

TEST(statistics_file, pair_outside_the_three_gets_the_header_and_no_rows) {
  StatExample example;
  set_text(example.info.component_1, "W");
  set_text(example.info.component_2, "U");

  example.write(0, true);
  example.write(1, false);

  Lines lines = file_lines(example.here.file("STAT/proj_sub_K_FL_WU_lda1_2700_017_ORVA.stat"));
  ASSERT_EQ(lines.size(), short_header_line_count);
  EXPECT_EQ(lines.back(), "# ********** END OF HEADER **********");
}

TEST(statistics_file, undefined_values_are_written_as_the_marker) {
  StatExample example;
  example.moments.skewness[0] = std::nanf("");
  example.moments.flatness[0] = std::nanf("");
  example.lux = std::nanf("");

  example.write(0, true);

  std::string text = read_file(example.here.file(long_stat_path));
  Lines fields = split_fields(split_lines(text).back());
  ASSERT_EQ(fields.size(), 50u);
  EXPECT_EQ(fields[34], "999.999");  // U skewness
  EXPECT_EQ(fields[35], "999.999");  // U flatness
  EXPECT_EQ(fields[38], "-0.250");   // W skewness stays
  EXPECT_EQ(fields[40], "999.999");  // Lux full scale
  EXPECT_EQ(fields[41], "999.999");  // Lux model scale
  EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST(statistics_file, zero_reference_velocity_leaves_no_inf_in_the_row) {
  StatExample example;
  example.u_prandtl = 0.0f;

  example.write(0, true);

  std::string text = read_file(example.here.file(long_stat_path));
  Lines fields = split_fields(split_lines(text).back());
  ASSERT_EQ(fields.size(), 50u);
  EXPECT_EQ(fields[9], "  0.00");    // Uref
  EXPECT_EQ(fields[10], "999.999");  // U mean / Uref
  EXPECT_EQ(fields[17], "999.999");  // u'w' / Uref^2
  EXPECT_EQ(fields[22], "  4.00");   // U mean in m/s stays
  EXPECT_EQ(text.find("inf"), std::string::npos);
  EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST(statistics_file, missing_directory_ends_the_run_with_status_9) {
  StatExample example(false);

  ForkedRun run = run_forked([&] { example.write(0, true); });

  EXPECT_EQ(run.exit_status, 9);
  EXPECT_NE(run.output.find(long_stat_path), std::string::npos) << run.output;
  EXPECT_TRUE(list_files(example.here.directory.path).empty());
}

// End to end: the built program over a small measurement "meas_x01" with
// components U and W; series files are written for the given numbers only.
struct StatRun {
  TempDirectory directory;
  explicit StatRun(const std::vector<int>& series_numbers) {
    LogbookFixture logbook;
    logbook.component_2 = "W";
    write_logbook_fixture(directory.file("logbook-info.txt"), logbook);
    write_reference_fixture(directory.file("meas_x01_wtref.txt"), {5.0, 5.0, 5.0});
    SeriesFixture series;
    for (int i = 0; i < 100; ++i) {
      series.channels[0].push_back(i * 0.001);
      series.channels[1].push_back(2e-6);
      series.channels[2].push_back(5.0 + 0.1 * (i % 7));
      series.channels[3].push_back(0.05 * (i % 5) - 0.1);
    }
    for (int number : series_numbers) {
      char name[64];
      std::snprintf(name, sizeof name, "meas_x01.%06d.bin", number);
      write_series_fixture(directory.file(name), series);
    }
  }
  ProgramRun run() const {
    return run_program(LDASTAT_PATH, {"meas_c:meas_x01", "ts_nbr:3"}, directory.path);
  }
  Lines stat_lines() const {
    return file_lines(directory.file("STAT/proj_sub_K_FL_UW_lda1_2700_x01_ORVA.stat"));
  }
};

TEST(statistics_run, default_run_writes_the_statistics_file_only) {
  StatRun measurement({1, 2, 3});

  ProgramRun run = measurement.run();

  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(list_files(measurement.directory.path),
            (std::vector<std::string>{"STAT", "STAT/proj_sub_K_FL_UW_lda1_2700_x01_ORVA.stat",
                                      "logbook-info.txt", "meas_x01.000001.bin",
                                      "meas_x01.000002.bin", "meas_x01.000003.bin",
                                      "meas_x01_wtref.txt"}));
  Lines lines = measurement.stat_lines();
  ASSERT_EQ(lines.size(), short_header_line_count + 4 + 3);
  EXPECT_EQ(lines[34], "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_x01\"");
  for (int k = 0; k < 3; ++k) {
    Lines fields = split_fields(lines[35 + k]);
    ASSERT_EQ(fields.size(), 50u);
    EXPECT_EQ(fields[0], std::to_string(k + 1));
    EXPECT_EQ(fields[1], "100");
  }
}

TEST(statistics_run, header_with_the_first_processed_series_when_series_1_is_missing) {
  StatRun measurement({2, 3});

  ProgramRun run = measurement.run();

  ASSERT_EQ(run.exit_status, 0) << run.output;
  Lines lines = measurement.stat_lines();
  ASSERT_EQ(lines.size(), short_header_line_count + 4 + 2);
  EXPECT_EQ(lines[0], "# ORVA LDA time series statistics");
  EXPECT_EQ(lines[31], label_line);
  EXPECT_EQ(lines[34], "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_x01\"");
  EXPECT_EQ(split_fields(lines[35])[0], "2");
  EXPECT_EQ(split_fields(lines[36])[0], "3");
}

TEST(statistics_run, two_runs_append_two_zones) {
  StatRun measurement({1, 2, 3});

  ASSERT_EQ(measurement.run().exit_status, 0);
  ASSERT_EQ(measurement.run().exit_status, 0);

  Lines lines = measurement.stat_lines();
  const std::size_t block = short_header_line_count + 4 + 3;
  ASSERT_EQ(lines.size(), 2 * block);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + block), Lines(lines.begin() + block, lines.end()));
}

TEST(statistics_run, statistics_directory_that_cannot_be_made_ends_with_status_9) {
  StatRun measurement({1, 2, 3});
  write_text_file(measurement.directory.file("STAT"), "a file, not a directory\n");

  ProgramRun run = measurement.run();

  EXPECT_EQ(run.exit_status, 9);
  EXPECT_NE(run.output.find("STAT/proj_sub_K_FL_UW_lda1_2700_x01_ORVA.stat"), std::string::npos)
      << run.output;
  EXPECT_EQ(read_file(measurement.directory.file("STAT")), "a file, not a directory\n");
}
