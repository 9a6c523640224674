// End-to-end runs of the puff evaluation.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/plumex/plumex_fixture.h"

namespace {

const char* const puff_file = "TS/S1_WD2700_P003_Z00200_07_nd.dts";

// 20 Hz (dt 0.05 s), triggers of two samples at 5, 45, 85 and 125: three
// releases of 40 samples (4 blocks of 10), on = 2 (0.10 s) each. The first
// 5 samples of each release (T_OFFS 0.2 s) hold c_eff 10, 14 and 12: the
// common offset is 12.0. Block means of c_corr: release 0 -2, 100, 0, 2
// (dosage 0.5 * 100 = 50.0, detected at THRHLD 50), release 1 2, 50, 0, 0
// (26.0, not detected), release 2 0, 200, 100, 0 (150.0). Segment 0 and the
// trailing segment hold 500. A trailing empty line makes n = 151.
std::string puff_series(int pulse_samples = 2) {
  std::vector<double> effective(150, 500.0);
  std::vector<double> trigger(150, 0.0);
  struct Release {
    int start;
    double window;
    double blocks[4];
  };
  const Release releases[] = {
      {5, 10.0, {10.0, 112.0, 12.0, 14.0}}, {45, 14.0, {14.0, 62.0, 12.0, 12.0}}, {85, 12.0, {12.0, 212.0, 112.0, 12.0}}};
  for (const Release& r : releases)
    for (int k = 0; k < 40; ++k) effective[r.start + k] = k < 5 ? r.window : r.blocks[k / 10];
  for (int start : {5, 45, 85, 125})
    for (int k = 0; k < pulse_samples; ++k) trigger[start + k] = 5.0;
  std::string text;
  char line[96];
  for (int i = 0; i < 150; ++i) {
    std::snprintf(line, sizeof line, "%.2f 5.0 1.0 %.1f %.1f 2.0\n", i * 0.05, effective[i] + 1.0, trigger[i]);
    text += line;
  }
  return text + "\n";
}

// Q = 36 l/h = 9.999999999999999e-06 m^3/s, T_rel 0.1 s: V = 1.0e-6 m^3;
// L = 0.1 m: a block mean of 100 ppmv gives C* = 0.001 * 100 / 1e-6 / 1e6 = 0.1.
const std::vector<std::string> puff_words = {"INPUTF:series.txt", "SAMPLE:20",  "THRHLD:50", "REFLTH:0.1",
                                             "COEF_B:36",         "TEMP__:0",   "SCALE_:100", "Z_MEAS:20",
                                             "POINT_:3",          "NUMBER:07"};

std::vector<std::string> puff_header() {
  ExpectedHeader parts;
  parts.general = {"# proj [main project name]",
                   "# sub [sub project name]",
                   "# BLWT [wind tunnel facility]",
                   "# 1:100 [model scale]",
                   "# 1000.0 [zref - model scale [mm]]",
                   "# 100.00 [zref - full scale [m]]",
                   "# 5.00 [Uref - model [m/s]]",
                   "# 270.00 [wind direction [\xB0]]",
                   "# 100.0000 [Lref - model scale [mm]]",
                   "#  10.0 [Lref - full scale [m]]"};
  parts.notes = {"# ",
                 "# PLEASE NOTE: A threshold is applied to the dosage of each puff signal!",
                 "#              Signals, which dosage did not reach this threshold are labeled",
                 "#              with the quality-flag \"1\" and might not be adequate for the analysis",
                 "#              of puff-dispersion!"};
  append_lines(parts.notes, comment_gap(5));
  parts.concentration = {"# CC puff [measurement type]",
                         "# 3 [number of columns]",
                         "# \"T*\" \"C*\" \"quality-flag\" [labels]",
                         "# C2H6 [released gas]",
                         "# 36.00 [source strength [l/h]]",
                         "# 0.10 [release duration [s]]",
                         "# 3 [number of released puffs]",
                         "# 2 [number of detected puffs, which dosage exceeds the dosage threshold]",
                         "# 50.00 [dosage threshold - model scale [ppmvs]]"};
  parts.locations = {"# 10.50 [source location X - model scale [mm]]",
                     "# -20.00 [source location Y - model scale [mm]]",
                     "# 5.00 [source location Z - model scale [mm]]",
                     "# 1.05 [source location X - full scale [m]]",
                     "# -2.00 [source location Y - full scale [m]]",
                     "# 0.50 [source location Z - full scale [m]]",
                     "# # [source location utm Easting [m]]",
                     "# # [source location utm Northing [m]]",
                     "# 1000.00 [measurement location X - model scale [mm]]",
                     "# 1000.00 [measurement location Y - model scale [mm]]",
                     "# 20.00 [measurement location Z - model scale [mm]]",
                     "# 100.00 [measurement location X - full scale [m]]",
                     "# 100.00 [measurement location Y - full scale [m]]",
                     "# 2.00 [measurement location Z - full scale [m]]",
                     "# # [measurement location utm Easting [m]]",
                     "# # [measurement location utm Northing [m]]",
                     "# 999.99 [1E-6 * confidence intervall [-]]"};
  parts.variables =
      "VARIABLES = \"T<sup>*</sup>[-]\" \"1E-6<math>W</math>C<sup>*</sup>[-]\" \"quality-flag[-]\"";
  return expected_header(parts);
}

const char* const puff_console_tail =
    "\n Input-file series.txt has been opened!\n"
    " time series loaded!\n\n"
    " U (prandtl-tube):  5.00 m/s     U (reference):  5.00 m/s\n\n"
    " samples: 151\n\n"
    " 3 releases extracted!\n\n"
    " duration of release:\n min:    0.10 s\n max:    0.10 s\n mean:   0.10 s\n\n"
    " offset:  12.0 ppmv\n\n"
    " releases block-averaged!\n\n"
    " 2 puffs detected (out of 3 releases)!   (threshold:  50.0 ppmvs)\n"
    "\n\n\n Goodbye!\n";

std::string console_after_protocol(const std::string& output) {
  std::size_t protocol_end = output.find(" [l/h]\n\n\n");
  return protocol_end == std::string::npos ? output : output.substr(protocol_end + 9);
}

}  // namespace

TEST(puff_run, whole_result_file_and_console) {
  // T_blk of the blocks: 0.225, 0.725, 1.225, 1.725 s, all after T_NDLE
  // 0.111 s: T* = (0.225 - 0.111) * 5 / 0.1 = 5.70, and so on by 25.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("PUFF"), puff_series().c_str());
  ProgramRun run = run_plumex(dir, puff_words);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(console_after_protocol(run.output), puff_console_tail);
  EXPECT_EQ(output_files(dir), (std::vector<std::string>{"TS", puff_file}));
  std::vector<std::string> expected = puff_header();
  append_lines(expected, {"ZONE T=\"puff-release 0  quality-flag: 0\"",
                          " 5.70   -0.00    0",
                          "30.70    0.10    0",
                          "55.70    0.00    0",
                          "80.70    0.00    0",
                          "ZONE T=\"puff-release 1  quality-flag: 1\"",
                          " 5.70    0.00    1",
                          "30.70    0.05    1",
                          "55.70    0.00    1",
                          "80.70    0.00    1",
                          "ZONE T=\"puff-release 2  quality-flag: 0\"",
                          " 5.70    0.00    0",
                          "30.70    0.20    0",
                          "55.70    0.10    0",
                          "80.70    0.00    0"});
  expect_same_lines(expected, split_lines(read_file(dir.file(puff_file))));
}

TEST(puff_run, rows_only_from_t_ndle) {
  // T_NDLE 0.5 s drops block 0 of every release: T* = (0.725 - 0.5) * 50 = 11.25.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("PUFF"), puff_series().c_str());
  ProgramRun run = run_plumex(dir, with_words(puff_words, {"T_NDLE:0.5"}));
  EXPECT_EQ(run.exit_status, 0);
  std::vector<std::string> lines = split_lines(read_file(dir.file(puff_file)));
  std::vector<std::string> expected = puff_header();
  append_lines(expected, {"ZONE T=\"puff-release 0  quality-flag: 0\"", "11.25    0.10    0", "36.25    0.00    0",
                          "61.25    0.00    0", "ZONE T=\"puff-release 1  quality-flag: 1\"", "11.25    0.05    1",
                          "36.25    0.00    1", "61.25    0.00    1", "ZONE T=\"puff-release 2  quality-flag: 0\"",
                          "11.25    0.20    0", "36.25    0.10    0", "61.25    0.00    0"});
  expect_same_lines(expected, lines);
}

TEST(puff_run, release_count_line_singular_and_plural) {
  // Cut after 85 lines the series holds the triggers at 5 and 45 (R = 1),
  // after 86 lines also the one at 85 (R = 2).
  struct Case {
    int line_count;
    const char* count_line;
    const char* detected_line;
  };
  const Case cases[] = {
      {85, "\n 1 release extracted!\n\n duration of release:\n", " 1 puffs detected (out of 1 releases)!"},
      {86, "\n 2 releases extracted!\n\n duration of release:\n", " 1 puffs detected (out of 2 releases)!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line_count);
    CcLogbookFixture logbook = fixture_logbook("puff");
    std::string series = puff_series();
    std::size_t cut = 0;
    for (int line = 0; line < c.line_count; ++line) cut = series.find('\n', cut) + 1;
    TempDirectory dir;
    write_measurement(dir, logbook, series.substr(0, cut).c_str());
    ProgramRun run = run_plumex(dir, puff_words);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_NE(run.output.find(c.count_line), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(c.detected_line), std::string::npos) << run.output;
  }
}

TEST(puff_run, window_longer_than_a_release_is_cut_once) {
  // T_OFFS 5 s is 101 samples, longer than each 40-sample release.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("PUFF"), puff_series().c_str());
  ProgramRun run = run_plumex(dir, with_words(puff_words, {"T_OFFS:5"}));
  EXPECT_EQ(run.exit_status, 0);
  const char* note = " offset window (T_OFFS 5.000 s) longer than 3 of 3 releases: cut at the release end!\n\n";
  std::size_t at = run.output.find(note);
  EXPECT_NE(at, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(note, at + 1), std::string::npos);
}
