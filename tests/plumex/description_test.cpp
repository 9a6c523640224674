#include <gtest/gtest.h>

#include <string>

#include "plumex/run/cc_description.h"
#include "tests/support/program_run.h"
#include "tools/concentration_generator/concentration_writer.h"

static CcDescription read_text(const std::string& text) {
  TempDirectory dir;
  write_text_file(dir.file("logbook-info_cc.txt"), text);
  static CcDescription description;
  read_description_file(dir.file("logbook-info_cc.txt").c_str(), description);
  return description;
}

TEST(description, entries_by_line_number) {
  CcLogbookFixture logbook;
  logbook.main_project = "main";
  logbook.sub_project = "sub";
  logbook.wind_tunnel = "BLWT";
  logbook.meas_type = "CC";
  logbook.wind_direction = "2700";
  logbook.released_gas = "C2H6";
  logbook.gas_factor = "0.5";
  logbook.release_mode = "plume";
  logbook.source_name = "S1";
  logbook.release_x = "10.5";
  logbook.release_y = "-20";
  logbook.release_z = "5mm";
  CcDescription d = read_text(cc_logbook_text(logbook));
  EXPECT_STREQ(d.main_project, "main");
  EXPECT_STREQ(d.sub_project, "sub");
  EXPECT_STREQ(d.wind_tunnel, "BLWT");
  EXPECT_STREQ(d.meas_type, "CC");
  EXPECT_STREQ(d.wind_direction, "2700");
  EXPECT_EQ(d.wind_direction_deg, 270.0);
  EXPECT_STREQ(d.released_gas, "C2H6");
  EXPECT_EQ(d.gas_factor, 0.5);
  EXPECT_STREQ(d.release_mode, "plume");
  EXPECT_STREQ(d.source_name, "S1");
  EXPECT_STREQ(d.release_x, "10.5");
  EXPECT_STREQ(d.release_z, "5mm");
  EXPECT_EQ(d.source_x, 10.5);
  EXPECT_EQ(d.source_y, -20.0);
  EXPECT_EQ(d.source_z, 5.0);
}

TEST(description, eleven_lines_leave_the_last_four_empty) {
  CcDescription d = read_text("t\nm\ns\nK\nCC\n6\n7\n2700\ngas\n1.0\npuff\n");
  EXPECT_STREQ(d.release_mode, "puff");
  EXPECT_STREQ(d.source_name, "");
  EXPECT_STREQ(d.release_x, "");
  EXPECT_STREQ(d.release_z, "");
  EXPECT_EQ(d.source_x, 0.0);
  EXPECT_EQ(d.source_y, 0.0);
  EXPECT_EQ(d.source_z, 0.0);
}

TEST(description, first_word_after_leading_blanks) {
  // Line 11 "   puff plume" gives "puff"; a CRLF line end is white space;
  // a line of blanks leaves its entry empty.
  CcDescription d = read_text("t\r\nm\r\n   \nK\nCC\n6\n7\n2700\ngas\n1.0\n   puff plume\nS1\t x\n");
  EXPECT_STREQ(d.main_project, "m");
  EXPECT_STREQ(d.sub_project, "");
  EXPECT_STREQ(d.release_mode, "puff");
  EXPECT_STREQ(d.source_name, "S1");
  EXPECT_EQ(release_mode_of(d), ReleaseMode::puff);
}

TEST(description, wind_direction_is_the_leading_integer_in_tenths) {
  struct Case {
    const char* line;
    double degrees;
  };
  const Case cases[] = {{"2705", 270.5}, {"270.5", 27.0}, {"455", 45.5}, {"abc", 0.0}, {"-100", -10.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    CcLogbookFixture logbook;
    logbook.wind_direction = c.line;
    EXPECT_EQ(read_text(cc_logbook_text(logbook)).wind_direction_deg, c.degrees);
  }
}

TEST(description, a_long_line_counts_as_several) {
  // Line 2 of 6000 characters is read as lines 2 and 3: the word of line 2
  // holds its first 4999 characters, line 3 the rest.
  std::string text = "t\n" + std::string(6000, 'a') + "\nsub\n";
  CcDescription d = read_text(text);
  EXPECT_EQ(std::string(d.main_project), std::string(4999, 'a'));
  EXPECT_EQ(std::string(d.sub_project), std::string(1001, 'a'));
  EXPECT_STREQ(d.wind_tunnel, "sub");
}

TEST(description, release_modes) {
  struct Case {
    const char* word;
    ReleaseMode mode;
  };
  const Case cases[] = {{"puff", ReleaseMode::puff},   {"PUFF", ReleaseMode::puff},
                        {"plume", ReleaseMode::plume}, {"PLUME", ReleaseMode::plume},
                        {"Puff", ReleaseMode::unknown}, {"plumes", ReleaseMode::unknown},
                        {"", ReleaseMode::unknown}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    static CcDescription d;
    std::snprintf(d.release_mode, sizeof d.release_mode, "%s", c.word);
    EXPECT_EQ(release_mode_of(d), c.mode);
  }
}
