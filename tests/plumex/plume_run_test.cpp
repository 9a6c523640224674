// End-to-end runs of the plume evaluation.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plumex/processing/plume.h"
#include "tests/plumex/plumex_fixture.h"

namespace {

const char* const plume_file = "TS/S1_WD2700_P007_Z01500_00_nd.dts";

// 130 samples 1 ms apart, u_P 5.0, c_b 2.0, c_eff alternating +-5 around
// 100 + 10 b in block b, and a trailing empty line: n = 131, so the sums
// over 130 data lines divide by 130.
std::string plume_series() {
  std::string text;
  char line[96];
  for (int i = 0; i < 130; ++i) {
    double c = 102.0 + 10.0 * (i / 10) + (i % 2 == 0 ? 5.0 : -5.0);
    std::snprintf(line, sizeof line, "%.3f 5.0 2.0 %.1f 0.0 2.0\n", i * 0.001, c);
    text += line;
  }
  return text + "\n";
}

// Q = 36 l/h at 0 degrees and 1013.25 hPa (9.999999999999999e-06 m^3/s),
// L = 0.1 m, U_ref = 2.0 * 5.0 m/s.
const std::vector<std::string> plume_words = {"INPUTF:series.txt", "SCALE_:300",  "SC_FAC:2",   "REFHGT:0.5",
                                              "Z_MEAS:50",         "X_MEAS:100",  "Y_MEAS:200", "POINT_:7",
                                              "REFLTH:0.1",        "COEF_B:36",   "TEMP__:0",   "REPRO_:2.0"};

std::vector<std::string> plume_header() {
  ExpectedHeader parts;
  parts.general = {"# proj [main project name]",
                   "# sub [sub project name]",
                   "# BLWT [wind tunnel facility]",
                   "# 1:300 [model scale]",
                   "# 500.0 [zref - model scale [mm]]",
                   "# 150.00 [zref - full scale [m]]",
                   "# 10.00 [Uref - model [m/s]]",
                   "# 270.00 [wind direction [\xB0]]",
                   "# 0.0003 [Lref - model scale [m]]",
                   "#   0.1 [Lref - full scale [m]]"};
  parts.notes = comment_gap(10);
  parts.concentration = {
      "# CC plume [measurement type]",
      "# 2 [number of columns]",
      "# \"T*\" \"C*\" [labels]",
      "# C2H6 [released gas]",
      "# 36.00 [source strength [l/h]]",
      "# \"continuous release\" [release duration [s]]",
      "# \"continuous release\" [number of released puffs]",
      "# \"continuous release\" [number of detected puffs, which dosage exceeds the dosage threshold]",
      "# \"continuous release\" [dosage threshold - model scale [ppmvs]]"};
  parts.locations = {"# 10.50 [source location X - model scale [mm]]",
                     "# -20.00 [source location Y - model scale [mm]]",
                     "# 5.00 [source location Z - model scale [mm]]",
                     "# 3.15 [source location X - full scale [m]]",
                     "# -6.00 [source location Y - full scale [m]]",
                     "# 1.50 [source location Z - full scale [m]]",
                     "# # [source location utm Easting [m]]",
                     "# # [source location utm Northing [m]]",
                     "# 100.00 [measurement location X - model scale [mm]]",
                     "# 200.00 [measurement location Y - model scale [mm]]",
                     "# 50.00 [measurement location Z - model scale [mm]]",
                     "# 30.00 [measurement location X - full scale [m]]",
                     "# 60.00 [measurement location Y - full scale [m]]",
                     "# 15.00 [measurement location Z - full scale [m]]",
                     "# # [measurement location utm Easting [m]]",
                     "# # [measurement location utm Northing [m]]",
                     "#  0.02 [1E-6 * confidence intervall [-]]"};
  parts.variables = "VARIABLES = \"t<sup>*</sup>[-]\" \"1E-6<math>W</math>c<sup>*</sup>[-]\"";
  std::vector<std::string> lines = expected_header(parts);
  lines.push_back("ZONE T=\"plume-release\"");
  return lines;
}

const char* const plume_console =
    "logbook-information file opened!\n\n"
    "\n\n\n *******************************************\n"
    " *     W I N D   T U N N E L - D A T A     *\n"
    " *             A N A L Y S I S             *\n"
    " *                                         *\n"
    " *                 PLUMEX                  *\n"
    " * --------------------------------------- *\n"
    " *******************************************\n\n\n"
    "\n\n The adjustments of this run are:\n\n"
    " input-file                 : series.txt\n"
    " main project name          : proj\n"
    " sub project name           : sub\n"
    " wind tunnel                : BLWT\n"
    " model-scale                : 300\n"
    " scale-factor               : 2.000000\n"
    " reference height           : 0.500 [m]\n"
    " wind direction             : 270.0 [deg]\n"
    " type of measurement        : CC\n"
    " name of source             : S1\n"
    " released gas               : C2H6\n"
    " threshold                  : 1000.00 [ppmvs]\n"
    " sampling frequency         : 1000.00 [Hz]\n"
    " block size                 : 10\n"
    " time correction            : 0.111 [s]\n"
    " x-position for release     : 10.5 [mm]\n"
    " y-position for release     : -20.0 [mm]\n"
    " z-position for release     : 5.0 [mm]\n"
    " x-position for measurement : 100.0 [mm]\n"
    " y-position for measurement : 200.0 [mm]\n"
    " z-position for measurement :  50.0 [mm]\n"
    " coefficient a              :  0.00 [(l/h)/V]\n"
    " coefficient b              : 36.00 [l/h]\n\n\n"
    "\n Input-file series.txt has been opened!\n"
    " time series loaded!\n\n"
    " U (prandtl-tube):  5.00 m/s     U (reference): 10.00 m/s\n\n"
    " samples: 131\n\n"
    "\n\n\n Goodbye!\n";

}  // namespace

TEST(plume_run, whole_result_file_and_console) {
  // Blocks 0 to 10 (mean times 0.0045 s to 0.1045 s) are before T_NDLE
  // 0.111 s; block 11 (0.1145 s) gives T* = 0.0035 * 10 / 0.1 = 0.35 and
  // C* = 0.01 * (210 * 10) / Q / 1e6 = 2.10.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), plume_series().c_str());
  ProgramRun run = run_plumex(dir, plume_words);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, plume_console);
  EXPECT_EQ(output_files(dir), (std::vector<std::string>{"TS", plume_file}));
  std::vector<std::string> expected = plume_header();
  append_lines(expected, {" 0.35    2.10", " 1.35    2.20"});
  expect_same_lines(expected, split_lines(read_file(dir.file(plume_file))));
}

TEST(plume_run, offset_lowers_every_concentration) {
  // P_OFFS 10.0 lowers C* by 0.01 * 10 * 10 / Q / 1e6 = 0.10.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), plume_series().c_str());
  ProgramRun run = run_plumex(dir, with_words(plume_words, {"P_OFFS:10"}));
  EXPECT_EQ(run.exit_status, 0);
  std::vector<std::string> lines = split_lines(read_file(dir.file(plume_file)));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{" 0.35    2.00", " 1.35    2.10"}));
}

TEST(plume_run, reference_concentration_example) {
  // U_ref 5.0 m/s, L 0.1 m, Q 1.0e-5 m^3/s, block means 100 ppmv: C* 0.50.
  TempDirectory dir;
  std::string series;
  for (int i = 0; i < 20; ++i) series += "0.5 5.0 1.0 101.0 0.0 0.0\n";
  write_measurement(dir, fixture_logbook("plume"), (series + "\n").c_str());
  ProgramRun run = run_plumex(dir, {"INPUTF:series.txt", "REFLTH:0.1", "COEF_B:36", "TEMP__:0", "Z_MEAS:50",
                                    "SCALE_:300", "POINT_:7"});
  EXPECT_EQ(run.exit_status, 0);
  std::vector<std::string> lines = split_lines(read_file(dir.file(plume_file)));
  ASSERT_GE(lines.size(), 3u);
  // T* = (0.5 - 0.111) * 5 / 0.1 = 19.45.
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"ZONE T=\"plume-release\"", "19.45    0.50", "19.45    0.50"}));
}

TEST(plume_run, series_shorter_than_one_block_writes_no_rows) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), "0.5 5 1 2 0 0\n0.6 5 1 2 0 0\n0.7 5 1 2 0 0\n");
  ProgramRun run = run_plumex(dir, with_words(plume_words, {"BLCKSZ:4"}));
  EXPECT_EQ(run.exit_status, 0);
  std::vector<std::string> lines = split_lines(read_file(dir.file(plume_file)));
  std::vector<std::string> expected = plume_header();
  ASSERT_EQ(lines.size(), expected.size());
  EXPECT_EQ(lines.back(), "ZONE T=\"plume-release\"");
}

TEST(plume_run, second_run_replaces_the_file) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), plume_series().c_str());
  ASSERT_EQ(run_plumex(dir, with_words(plume_words, {"P_OFFS:10"})).exit_status, 0);
  ASSERT_EQ(run_plumex(dir, plume_words).exit_status, 0);
  std::vector<std::string> lines = split_lines(read_file(dir.file(plume_file)));
  EXPECT_EQ(lines.back(), " 1.35    2.20");
  EXPECT_EQ(output_files(dir), (std::vector<std::string>{"TS", plume_file}));
}

TEST(plume_blocks, remainder_after_the_last_block_is_not_used) {
  // n = 25, BLCKSZ 10: blocks of samples 0-9 and 10-19.
  CcSettings settings;
  set_default_cc_settings(settings);
  settings.P_OFFS = 1.0;
  CcSeries series;
  series.count = 25;
  series.time = std::make_unique<double[]>(25);
  series.effective = std::make_unique<double[]>(25);
  for (int i = 0; i < 25; ++i) {
    series.time[i] = i;
    series.effective[i] = i < 20 ? 2.0 * i : 1000.0;
  }
  PlumeBlocks blocks;
  average_plume_blocks(settings, series, blocks);
  ASSERT_EQ(blocks.block_count, 2);
  EXPECT_EQ(blocks.time[0], 4.5);
  EXPECT_EQ(blocks.time[1], 14.5);
  EXPECT_EQ(blocks.concentration[0], 8.0);   // mean of 2 i - 1 over 0 ... 9
  EXPECT_EQ(blocks.concentration[1], 28.0);  // over 10 ... 19
}
