// End-to-end tests of the LDASTAT start-up and the measurement description.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

namespace {

std::string golden(const std::string& name) {
  return read_file(std::string(TEST_DATA_DIR) + "/ldastat/golden/" + name);
}

LogbookFixture piv_logbook() {
  LogbookFixture logbook;
  logbook.principle = "PIV";
  return logbook;
}

const char description_of_piv_logbook[] =
    " logbook-information file opened!\n"
    "\n\n main project    : proj\n"
    " sub project     : sub\n"
    " wind tunnel     : Kestrel\n\n"
    " measurement     : flow measurement\n"
    " wind component 1: U\n"
    " wind component 2: V\n"
    " wind direction  : 270.0 deg\n\n"
    " principle of measurement: particle image velocimetry\n"
    " instrument              : lda1\n\n"
    "                           correlated measurement\n";

const char abort_line[] = "\n program will be aborted!\n";

}  // namespace

TEST(startup, valid_description_prints_banner_description_and_farewell) {
  TempDirectory dir;
  write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, golden("banner.txt") + description_of_piv_logbook + "\n Goodbye!\n");
  // The default switches create only "STAT".
  EXPECT_EQ(list_files(dir.path), (std::vector<std::string>{"STAT", "logbook-info.txt"}));
}

TEST(startup, help_and_version_touch_no_file) {
  TempDirectory dir;
  for (const char* word : {"--help", "-h"}) {
    ProgramRun run = run_program(LDASTAT_PATH, {word}, dir.path);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.output, golden("usage.txt"));
  }
  ProgramRun version = run_program(LDASTAT_PATH, {"--version"}, dir.path);
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.output.rfind("LDASTAT ", 0), 0u);
  EXPECT_TRUE(list_files(dir.path).empty());
}

TEST(startup, twenty_five_words_run_and_twenty_six_are_refused) {
  TempDirectory dir;
  write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
  std::vector<std::string> words = {"meas_c:m01"};
  while (words.size() < 25) words.push_back("x:" + std::to_string(words.size()));
  ProgramRun accepted = run_program(LDASTAT_PATH, words, dir.path);
  EXPECT_EQ(accepted.exit_status, 0);

  TempDirectory empty;
  words.push_back("o_stat:1");
  ProgramRun refused = run_program(LDASTAT_PATH, words, empty.path);
  EXPECT_EQ(refused.exit_status, 7);
  EXPECT_EQ(refused.output,
            std::string("\n\n\a\a\a wrong program call!\n") + golden("usage.txt") + abort_line);
  EXPECT_TRUE(list_files(empty.path).empty());  // no directory created
}

TEST(startup, confidence_level_must_be_exactly_90_95_or_99) {
  struct Case {
    const char* word;
    int expected_status;
  };
  const Case cases[] = {{"conf_i:95", 0},   {"conf_i:9.5e1", 0}, {"CONF_I:90", 0},
                        {"conf_i:99.0", 0}, {"conf_i:97.5", 7},  {"conf_i:95.00001", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    TempDirectory dir;
    write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
    ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:m01", c.word}, dir.path);
    EXPECT_EQ(run.exit_status, c.expected_status);
    if (c.expected_status == 7) {
      EXPECT_EQ(run.output, std::string("\n\n\a\a\a confidence interval must be set to:\n 90, 95 or "
                                        "99%\n") +
                                abort_line);
      EXPECT_FALSE(file_exists(dir.file("STAT")));
    }
  }
}

TEST(startup, result_directories_follow_the_switches) {
  TempDirectory dir;
  write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
  ProgramRun off = run_program(LDASTAT_PATH, {"meas_c:m01", "o_stat:0", "o_tims:2"}, dir.path);
  EXPECT_EQ(off.exit_status, 0);
  EXPECT_EQ(list_files(dir.path), (std::vector<std::string>{"logbook-info.txt"}));

  ProgramRun all = run_program(LDASTAT_PATH,
                               {"meas_c:m01", "o_stat:1", "o_tims:1", "o_spec:1", "o_fluc:1",
                                "o_hist:1", "o_deft:1", "o_tsrs:1", "o_auto:1", "o_osub:1"},
                               dir.path);
  EXPECT_EQ(all.exit_status, 0);
  EXPECT_EQ(list_files(dir.path),
            (std::vector<std::string>{"AUTOCORR", "DEFTIME", "FLUC_direction", "FLUC_speed",
                                      "OUTLIERS_deleted", "SPEC", "STAT", "TS", "TS_resamp",
                                      "logbook-info.txt"}));
  // An existing directory is no error.
  EXPECT_EQ(run_program(LDASTAT_PATH, {"meas_c:m01", "o_tims:1"}, dir.path).exit_status, 0);
}

TEST(startup, options_that_cannot_work_are_refused) {
  const std::vector<std::vector<std::string>> refused = {
      {"meas_c:m01", "o_spec:1", "fft_nn:1000"},     // not a power of two
      {"meas_c:m01", "o_spec:1", "fft_nn:1"},        // below 2
      {"meas_c:m01", "o_spec:1", "fft_nn:2097152"},  // above the series capacity
      {"meas_c:m01", "o_fluc:1", "cn_dir:0"},
      {"meas_c:m01", "o_hist:1", "cn_spd:1"},
      {"meas_c:m01", "o_hist:1", "cn_spd:-2"},
      {"meas_c:m01", "rfn_op:2"},
      {"meas_c:ab"},
      {"meas_c:" + std::string(50, 'm')},
      {"o_stat:1"},  // no measurement name at all
  };
  for (const auto& words : refused) {
    SCOPED_TRACE(words.back());
    TempDirectory dir;
    write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
    ProgramRun run = run_program(LDASTAT_PATH, words, dir.path);
    EXPECT_EQ(run.exit_status, 7);
    EXPECT_NE(run.output.find("program will be aborted!"), std::string::npos);
    EXPECT_EQ(run.output.find("W I N D"), std::string::npos);  // refused before the banner
  }
  // The same values are harmless while their output is off.
  TempDirectory dir;
  write_logbook_fixture(dir.file("logbook-info.txt"), piv_logbook());
  ProgramRun run = run_program(
      LDASTAT_PATH, {"meas_c:" + std::string(49, 'm'), "fft_nn:1000", "cn_dir:0", "cn_spd:1"},
      dir.path);
  EXPECT_EQ(run.exit_status, 0);
}

TEST(description, coded_entries_end_the_run_with_their_status) {
  struct Case {
    std::string LogbookFixture::*field;
    const char* value;
    const char* last_text;
    int status;
  };
  const Case cases[] = {
      {&LogbookFixture::wind_tunnel, "k", " wind tunnel     : not identifyable!", 1},
      {&LogbookFixture::meas_type, "CO", " measurement     : not identifyable!", 2},
      {&LogbookFixture::component_1, "X", " wind component 1: not identifyable!", 3},
      {&LogbookFixture::component_2, "u", " wind component 2: not identifyable!", 4},
      {&LogbookFixture::principle, "LDV", " principle of measurement: not identifyable!", 5},
      {&LogbookFixture::correlation, "Cor", " status of correlation not identifyable!", 6},
      // Words that would put result files outside the measurement directory.
      {&LogbookFixture::main_project, "a/b", "result-file names)!\n", 8},
      {&LogbookFixture::sub_project, "..", "result-file names)!\n", 8},
      {&LogbookFixture::instrument, "x\\y", "result-file names)!\n", 8},
      {&LogbookFixture::wind_direction, "27/00", "result-file names)!\n", 8},
      // A word longer than 19 characters.
      {&LogbookFixture::instrument, "instrument_name_20ch", "longer than 19 characters!\n", 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TempDirectory dir;
    LogbookFixture logbook;
    logbook.*c.field = c.value;
    write_logbook_fixture(dir.file("logbook-info.txt"), logbook);
    ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
    EXPECT_EQ(run.exit_status, c.status);
    std::string tail = c.last_text;
    ASSERT_GE(run.output.size(), tail.size());
    EXPECT_EQ(run.output.substr(run.output.size() - tail.size()), tail);
    EXPECT_EQ(run.output.find("Goodbye"), std::string::npos);
  }
}

TEST(description, missing_file_and_short_file) {
  TempDirectory dir;
  ProgramRun missing = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
  EXPECT_EQ(missing.exit_status, 8);
  EXPECT_EQ(missing.output, golden("banner.txt") + "\nlogbook-information file aborted!\n");

  // Ten lines: the correlation entry is empty.
  write_text_file(dir.file("logbook-info.txt"), "x\nproj\nsub\nK\nFL\nLDA\ni\n2700\nU\nU\n");
  ProgramRun ten_lines = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
  EXPECT_EQ(ten_lines.exit_status, 6);
  EXPECT_NE(ten_lines.output.find(" wind component 2: U\n"), std::string::npos);  // U twice passes
}

TEST(description, only_the_first_word_of_a_line_counts) {
  TempDirectory dir;
  write_text_file(dir.file("logbook-info.txt"),
                  "header words\n  proj  rest\n\tsub\nK\nFL tunnel\nPIV 2D\ni\nx\nU\nW\nncor\n"
                  "line twelve is ignored\n");
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_NE(run.output.find(" main project    : proj\n sub project     : sub\n"),
            std::string::npos);
  EXPECT_NE(run.output.find(" wind direction  :   0.0 deg\n"), std::string::npos);
  EXPECT_NE(run.output.find("particle image velocimetry"), std::string::npos);
  EXPECT_NE(run.output.find("                           not a correlated measurement\n\n Goodbye!\n"),
            std::string::npos);
}

TEST(description, long_line_counts_as_several_lines) {
  TempDirectory dir;
  // Line 2 is 3999 characters and its rest (the 4000th on) is line 3.
  std::string first = "p" + std::string(3998, ' ');
  write_text_file(dir.file("logbook-info.txt"),
                  "x\n" + first + "sub\nK\nFL\nPIV\ni\n2700\nU\nV\ncor\n");
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:m01"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_NE(run.output.find(" sub project     : sub\n wind tunnel     : Kestrel"),
            std::string::npos);
}
