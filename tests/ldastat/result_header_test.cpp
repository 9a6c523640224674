#include "ldastat/stats/result_header.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

using Lines = std::vector<std::string>;

static std::string header_text(ResultKind kind, const RunSettings& settings,
                               const MeasurementInfo& info, const SeriesBuffers& buffers,
                               float u_prandtl) {
  TempDirectory directory;
  std::string path = directory.file("header.txt");
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return "";
  write_result_header(file, result_header_of(kind), settings, info, buffers, u_prandtl);
  std::fclose(file);
  return read_file(path);
}

static Lines header_lines(ResultKind kind, const RunSettings& settings, const MeasurementInfo& info,
                          const SeriesBuffers& buffers, float u_prandtl) {
  return split_lines(header_text(kind, settings, info, buffers, u_prandtl));
}

static void add_blank_lines(Lines& lines, int count) {
  for (int i = 0; i < count; ++i) lines.push_back("# ");
}

static void expect_same_lines(const Lines& actual, const Lines& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

static const Lines concentration_placeholders = {
    "# ********** CONCENTRATION MEASUREMENTS **********",
    "# # [measurement type]",
    "# # [number of columns]",
    "# # [labels]",
    "# # [released gas]",
    "# # [source strength [l/h]]",
    "# # [release duration [s]]",
    "# # [number of released puffs]",
    "# # [number of detected puffs, which dosage exceeds the dosage threshold]",
    "# # [discard threshold/minimum dosage - model scale [ppmvs] ]",
    "# # [source location X - model scale [mm]]",
    "# # [source location Y - model scale [mm]]",
    "# # [source location Z - model scale [mm]]",
    "# # [source location X - full scale [m]]",
    "# # [source location Y - full scale [m]]",
    "# # [source location Z - full scale [m]]",
    "# # [source location utm Easting [m]]",
    "# # [source location utm Northing [m]]",
    "# # [measurement location X - model scale [mm]]",
    "# # [measurement location Y - model scale [mm]]",
    "# # [measurement location Z - model scale [mm]]",
    "# # [measurement location X - full scale [m]]",
    "# # [measurement location Y - full scale [m]]",
    "# # [measurement location Z - full scale [m]]",
    "# # [measurement location utm Easting [m]]",
    "# # [measurement location utm Northing [m]]",
    "# # [1E-6 * confidence intervall [-]]",
};

static void add_closing_lines(Lines& lines) {
  lines.push_back("# 11.12.2026 [date of measurement]");
  lines.push_back("# ********** END OF HEADER **********");
}

// Lines 1 to 15, the same in both forms of the examples.
static Lines opening_lines(const char* title) {
  Lines lines = {title, "# ", "# ********** DATA DESCRIPTION **********"};
  add_blank_lines(lines, 5);
  Lines general = {
      "# ********** GENERAL INFORMATION **********",
      "# proj [main project name]",
      "# sub [sub project name]",
      "# KESTREL [wind tunnel facility]",
      "# 1:500 [model - scale]",
      "# 100.00 [zref - full scale [m]]",
      "# 200.00 [zref - model scale [mm]]",
  };
  lines.insert(lines.end(), general.begin(), general.end());
  return lines;
}

// The examples: scale 1:500, zref 0.2 m, Uref 5.0 * 0.8632, direction
// 270.5 degrees, location (12.5, -3.0, 150.0) mm, components U and W.
struct Example {
  RunSettings settings = example_settings();
  MeasurementInfo info = example_info("U", "W");
  SeriesBuffers& buffers = example_series("12.5", "-3.0", "150.0");
  float u_prandtl = 5.0f;
  Example() {
    settings.ml_scl = 500;
    settings.ref_ht = 0.2f;
    settings.sc_fac = 0.8632f;
    set_text(info.wind_direction, "2705");
  }
};

TEST(result_header, time_series_block_of_the_examples_line_by_line) {
  Example example;
  example.info.position_class = 2;
  Lines expected = opening_lines("# ORVA post-processed LDA time series");
  Lines reference_and_note = {
      "#  4.32 [Uref - model [m/s]]",
      "# 270.50 [approach flow direction [\xB0]]",
      "# 1.0 [Lref - model scale [m]]",
      "# 500 [Lref - full scale [m]]",
      "# # [utm zone]",
      "# ",
      "# ATTENTION: handle with care,",
      "#            flow might be out of the prandtl layer!",
      "#            (position within ]100 m; 150 m] height in full scale)",
  };
  expected.insert(expected.end(), reference_and_note.begin(), reference_and_note.end());
  add_blank_lines(expected, 6);
  Lines flow = {
      "# ********** FLOW MEASUREMENTS **********",
      "# FL (LDA)[measurement type]",
      "# 5 [number of columns]",
      "# \"I\" \"T*\" \"U/Uref\" \"V/Uref\" \"W/Uref\" [labels]",
      "# UW [measured components]",
      "# 12.50 [measurement location X - model scale [mm]]",
      "# -3.00 [measurement location Y - model scale [mm]]",
      "# 150.00 [measurement location Z - model scale [mm]]",
      "#  6.25 [measurement location X - full scale [m]]",
      "# -1.50 [measurement location Y - full scale [m]]",
      "# 75.00 [measurement location Z - full scale [m]]",
      "# # [measurement location utm Easting [m]]",
      "# # [measurement location utm Northing [m]]",
      "# 999.999 999.999 [confidence intervall {U,W}/Uref[-]]",
  };
  expected.insert(expected.end(), flow.begin(), flow.end());
  add_blank_lines(expected, 10);
  expected.insert(expected.end(), concentration_placeholders.begin(),
                  concentration_placeholders.end());
  add_blank_lines(expected, 8);
  add_closing_lines(expected);
  ASSERT_EQ(expected.size(), 91u);

  expect_same_lines(header_lines(ResultKind::time_series, example.settings, example.info,
                                 example.buffers, example.u_prandtl),
                    expected);
}

TEST(result_header, short_form_has_31_lines_with_wind_direction_and_no_flow_section) {
  Example example;
  example.info.position_class = 3;  // the short form has no position note
  Lines expected = opening_lines("# ORVA LDA time series statistics");
  Lines reference = {
      "# 270.50 [wind direction [\xB0]]",
      "# 1.0 [Lref - model scale [m]]",
      "# 500 [Lref - full scale [m]]",
      "# # [utm zone]",
  };
  expected.insert(expected.end(), reference.begin(), reference.end());
  add_blank_lines(expected, 10);
  add_closing_lines(expected);
  ASSERT_EQ(expected.size(), 31u);

  expect_same_lines(header_lines(ResultKind::statistics, example.settings, example.info,
                                 example.buffers, example.u_prandtl),
                    expected);
}

TEST(result_header, full_form_line_count_for_every_kind_and_position_class) {
  struct Case {
    ResultKind kind;
    std::size_t line_count;
  };
  // Direction kind: nine filler lines after the confidence line.
  const Case cases[] = {{ResultKind::time_series, 91},
                        {ResultKind::power_spectrum, 91},
                        {ResultKind::speed_fluctuation, 91},
                        {ResultKind::direction_fluctuation, 90}};
  Example example;
  for (const Case& c : cases) {
    for (int position_class = 0; position_class <= 3; ++position_class) {
      SCOPED_TRACE(testing::Message()
                   << "kind " << static_cast<int>(c.kind) << ", class " << position_class);
      example.info.position_class = position_class;
      Lines lines =
          header_lines(c.kind, example.settings, example.info, example.buffers, example.u_prandtl);
      ASSERT_EQ(lines.size(), c.line_count);
      EXPECT_EQ(lines[30], "# ********** FLOW MEASUREMENTS **********");
      EXPECT_EQ(lines.back(), "# ********** END OF HEADER **********");
    }
  }
}

TEST(result_header, position_note_fills_lines_21_to_30) {
  struct Case {
    int position_class;
    Lines note;  // lines 21 to 30
  };
  const Case cases[] = {
      {0, {"# ", "# ", "# ", "# ", "# ", "# ", "# ", "# ", "# ", "# "}},
      {1,
       {"# ", "# ATTENTION: in case of an approach flow measurement,",
        "#            timeseries is not adequate for boundary layer characterization!",
        "#            (position below 1.5 height of roughness elements)", "# ", "# ", "# ", "# ",
        "# ", "# "}},
      {2,
       {"# ", "# ATTENTION: handle with care,",
        "#            flow might be out of the prandtl layer!",
        "#            (position within ]100 m; 150 m] height in full scale)", "# ", "# ", "# ",
        "# ", "# ", "# "}},
      {3,
       {"# ", "# ATTENTION: flow is out of the model area (prandtl layer)!",
        "#            (position above 150 m height in full scale)", "# ", "# ", "# ", "# ", "# ",
        "# ", "# "}},
  };
  Example example;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position_class);
    example.info.position_class = c.position_class;
    Lines lines = header_lines(ResultKind::time_series, example.settings, example.info,
                               example.buffers, example.u_prandtl);
    ASSERT_EQ(lines.size(), 91u);
    EXPECT_EQ(Lines(lines.begin() + 20, lines.begin() + 30), c.note);
  }
}

TEST(result_header, confidence_line_only_for_the_three_pairs) {
  struct Case {
    const char* component_1;
    const char* component_2;
    const char* line_44;  // nullptr: no confidence line, block one line shorter
  };
  const Case cases[] = {
      {"U", "V", "# 0.050 0.125 [confidence intervall {U,V}/Uref[-]]"},
      {"U", "W", "# 0.050 0.125 [confidence intervall {U,W}/Uref[-]]"},
      {"V", "W", "# 0.050 0.125 [confidence intervall {V,W}/Uref[-]]"},
      {"W", "U", nullptr},
      {"U", "U", nullptr},
  };
  Example example;
  example.settings.repro1 = 0.05f;
  example.settings.repro2 = 0.125f;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.component_1 << c.component_2);
    set_text(example.info.component_1, c.component_1);
    set_text(example.info.component_2, c.component_2);
    Lines lines = header_lines(ResultKind::time_series, example.settings, example.info,
                               example.buffers, example.u_prandtl);
    EXPECT_EQ(lines[34],
              std::string("# ") + c.component_1 + c.component_2 + " [measured components]");
    EXPECT_EQ(lines[42], "# # [measurement location utm Northing [m]]");
    if (c.line_44 != nullptr) {
      ASSERT_EQ(lines.size(), 91u);
      EXPECT_EQ(lines[43], c.line_44);
    } else {
      ASSERT_EQ(lines.size(), 90u);
      EXPECT_EQ(lines[43], "# ");
      EXPECT_EQ(lines[53], "# ********** CONCENTRATION MEASUREMENTS **********");
    }
  }
}

TEST(result_header, kinds_differ_in_title_type_columns_and_labels) {
  struct Case {
    ResultKind kind;
    const char* title;
    const char* type_line;
    const char* columns_line;
    const char* labels_line;
  };
  const Case cases[] = {
      {ResultKind::time_series, "# ORVA post-processed LDA time series",
       "# FL (LDA)[measurement type]", "# 5 [number of columns]",
       "# \"I\" \"T*\" \"U/Uref\" \"V/Uref\" \"W/Uref\" [labels]"},
      {ResultKind::power_spectrum, "# ORVA power spectrum derived from LDA time series",
       "# FL [measurement type]", "# 2 [number of columns]",
       "# \"f*z/Umean\" \"f*SUU(f,z)/sigmaU^2\" [labels]"},
      {ResultKind::direction_fluctuation,
       "# ORVA fluctuations of wind direction derived from LDA time series",
       "# FL [measurement type]", "# 2 [number of columns]",
       "# \"deviation in W-direction\" \"normalized frequency of occurence\" [labels]"},
      {ResultKind::speed_fluctuation,
       "# ORVA fluctuations of wind speed derived from LDA time series", "# FL [measurement type]",
       "# 7 [number of columns]",
       "# \"classnumber\" \"component 1/Uref\" \"component 2/Uref\" "
       "\"occurrence component 1 (abs)\" \"occurrence component 2 (abs)\" "
       "\"occurrence component 1 (norm)\" \"occurrence component 2 (norm)\" [labels]"},
  };
  Example example;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Lines lines =
        header_lines(c.kind, example.settings, example.info, example.buffers, example.u_prandtl);
    EXPECT_EQ(lines[0], c.title);
    EXPECT_EQ(lines[31], c.type_line);
    EXPECT_EQ(lines[32], c.columns_line);
    EXPECT_EQ(lines[33], c.labels_line);
  }
}

TEST(result_header, direction_kind_has_nine_filler_lines_after_the_confidence_line) {
  Example example;
  Lines lines = header_lines(ResultKind::direction_fluctuation, example.settings, example.info,
                             example.buffers, example.u_prandtl);
  ASSERT_EQ(lines.size(), 90u);
  EXPECT_EQ(lines[43], "# 999.999 999.999 [confidence intervall {U,W}/Uref[-]]");
  for (int i = 44; i < 53; ++i) EXPECT_EQ(lines[i], "# ") << "line " << i + 1;
  EXPECT_EQ(lines[53], "# ********** CONCENTRATION MEASUREMENTS **********");
}

TEST(result_header, harrier_tunnel_and_degree_sign_as_one_latin1_byte) {
  Example example;
  set_text(example.info.wind_tunnel, "H");
  std::string text = header_text(ResultKind::time_series, example.settings, example.info,
                                 example.buffers, example.u_prandtl);
  Lines lines = split_lines(text);
  EXPECT_EQ(lines[11], "# HARRIER [wind tunnel facility]");
  EXPECT_EQ(lines[16], std::string("# 270.50 [approach flow direction [") + '\xB0' + "]]");
  EXPECT_EQ(text.find("\xC2\xB0"), std::string::npos);  // not UTF-8
}

TEST(result_header, values_that_are_not_finite_show_the_marker) {
  Example example;
  set_text(example.buffers.pos_z, "1e999");  // reads as infinity
  const float infinity = std::numeric_limits<float>::infinity();
  Lines lines = header_lines(ResultKind::time_series, example.settings, example.info,
                             example.buffers, infinity);
  EXPECT_EQ(lines[15], "# 999.999 [Uref - model [m/s]]");
  EXPECT_EQ(lines[37], "# 999.999 [measurement location Z - model scale [mm]]");
  EXPECT_EQ(lines[40], "# 999.999 [measurement location Z - full scale [m]]");
  std::string text = header_text(ResultKind::time_series, example.settings, example.info,
                                 example.buffers, infinity);
  EXPECT_EQ(text.find("inf"), std::string::npos);
  EXPECT_EQ(text.find("nan"), std::string::npos);
}
