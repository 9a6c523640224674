// End-to-end runs of the PLUMEX entry: the call, the options, the inputs and
// every refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plumex/plumex_fixture.h"

namespace {

// Ten plume samples of c_eff 100 and a trailing empty line.
const char* const small_series =
    "0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n"
    "0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n0.5 5 1 101 0 2\n\n";

// A puff series at 20 Hz with triggers (two samples at 5 V) at the given
// samples, 150 samples long.
std::string puff_series_with_triggers(const std::vector<int>& triggers) {
  std::vector<double> trigger(150, 0.0);
  for (int t : triggers) trigger[t] = trigger[t + 1] = 5.0;
  std::string text;
  for (double value : trigger) text += "0.5 5 1 50 " + std::to_string(value) + " 2\n";
  return text;
}

const std::vector<std::string> good_words = {"INPUTF:series.txt", "REFLTH:0.1", "COEF_B:36"};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Status 1, the message on the console and no file but `left` written.
void expect_refusal(const ProgramRun& run, const TempDirectory& dir, const std::string& message,
                    const std::vector<std::string>& left = {}) {
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(contains(run.output, message)) << run.output;
  EXPECT_FALSE(contains(run.output, "Goodbye"));
  EXPECT_EQ(output_files(dir), left);
}

}  // namespace

TEST(program_call, no_word_is_refused_without_touching_anything) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), small_series);
  ProgramRun run = run_plumex(dir, {});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "\n\n\a\a\a wrong program call!\n\n program will be aborted!\n");
  EXPECT_EQ(output_files(dir), std::vector<std::string>{});
}

TEST(program_call, help_and_version_touch_no_file) {
  for (const char* word : {"--help", "-h"}) {
    SCOPED_TRACE(word);
    TempDirectory dir;  // no description: nothing is read
    ProgramRun run = run_plumex(dir, {word});
    EXPECT_EQ(run.exit_status, 0);
    for (const char* key : {"INPUTF:", "POINT_:", "NUMBER:", "SAMPLE:", "D_SAMP:", "BLCKSZ:", "T_OPEN:", "X_MEAS:",
                            "Y_MEAS:", "Z_MEAS:", "SCALE_:", "SC_FAC:", "REFHGT:", "REFLTH:", "THRHLD:", "T_NDLE:",
                            "T_OFFS:", "P_OFFS:", "TEMP__:", "PRESS_:", "REPRO_:", "COEF_A:", "COEF_B:"})
      EXPECT_TRUE(contains(run.output, key)) << key;
    EXPECT_TRUE(contains(run.output, " SAMPLE:  1000 ")) << run.output;
    EXPECT_TRUE(contains(run.output, " T_NDLE:  0.111 ")) << run.output;
    EXPECT_EQ(list_files(dir.path), std::vector<std::string>{});
  }
  TempDirectory dir;
  ProgramRun run = run_plumex(dir, {"--version"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, "PLUMEX 1.0.0\n");
  EXPECT_EQ(list_files(dir.path), std::vector<std::string>{});
}

TEST(program_call, missing_description_comes_first) {
  TempDirectory dir;
  ProgramRun run = run_plumex(dir, {"INPUTF:series.txt"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "\nlogbook-information file aborted!\n");
}

TEST(program_call, missing_input_file) {
  struct Case {
    std::vector<std::string> words;
    const char* message;
  };
  const Case cases[] = {
      {{"SAMPLE:100"}, "\n Opening input-file  aborted!\n"},  // no INPUTF: the empty name
      {{"Inputf:series.txt"}, "\n Opening input-file  aborted!\n"},  // mixed-case key ignored
      {{"INPUTF:other.txt"}, "\n Opening input-file other.txt aborted!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), small_series);
    ProgramRun run = run_plumex(dir, c.words);
    EXPECT_EQ(run.exit_status, 1);
    ASSERT_GE(run.output.size(), std::string(c.message).size());
    EXPECT_EQ(run.output.substr(run.output.size() - std::string(c.message).size()), c.message);
    EXPECT_TRUE(contains(run.output, " *                 PLUMEX                  *\n"));
    EXPECT_EQ(output_files(dir), std::vector<std::string>{});
  }
}

TEST(program_call, lower_case_input_key) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), small_series);
  ProgramRun run = run_plumex(dir, {"inputf:series.txt", "reflth:0.1", "coef_b:36"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.output, " input-file                 : series.txt\n"));
}

TEST(refusals, unknown_release_mode_evaluates_nothing) {
  for (const char* mode : {"Puff", "plumes", ""}) {
    SCOPED_TRACE(mode);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook(mode), small_series);
    ProgramRun run = run_plumex(dir, good_words);
    EXPECT_TRUE(contains(run.output, " samples: 11\n\n")) << run.output;
    EXPECT_TRUE(contains(run.output, std::string("Release mode \"") + mode + "\"")) << run.output;
    EXPECT_FALSE(contains(run.output, "Goodbye"));
    EXPECT_EQ(output_files(dir), std::vector<std::string>{});
  }
}

TEST(refusals, series_of_fewer_than_two_lines) {
  for (const char* series : {"", "1 2 3 4 5 6\n", "\n"}) {
    SCOPED_TRACE(series);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), series);
    ProgramRun run = run_plumex(dir, good_words);
    expect_refusal(run, dir, "at least 2 are needed");
  }
}

TEST(refusals, result_file_that_cannot_be_created) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), small_series);
  write_text_file(dir.file("TS"), "a file where the directory should be\n");
  ProgramRun run = run_plumex(dir, good_words);
  expect_refusal(run, dir, "cannot be created", {"TS"});
}

TEST(refusals, name_parts_that_would_leave_the_result_directory) {
  struct Case {
    const char* source_name;
    const char* number;
  };
  const Case cases[] = {{"S1", "NUMBER:a/b"}, {"S1", "NUMBER:a\\b"}, {"S1", "NUMBER:.."},
                        {"..", "NUMBER:00"},  {"x/y", "NUMBER:00"},  {"x\\y", "NUMBER:00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source_name) + " " + c.number);
    CcLogbookFixture logbook = fixture_logbook("plume");
    logbook.source_name = c.source_name;
    TempDirectory dir;
    write_measurement(dir, logbook, small_series);
    ProgramRun run = run_plumex(dir, with_words(good_words, {c.number}));
    expect_refusal(run, dir, "cannot be part of a result-file name");
  }
}

TEST(refusals, block_size_below_one) {
  for (const char* mode : {"plume", "puff"}) {
    SCOPED_TRACE(mode);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook(mode), puff_series_with_triggers({5, 45, 85}).c_str());
    ProgramRun run = run_plumex(dir, with_words(good_words, {"BLCKSZ:0", "SAMPLE:20"}));
    expect_refusal(run, dir, "Block size BLCKSZ 0");
  }
}

TEST(refusals, text_option_longer_than_its_capacity) {
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), small_series);
  ProgramRun run = run_plumex(dir, {"INPUTF:" + std::string(300, 'a')});
  expect_refusal(run, dir, "The value of option INPUTF is longer than 299 characters");
}

TEST(refusals, puff_series_without_a_complete_release) {
  struct Case {
    std::vector<int> triggers;
    const char* count_line;
  };
  const Case cases[] = {{{}, " -1 releases extracted!\n\n"}, {{45}, " 0 releases extracted!\n\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count_line);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("puff"), puff_series_with_triggers(c.triggers).c_str());
    ProgramRun run = run_plumex(dir, with_words(good_words, {"SAMPLE:20"}));
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(contains(run.output, c.count_line)) << run.output;
    EXPECT_TRUE(contains(run.output, "No complete release")) << run.output;
    EXPECT_EQ(output_files(dir), std::vector<std::string>{});
  }
}

TEST(refusals, release_shorter_than_one_block) {
  // Releases of 40 and 5 samples; BLCKSZ 10.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("puff"), puff_series_with_triggers({5, 45, 50, 100}).c_str());
  ProgramRun run = run_plumex(dir, with_words(good_words, {"SAMPLE:20", "T_OPEN:0.1"}));
  EXPECT_TRUE(contains(run.output, " 3 releases extracted!\n\n")) << run.output;
  expect_refusal(run, dir, "Release 1 holds 5 samples, fewer than one block (BLCKSZ 10)");
}

TEST(degenerate_normalisation, zero_reference_length_or_source_strength_is_written_as_the_marker) {
  struct Case {
    const char* name;
    std::vector<std::string> words;
    const char* warning;
    const char* row;  // the last row
  };
  const Case cases[] = {
      {"REFLTH not given", {"INPUTF:series.txt", "COEF_B:36", "TEMP__:0", "T_NDLE:0.2"},
       " warning: no reference length REFLTH given", "999.99    0.00"},
      {"no calibration", {"INPUTF:series.txt", "REFLTH:0.1", "REPRO_:2", "T_NDLE:0.2"},
       " warning: the source strength is 0 l/h", "15.00   999.99"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDirectory dir;
    write_measurement(dir, fixture_logbook("plume"), small_series);
    ProgramRun run = run_plumex(dir, c.words);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_TRUE(contains(run.output, c.warning)) << run.output;
    std::vector<std::string> outputs = output_files(dir);
    ASSERT_EQ(outputs.size(), 2u);
    std::string text = read_file(dir.file(outputs[1]));
    EXPECT_FALSE(contains(text, "nan") || contains(text, "inf")) << text;
    std::vector<std::string> lines = split_lines(text);
    EXPECT_EQ(lines.back(), c.row);
  }
}

TEST(source_strength, pressure_option_is_held_in_hpa) {
  // PRESS_ 750 mmHg = 999.9177631578947 hPa: 36 l/h * 1013.25 / 999.9177631578947.
  TempDirectory dir;
  write_measurement(dir, fixture_logbook("plume"), small_series);
  ASSERT_EQ(run_plumex(dir, with_words(good_words, {"PRESS_:750", "TEMP__:0"})).exit_status, 0);
  std::vector<std::string> outputs = output_files(dir);
  ASSERT_EQ(outputs.size(), 2u);
  EXPECT_TRUE(contains(read_file(dir.file(outputs[1])), "\n# 36.48 [source strength [l/h]]\n"));
}
