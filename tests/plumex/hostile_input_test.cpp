// Hostile inputs, end to end: whatever the measurement directory holds,
// PLUMEX ends with status 0 or 1 and a line that explains it, writes no
// "nan" or "inf" into its result file, and changes nothing but that file.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/plumex/plumex_fixture.h"
#include "tests/support/checked_run.h"
#include "tests/support/directory_snapshot.h"

using namespace std::string_literals;

namespace {

const std::vector<std::string> calibrated = {"INPUTF:series.txt", "REFLTH:0.1", "COEF_A:50",
                                             "COEF_B:10", "THRHLD:1"};

// n lines of a plume: 5 m/s, background 2 ppmv, concentration around 40.
std::string plume_lines(int n) {
  std::string text;
  char line[128];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%.3f 5.0 2.0 %.1f 0.0 2.0\n", 0.001 * i, 40.0 + (i % 7));
    text += line;
  }
  return text;
}

// n lines of a puff series; the trigger column is 5 V where `is_high`.
template <typename Rule>
std::string puff_lines(int n, Rule is_high) {
  std::string text;
  char line[128];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%.3f 5.0 2.0 %.1f %.1f 2.0\n", 0.001 * i,
                  2.0 + 100.0 * ((i % 1000) > 300 && (i % 1000) < 500), is_high(i) ? 5.0 : 0.0);
    text += line;
  }
  return text;
}

// The files below "TS".
std::vector<std::string> result_files(const DirectorySnapshot& snapshot) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : snapshot.files)
    if (name.rfind("TS/", 0) == 0) names.push_back(name);
  return names;
}

struct Expectation {
  int status;
  std::string fragment;  // part of the explanatory console line
  bool has_result;       // the run writes its result file below "TS"
};

// Runs PLUMEX and checks status, message, the result file and the rest of
// the directory.
ProgramRun expect_run(const TempDirectory& dir, const std::vector<std::string>& words,
                      const Expectation& expected) {
  CheckedRun checked = run_and_check(PLUMEX_PATH, words, dir.path, expected.status, expected.fragment);
  bool has_result = !result_files(checked.after).empty();
  EXPECT_EQ(has_result, expected.has_result);
  // The result directory is created before the result file is opened, so a
  // refused name may leave it behind, empty.
  const auto& marks = checked.after.entry_marks;
  bool is_new_directory = checked.before.entry_marks.count("TS") == 0 && marks.count("TS") == 1 &&
                          marks.at("TS") == 'd';
  std::vector<std::string> allowed;
  if (has_result || is_new_directory) allowed.push_back("TS");
  EXPECT_EQ(changes_outside(checked.before, checked.after, allowed), std::vector<std::string>{});
  return checked.run;
}

std::string random_bytes(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

}  // namespace

TEST(hostile_series_input, short_empty_and_garbage_series) {
  struct Case {
    const char* rule;
    std::string series;
    Expectation expected;
  };
  const Case cases[] = {
      {"empty file", "", {1, "holds 0 line(s)", false}},
      {"one line", "0.0 5.0 2.0 40.0 0.0 2.0\n", {1, "holds 1 line(s)", false}},
      {"one line without its end", "0.0 5.0 2.0 40.0 0.0 2.0", {1, "holds 1 line(s)", false}},
      // Lines of garbage are samples of zeros as far as they are not numbers.
      {"random bytes", random_bytes(9, 6000), {0, "Goodbye", true}},
      {"zero bytes", std::string(3000, '\0') + "\n" + std::string(3000, '\0'), {0, "Goodbye", true}},
      {"one line of 20 000 characters", std::string(20000, '7'), {0, "Goodbye", true}},
      {"text instead of numbers", "a b c d e f\ng h i j k l\n", {0, "Goodbye", true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), nullptr);
    write_text_file(dir.file("series.txt"), c.series);
    expect_run(dir, calibrated, c.expected);
  }
}

TEST(hostile_series_input, non_finite_numbers_in_the_series_never_reach_the_result) {
  // "%lf" reads these forms too; whatever the run makes of them, the result
  // file holds no "nan" or "inf" (the input file does).
  const std::string lines[] = {
      "0.005 5.0 2.0 nan 0.0 2.0\n",
      "0.005 5.0 2.0 inf 0.0 2.0\n",
      "0.005 5.0 -inf 40.0 0.0 2.0\n",
      "0.005 1e999 2.0 40.0 0.0 2.0\n",
      "0.005 5.0 2.0 40.0 0.0 -1e999\n",
      "0.005 5.0 2.0 1e308 0.0 2.0\n0.006 5.0 2.0 1e308 0.0 2.0\n",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), nullptr);
    write_text_file(dir.file("series.txt"), plume_lines(20) + line + plume_lines(20));
    DirectorySnapshot before = take_snapshot(dir.path);
    ProgramRun run = run_plumex(dir, calibrated);
    EXPECT_TRUE(run.exit_status == 0 || run.exit_status == 1) << run.output;
    EXPECT_EQ(files_with_non_finite_numbers(written_files(before, take_snapshot(dir.path))),
              std::vector<std::string>{});
  }
}

TEST(hostile_series_input, input_file_that_is_a_directory) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), nullptr);
  std::filesystem::create_directory(dir.file("series.txt"));
  expect_run(dir, calibrated, {1, "series.txt", false});
}

TEST(hostile_puff_series, triggers_none_or_on_every_sample) {
  struct Case {
    const char* rule;
    std::string series;
    std::vector<std::string> words;
    Expectation expected;
  };
  auto never = [](int) { return false; };
  auto always = [](int) { return true; };
  const Case cases[] = {
      {"no trigger", puff_lines(3000, never), {}, {1, "release", false}},
      // The hold of T_OPEN 1 s (1000 samples) opens a release every 1000
      // samples: releases of 1000 samples, each fully "on".
      {"trigger on every sample", puff_lines(3500, always), {}, {0, "Goodbye", true}},
      // Without a hold every sample opens a release of one sample.
      {"trigger on every sample, no hold", puff_lines(300, always), {"T_OPEN:0"},
       {1, "fewer than one block", false}},
      {"trigger on the last sample only", puff_lines(3000, [](int i) { return i == 2999; }), {},
       {1, "release", false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("puff"), c.series.c_str());
    expect_run(dir, with_words(calibrated, c.words), c.expected);
  }
}

TEST(hostile_puff_series, sampling_options_that_break_the_time_axis) {
  // Each makes the time step or the hold zero, infinite or undefined.
  const std::vector<std::string> odd_options[] = {
      {"SAMPLE:0"}, {"SAMPLE:1e999"}, {"D_SAMP:0"}, {"D_SAMP:-1"}, {"T_OPEN:1e999"},
      {"T_OPEN:-5"}, {"SAMPLE:nan"}, {"T_OFFS:1e999"}, {"BLCKSZ:2147483647"},
  };
  auto pulses = [](int i) { return i % 1000 < 20; };
  for (const auto& options : odd_options) {
    SCOPED_TRACE(options.front());
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("puff"), puff_lines(3500, pulses).c_str());
    DirectorySnapshot before = take_snapshot(dir.path);
    ProgramRun run = run_plumex(dir, with_words(calibrated, options));
    EXPECT_TRUE(run.exit_status == 0 || run.exit_status == 1) << run.output;
    EXPECT_TRUE(run.output.find("Goodbye") != std::string::npos || run.output.find("!\n") != std::string::npos);
    EXPECT_EQ(files_with_non_finite_numbers(written_files(before, take_snapshot(dir.path))),
              std::vector<std::string>{});
  }
}

TEST(hostile_description_cc, broken_description_files) {
  std::string valid = cc_logbook_text(fixture_logbook("plume"));
  struct Case {
    const char* rule;
    std::string text;
    Expectation expected;
  };
  const Case cases[] = {
      {"empty file", "", {1, "Release mode \"\"", false}},
      {"binary garbage", random_bytes(4, 3000), {1, "Release mode", false}},
      {"zero bytes", std::string(500, '\0'), {1, "Release mode", false}},
      // 5000 characters on line 2 count as lines 2 and 3: every entry moves down.
      {"overlong line", "t\n" + std::string(5000, 'p') + "\n" + valid.substr(valid.find('\n') + 1),
       {1, "Release mode", false}},
      {"eleven lines", valid.substr(0, valid.find("S1")), {0, "Goodbye", true}},
      {"100 000 empty lines after the entries", valid + std::string(100000, '\n'),
       {0, "Goodbye", true}},
      {"source name that leaves the result directory",
       valid.substr(0, valid.find("S1")) + "..\n", {1, "source name", false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_text_file(dir.file("logbook-info_cc.txt"), c.text);
    write_text_file(dir.file("series.txt"), plume_lines(50));
    expect_run(dir, calibrated, c.expected);
  }
  TempDirectory dir;
  std::filesystem::create_directory(dir.file("logbook-info_cc.txt"));
  write_text_file(dir.file("series.txt"), plume_lines(50));
  expect_run(dir, calibrated, {1, "logbook-information file", false});
}

TEST(hostile_results_cc, result_directory_and_name) {
  struct Case {
    const char* rule;
    std::vector<std::string> words;
    bool is_ts_a_file;
    Expectation expected;
  };
  const Case cases[] = {
      {"TS is a regular file", {}, true, {1, "cannot be created", false}},
      {"NUMBER that leaves TS", {"NUMBER:../../x"}, false, {1, "NUMBER", false}},
      {"NUMBER with a backslash", {"NUMBER:a\\b"}, false, {1, "NUMBER", false}},
      {"NUMBER of 299 characters", {"NUMBER:" + std::string(299, 'n')}, false,
       {1, "cannot be created", false}},
      {"INPUTF of 300 characters", {"INPUTF:" + std::string(300, 'i')}, false, {1, "INPUTF", false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), plume_lines(50).c_str());
    if (c.is_ts_a_file) write_text_file(dir.file("TS"), "not a directory\n");
    expect_run(dir, with_words(calibrated, c.words), c.expected);
  }
}

TEST(hostile_results_cc, uncalibrated_run_writes_markers_not_infinity) {
  // Without REFLTH and COEF_A/COEF_B the normalisation divides by zero.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), plume_lines(50).c_str());
  expect_run(dir, {"INPUTF:series.txt"}, {0, "Goodbye", true});
  TempDirectory puff_dir;
  write_measurement(puff_dir, fixture_logbook("puff"),
                    puff_lines(3500, [](int i) { return i % 1000 < 20; }).c_str());
  expect_run(puff_dir, {"INPUTF:series.txt"}, {0, "Goodbye", true});
}
