// Helpers of the PLUMEX tests: a measurement directory, runs of the built
// program in it, and line-by-line comparison of texts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tools/concentration_generator/concentration_writer.h"

// Writes "logbook-info_cc.txt" and, unless `series` is null, the series
// file "series.txt" into the directory.
inline void write_measurement(const TempDirectory& dir, const CcLogbookFixture& logbook, const char* series) {
  ASSERT_TRUE(write_cc_logbook_fixture(dir.file("logbook-info_cc.txt"), logbook));
  if (series != nullptr) write_text_file(dir.file("series.txt"), series);
}

inline ProgramRun run_plumex(const TempDirectory& dir, const std::vector<std::string>& words) {
  return run_program(PLUMEX_PATH, words, dir.path);
}

// The files of the directory besides the inputs a test wrote.
inline std::vector<std::string> output_files(const TempDirectory& dir) {
  std::vector<std::string> outputs;
  for (const std::string& name : list_files(dir.path))
    if (name != "logbook-info_cc.txt" && name != "series.txt") outputs.push_back(name);
  return outputs;
}

// Compares line by line and names the first differing line.
inline void expect_same_lines(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  std::size_t common = expected.size() < actual.size() ? expected.size() : actual.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] != actual[i]) {
      ADD_FAILURE() << "line " << i + 1 << "\n expected: \"" << expected[i] << "\"\n actual:   \"" << actual[i]
                    << "\"";
      return;
    }
  }
  EXPECT_EQ(expected.size(), actual.size()) << "line counts differ after line " << common;
}

// `count` comment lines "# ".
inline std::vector<std::string> comment_gap(int count) { return std::vector<std::string>(count, "# "); }

inline void append_lines(std::vector<std::string>& lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

inline std::vector<std::string> with_words(std::vector<std::string> words, const std::vector<std::string>& more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

// The description of the end-to-end fixtures, with the given release mode.
inline CcLogbookFixture fixture_logbook(const char* release_mode) {
  CcLogbookFixture logbook;
  logbook.main_project = "proj";
  logbook.sub_project = "sub";
  logbook.wind_tunnel = "BLWT";
  logbook.meas_type = "CC";
  logbook.wind_direction = "2700";
  logbook.released_gas = "C2H6";
  logbook.gas_factor = "1.0";
  logbook.release_mode = release_mode;
  logbook.source_name = "S1";
  logbook.release_x = "10.5";
  logbook.release_y = "-20.0";
  logbook.release_z = "5.0";
  return logbook;
}

// The parts of a result header that differ between runs; the fixed lines
// around them are added by expected_header.
struct ExpectedHeader {
  std::vector<std::string> general;        // "# proj [main project name]" ... the two Lref lines
  std::vector<std::string> notes;          // the ten lines after them
  std::vector<std::string> concentration;  // "# CC ... [measurement type]" ... the dosage threshold line
  std::vector<std::string> locations;      // source and measurement locations, confidence interval
  std::string variables;                   // the "VARIABLES =" line
};

inline std::vector<std::string> expected_header(const ExpectedHeader& parts) {
  std::vector<std::string> lines = {"# ORVA post-processed puff dispersion measurement", "# ",
                                    "# ********** DATA DESCRIPTION **********"};
  append_lines(lines, comment_gap(5));
  lines.push_back("# ********** GENERAL INFORMATION **********");
  append_lines(lines, parts.general);
  append_lines(lines, parts.notes);
  append_lines(lines, {"# ********** FLOW MEASUREMENTS **********",
                       "# # [measurement type]",
                       "# # [number of columns]",
                       "# # [labels]",
                       "# # [measured components]",
                       "# # [measurement location X - model scale [mm]]",
                       "# # [measurement location Y - model scale [mm]]",
                       "# # [measurement location Z - model scale [mm]]",
                       "# # [measurement location X - full scale [m]]",
                       "# # [measurement location Y - full scale [m]]",
                       "# # [measurement location Z - full scale [m]]",
                       "# # [measurement location utm Easting [m]]",
                       "# # [measurement location utm Northing [m]]",
                       "# # [confidence intervall {U,V,W}/Uref[-]]"});
  append_lines(lines, comment_gap(10));
  lines.push_back("# ********** CONCENTRATION MEASUREMENTS **********");
  append_lines(lines, parts.concentration);
  append_lines(lines, parts.locations);
  append_lines(lines, comment_gap(9));
  lines.push_back("# ********** END OF HEADER **********");
  lines.push_back(parts.variables);
  return lines;
}
