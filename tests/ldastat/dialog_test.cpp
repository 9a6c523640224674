// End-to-end tests of the interactive dialog: LDASTAT without any word,
// answers on standard input. The description names principle "PIV", so the
// run ends after the description without processing a series.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

namespace {

const char banner[] =
    "\n\n\n"
    " *******************************************\n"
    " *     W I N D   T U N N E L - D A T A     *\n"
    " *             A N A L Y S I S             *\n"
    " *                                         *\n"
    " *                 LDASTAT                 *\n"
    " * --------------------------------------- *\n"
    " *******************************************\n"
    "\n\n";

// The console text of the dialog answered "n" everywhere, with the name
// "meas01": every line after no shows the default.
const char all_no_dialog[] =
    "Enter the name of the measurement!\n"
    "measurement: meas01\n\n"
    "number of time series by default: 1\nchange it? (y/n)\n"
    "number of time series: 1\n\n"
    "number of the first time series by default: 1\nchange it? (y/n)\n"
    "first time series: 1\n\n"
    "scale by default: 1\nchange it? (y/n)\n"
    "scale: 1:1\n\n"
    "reference height by default: 1.000 m\nchange it? (y/n)\n"
    "reference height: 1.000 m\n\n"
    "scale factor by default: 1.000000\nchange it? (y/n)\n"
    "scale factor: 1.000000\n\n"
    "characteristic length by default: 1.000 m\nchange it? (y/n)\n"
    "characteristic length: 1.000 m\n\n"
    "height of roughness elements by default:   0.0 mm\nchange it? (y/n)\n"
    "height of roughness elements:   0.0 mm\n\n"
    "lower limit of prandtl-layer height by default: 100.000 m\nchange it? (y/n)\n"
    "lower limit of prandtl-layer height: 100.000 m\n\n"
    "upper limit of prandtl-layer height by default: 100.000 m\nchange it? (y/n)\n"
    "upper limit of prandtl-layer height: 100.000 m\n\n"
    "confidence inteval for statistic analysis by default:  95.0 %\nchange it? (y/n)\n"
    "confidence inteval for statistic analysis:  95.0 %\n\n"
    "classnumber (freq. dist. of wind direction) by default: 360\nchange it? (y/n)\n"
    "classnumber (freq. dist. of wind direction): 360\n\n"
    "classnumber (freq. dist. of wind speed) by default: will be calculated!\n"
    "change it? (y/n)\n"
    "classnumber (freq. dist. of wind speed): will be calculated!\n\n"
    "number of samples for FFT by default: 16384\nchange it? (y/n)\n"
    "number of samples for FFT: 16384\n\n"
    "reproducability (1st wind component) by default: 999.999 m/s\nchange it? (y/n)\n"
    "reproducability (1st wind component):  n o t   d e f i n e d\n\n"
    "reproducability (2nd wind component) by default: 999.999\nchange it? (y/n)\n"
    "reproducability (2nd wind component):  n o t   d e f i n e d\n\n"
    "output for statistics by default \"ON\"!\nchange it? (y/n)\n"
    "output for statistics \"ON\"!\n\n"
    "output for time series by default \"OFF\"!\nchange it? (y/n)\n"
    "output for time series \"OFF\"!\n\n"
    "output for spectrum by default \"OFF\"!\nchange it? (y/n)\n"
    "output for spectrum \"OFF\"!\n\n"
    "output for fluctuations of wind-direction by default \"OFF\"!\nchange it? (y/n)\n"
    "output for fluctuations of wind-direction \"OFF\"!\n\n"
    "output for fluctuations of wind-speed by default \"OFF\"!\nchange it? (y/n)\n"
    "output for fluctuations of wind-speed \"OFF\"!\n\n";

// The first line the description step prints after the dialog.
const char description_opened[] = " logbook-information file opened!\n";
const char farewell[] = "\n Goodbye!\n";
const char end_of_input[] =
    "\n\n the input ended before all questions were answered!\n\n program will be aborted!\n";

constexpr int question_count = 20;

// A directory holding a valid "logbook-info.txt" with principle "PIV".
struct PivDirectory {
  TempDirectory dir;
  PivDirectory() {
    LogbookFixture logbook;
    logbook.principle = "PIV";
    EXPECT_TRUE(write_logbook_fixture(dir.file("logbook-info.txt"), logbook));
  }
};

// The input lines: the name, then "n" to every question 1..20 but those in
// `answers`, which get their own lines.
std::string dialog_input(const std::string& name,
                         const std::map<int, std::vector<std::string>>& answers) {
  std::string input = name + "\n";
  for (int question = 1; question <= question_count; ++question) {
    auto found = answers.find(question);
    if (found == answers.end()) {
      input += "n\n";
      continue;
    }
    for (const std::string& line : found->second) input += line + "\n";
  }
  return input;
}

ProgramRun run_dialog_in(const PivDirectory& piv, const std::string& input) {
  return run_program(LDASTAT_PATH, {}, piv.dir.path, input);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string repeated(const std::string& text, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += text;
  return result;
}

}  // namespace

TEST(dialog, all_no_prints_the_defaults_whatever_the_line_ends) {
  struct Case {
    const char* rule;
    std::string input;
  };
  std::string lower_case = dialog_input("meas01", {});
  std::string upper_crlf = "meas01\r\n" + repeated("N\r\n", question_count);
  std::string no_last_line_feed = lower_case.substr(0, lower_case.size() - 1);
  const Case cases[] = {
      {"\"n\" and line feeds", lower_case},
      {"\"N\" and carriage return + line feed", upper_crlf},
      {"the last answer without a line feed", no_last_line_feed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    PivDirectory piv;
    ProgramRun run = run_dialog_in(piv, c.input);
    EXPECT_EQ(run.exit_status, 0);
    std::string expected = std::string(banner) + all_no_dialog + description_opened;
    EXPECT_EQ(run.output.substr(0, expected.size()), expected);
    EXPECT_TRUE(ends_with(run.output, farewell));
    // Only the statistics directory, created from the defaults.
    EXPECT_EQ(list_files(piv.dir.path), (std::vector<std::string>{"STAT", "logbook-info.txt"}));
  }
}

// Each case answers one question with its own lines and "n" to all others;
// the console shows the block of that question up to the next question.
TEST(dialog, one_changed_question) {
  struct Case {
    const char* rule;
    int question;
    std::vector<std::string> lines;
    std::string block;
    std::vector<std::string> files;  // the working directory after the run
  };
  const std::string question_1 = "number of time series by default: 1\nchange it? (y/n)\n";
  const std::string name_line = "measurement: meas01\n\n";
  const std::string question_3 =
      "scale by default: 1\nchange it? (y/n)\n"
      "Enter the scale!\n(e.g. for \"1:500\" only enter \"500\")\n";
  const std::string question_4 = "reference height by default: 1.000 m\n";
  const std::vector<std::string> only_stat = {"STAT", "logbook-info.txt"};
  const Case cases[] = {
      {"\"Y\" then a number sets the number of series",
       1,
       {"Y", "3"},
       name_line + question_1 + "Enter the number of time series!\nnumber of time series: 3\n\n" +
           "number of the first time series by default: 1\n",
       only_stat},
      {"any answer but y, Y, n or N asks again",
       1,
       {"yes", "no", "", " y", "y ", "nN", "n"},
       name_line + repeated(question_1, 7) + "number of time series: 1\n\n" +
           "number of the first time series by default: 1\n",
       only_stat},
      // The scale is the integer at the start of the line.
      {"scale 1:500", 3, {"y", "1:500"}, question_3 + "scale: 1:1\n\n" + question_4, only_stat},
      {"scale 500", 3, {"y", "500"}, question_3 + "scale: 1:500\n\n" + question_4, only_stat},
      {"scale 500.7", 3, {"y", "500.7"}, question_3 + "scale: 1:500\n\n" + question_4, only_stat},
      {"scale abc", 3, {"y", "abc"}, question_3 + "scale: 1:0\n\n" + question_4, only_stat},
      // Unlike on the command line, the level is not checked.
      {"confidence level 97.5",
       10,
       {"y", "97.5"},
       "confidence inteval for statistic analysis by default:  95.0 %\nchange it? (y/n)\n"
       "Enter the confidence inteval for statistic analysis (in percent)!\n"
       "confidence inteval for statistic analysis:  97.5 %\n\n"
       "classnumber (freq. dist. of wind direction) by default: 360\n",
       only_stat},
      // "STAT" was created from the default before the dialog; it stays empty.
      {"statistics off",
       16,
       {"y"},
       "output for statistics by default \"ON\"!\nchange it? (y/n)\n"
       "output for statistics \"OFF\"!\n\n"
       "output for time series by default \"OFF\"!\n",
       only_stat},
      {"time series on creates \"TS\"",
       17,
       {"y"},
       "output for time series by default \"OFF\"!\nchange it? (y/n)\n"
       "output for time series \"ON\"!\n\n"
       "output for spectrum by default \"OFF\"!\n",
       {"STAT", "TS", "logbook-info.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    PivDirectory piv;
    ProgramRun run = run_dialog_in(piv, dialog_input("meas01", {{c.question, c.lines}}));
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_TRUE(contains(run.output, c.block)) << run.output;
    EXPECT_TRUE(contains(run.output, description_opened));
    EXPECT_TRUE(ends_with(run.output, farewell));
    EXPECT_EQ(list_files(piv.dir.path), c.files);
  }
}

TEST(dialog, an_answer_longer_than_a_line_buffer_is_one_answer) {
  PivDirectory piv;
  // One answer of 1000 "y": asked again once; its rest must not become
  // the following answers.
  ProgramRun run = run_dialog_in(piv, dialog_input("meas01", {{1, {std::string(1000, 'y'), "n"}}}));
  EXPECT_EQ(run.exit_status, 0);
  std::string question_1 = "number of time series by default: 1\nchange it? (y/n)\n";
  std::string expected = std::string(banner) + all_no_dialog;
  expected.insert(expected.find(question_1), question_1);
  EXPECT_EQ(run.output.substr(0, expected.size()), expected);
  EXPECT_TRUE(ends_with(run.output, farewell));
}

// Every entry prompt and every line after yes, each value converted by its
// field's type: ints take the leading integer, floats are rounded to single
// precision (16777217 becomes 16777216), conf_i stays a double.
TEST(dialog, yes_everywhere_prints_every_prompt_and_stored_value) {
  PivDirectory piv;
  std::string input =
      "meas01\n"
      "y\n3\n"
      "y\n7\n"
      "y\n500.7\n"
      "y\n0.2\n"
      "y\n0.8632\n"
      "y\n1.5\n"
      "y\n20.04\n"
      "y\n16777217\n"
      "y\nabc\n"
      "y\n97.5\n"
      "y\n36x\n"
      "y\n100\n"
      "y\n1024\n"
      "y\n0.18\n"
      "y\n0.151\n"
      "y\ny\ny\ny\ny\n";
  const char expected_dialog[] =
      "Enter the name of the measurement!\n"
      "measurement: meas01\n\n"
      "number of time series by default: 1\nchange it? (y/n)\n"
      "Enter the number of time series!\n"
      "number of time series: 3\n\n"
      "number of the first time series by default: 1\nchange it? (y/n)\n"
      "Enter the number of the first time series!\n"
      "first time series: 7\n\n"
      "scale by default: 1\nchange it? (y/n)\n"
      "Enter the scale!\n(e.g. for \"1:500\" only enter \"500\")\n"
      "scale: 1:500\n\n"
      "reference height by default: 1.000 m\nchange it? (y/n)\n"
      "Enter the reference height (model scale in meters)!\n"
      "reference height: 0.200 m\n\n"
      "scale factor by default: 1.000000\nchange it? (y/n)\n"
      "Enter the scale factor!\n"
      "scale factor: 0.863200\n\n"
      "characteristic length by default: 1.000 m\nchange it? (y/n)\n"
      "Enter the characteristic length (model scale in meters)!\n"
      "characteristic length: 1.500 m\n\n"
      "height of roughness elements by default:   0.0 mm\nchange it? (y/n)\n"
      "Enter the height of roughness elements (model scale in millimeters)!\n"
      "height of roughness elements:  20.0 mm\n\n"
      "lower limit of prandtl-layer height by default: 100.000 m\nchange it? (y/n)\n"
      "Enter the lower limit of prandtl-layer height (full scale in meters)!\n"
      "lower limit of prandtl-layer height: 16777216.000 m\n\n"
      "upper limit of prandtl-layer height by default: 100.000 m\nchange it? (y/n)\n"
      "Enter the upper limit of prandtl-layer height (full scale in meters)!\n"
      "upper limit of prandtl-layer height: 0.000 m\n\n"
      "confidence inteval for statistic analysis by default:  95.0 %\nchange it? (y/n)\n"
      "Enter the confidence inteval for statistic analysis (in percent)!\n"
      "confidence inteval for statistic analysis:  97.5 %\n\n"
      "classnumber (freq. dist. of wind direction) by default: 360\nchange it? (y/n)\n"
      "Enter the classnumber (freq. dist. of wind direction)!\n"
      "classnumber (freq. dist. of wind direction): 36\n\n"
      "classnumber (freq. dist. of wind speed) by default: will be calculated!\n"
      "change it? (y/n)\n"
      "Enter the classnumber (freq. dist. of wind speed)!\n"
      "classnumber (freq. dist. of wind speed): 100\n\n"
      "number of samples for FFT by default: 16384\nchange it? (y/n)\n"
      "Enter the number of samples for FFT!\n"
      "number of samples for FFT: 1024\n\n"
      "reproducability (1st wind component) by default: 999.999 m/s\nchange it? (y/n)\n"
      "Enter the reproducability (1st wind component) in m/s!\n"
      "reproducability (1st wind component):  0.18 m/s\n\n"
      "reproducability (2nd wind component) by default: 999.999\nchange it? (y/n)\n"
      "Enter the reproducability (2nd wind component) in m/s!\n"
      "reproducability (2nd wind component):  0.15 m/s\n\n"
      "output for statistics by default \"ON\"!\nchange it? (y/n)\n"
      "output for statistics \"OFF\"!\n\n"
      "output for time series by default \"OFF\"!\nchange it? (y/n)\n"
      "output for time series \"ON\"!\n\n"
      "output for spectrum by default \"OFF\"!\nchange it? (y/n)\n"
      "output for spectrum \"ON\"!\n\n"
      "output for fluctuations of wind-direction by default \"OFF\"!\nchange it? (y/n)\n"
      "output for fluctuations of wind-direction \"ON\"!\n\n"
      "output for fluctuations of wind-speed by default \"OFF\"!\nchange it? (y/n)\n"
      "output for fluctuations of wind-speed \"ON\"!\n\n";
  ProgramRun run = run_dialog_in(piv, input);
  EXPECT_EQ(run.exit_status, 0);
  std::string expected = std::string(banner) + expected_dialog + description_opened;
  EXPECT_EQ(run.output.substr(0, expected.size()), expected);
  EXPECT_TRUE(ends_with(run.output, farewell));
  // The outputs switched on in the dialog get their directories.
  EXPECT_EQ(list_files(piv.dir.path),
            (std::vector<std::string>{"FLUC_direction", "FLUC_speed", "SPEC", "STAT", "TS",
                                      "logbook-info.txt"}));
}

TEST(dialog, end_of_input_during_the_dialog_ends_the_run_with_status_7) {
  struct Case {
    const char* rule;
    std::string input;
    std::string last_prompt;  // what the dialog printed before the end
  };
  std::string up_to_question_16 = "meas01\n" + repeated("n\n", 15);
  const Case cases[] = {
      {"no input at all", "", "Enter the name of the measurement!\n"},
      {"at the first answer", "meas01\n",
       "number of time series by default: 1\nchange it? (y/n)\n"},
      {"at an entered value", "meas01\ny\n", "Enter the number of time series!\n"},
      {"after a repeated output question", up_to_question_16 + "yes\n",
       "output for statistics by default \"ON\"!\nchange it? (y/n)\n"
       "output for statistics by default \"ON\"!\nchange it? (y/n)\n"},
      {"at the last answer", up_to_question_16 + repeated("n\n", 4),
       "output for fluctuations of wind-speed by default \"OFF\"!\nchange it? (y/n)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    PivDirectory piv;
    ProgramRun run = run_dialog_in(piv, c.input);
    EXPECT_EQ(run.exit_status, 7);
    EXPECT_TRUE(ends_with(run.output, c.last_prompt + end_of_input)) << run.output;
    EXPECT_FALSE(contains(run.output, description_opened));
  }
}

TEST(dialog, typed_name_is_checked_like_a_command_line_name) {
  struct Case {
    std::string name;
    int exit_status;  // 3 to 49 characters pass, others are refused with 7
  };
  const Case cases[] = {
      {"ab", 7},
      {"", 7},
      {"abc", 0},
      {std::string(49, 'm'), 0},
      {std::string(50, 'm'), 7},
      {std::string(300, 'm'), 7},  // longer than the kept part of a line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.size());
    PivDirectory piv;
    ProgramRun run = run_dialog_in(piv, dialog_input(c.name, {}));
    EXPECT_EQ(run.exit_status, c.exit_status);
    std::string shown = c.name.substr(0, 49);
    EXPECT_TRUE(contains(run.output, "Enter the name of the measurement!\nmeasurement: " + shown +
                                         "\n\nnumber of time series by default: 1\n"));
    // The whole dialog ran, the rest of a long name line was no answer.
    EXPECT_TRUE(contains(run.output, "output for fluctuations of wind-speed \"OFF\"!\n\n"));
    EXPECT_FALSE(contains(run.output, end_of_input));
    EXPECT_EQ(contains(run.output, description_opened), c.exit_status == 0);
    EXPECT_EQ(contains(run.output, "must have 3 to 49 characters (it has " +
                                       std::to_string(c.name.size()) + ")"),
              c.exit_status == 7);
  }
}
