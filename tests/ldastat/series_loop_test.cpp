// The loop over the series of a run: which series run, in which order, and
// what each of them prints from its input steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ldastat/series_fixtures.h"
#include "tests/support/program_run.h"

namespace {

// The lines of the input steps and the processed line of every series.
std::vector<std::string> series_lines(const std::string& output) {
  return lines_starting_with(output, {" input-file:", " ref-file:", " U (", " LDA-timeseries:"});
}

struct SeriesSeen {
  const char* file;
  const char* velocity;  // the prandtl-tube velocity of its row, as printed
};

// What the series print from these lines when they run through (sc_fac 1).
std::vector<std::string> lines_of_series(const std::vector<SeriesSeen>& series) {
  std::vector<std::string> lines;
  for (const SeriesSeen& s : series) {
    std::string file = s.file;
    std::string velocity = s.velocity;
    lines.insert(
        lines.end(),
        {" input-file: \"" + file + "\" read!", " ref-file: run_wtref.txt opened!",
         " U (prandtl-tube): " + velocity + " m/s", " U (reference)   : " + velocity + " m/s",
         " LDA-timeseries:  " + file + " processed!"});
  }
  return lines;
}

}  // namespace

TEST(run_series_loop, runs_the_series_of_the_run_in_order) {
  struct Case {
    const char* rule;
    std::vector<int> present;
    std::vector<std::string> words;
    std::vector<SeriesSeen> seen;
    int exit_status;
    const char* ending;
    const char* absent;  // no trace of the series that does not run
  };
  const char* farewell = " processed!\n\n\n\n Goodbye!\n";
  const Case cases[] = {
      {"ts_stn 3 and ts_nbr 2 run series 3 and 4 with rows 3 and 4",
       {3, 4},
       {"ts_stn:3", "ts_nbr:2"},
       {{"run.03.bin", " 3.75"}, {"run.04.bin", " 4.50"}},
       0,
       farewell,
       "run.05"},
      // Series 3 reads row 3: series_counter has reached 2 past the skip.
      {"a missing series 2 is skipped silently and still counted",
       {1, 3},
       {"ts_nbr:3"},
       {{"run.01.bin", " 1.25"}, {"run.03.bin", " 3.75"}},
       0,
       farewell,
       "run.02"},
      {"ts_nbr 0 runs one series",
       {2, 3},
       {"ts_stn:2", "ts_nbr:0"},
       {{"run.02.bin", " 2.50"}},
       0,
       farewell,
       "run.03"},
      {"ts_nbr -4 runs one series",
       {2, 3},
       {"ts_stn:2", "ts_nbr:-4"},
       {{"run.02.bin", " 2.50"}},
       0,
       farewell,
       "run.03"},
      {"series 46 ends the run after 44 and 45",
       {44, 45},
       {"ts_stn:44", "ts_nbr:3"},
       {{"run.44.bin", " 5.00"}, {"run.45.bin", " 5.00"}},
       6,
       " processed!\n\n\n\n number of timeseries too high!\n",
       "run.46"},
  };
  // Rows 1 to 45 of the reference table; the first four distinct.
  std::vector<double> rows(45, 5.0);
  rows[0] = 1.25;
  rows[1] = 2.5;
  rows[2] = 3.75;
  rows[3] = 4.5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_measurement(dir, c.present, rows);
    std::vector<std::string> words = {"meas_c:run", "o_stat:0"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    ProgramRun run = run_program(LDASTAT_PATH, words, dir.path);
    EXPECT_EQ(run.exit_status, c.exit_status);
    EXPECT_EQ(series_lines(run.output), lines_of_series(c.seen)) << run.output;
    EXPECT_TRUE(output_ends_with(run.output, c.ending)) << run.output;
    EXPECT_EQ(run.output.find(c.absent), std::string::npos);
  }
}

TEST(run_series_loop, numerical_simulation_runs_the_loop_too) {
  TempDirectory dir;
  write_measurement(dir, {1}, {1.25});
  LogbookFixture logbook;
  logbook.principle = "NUM";
  ASSERT_TRUE(write_logbook_fixture(dir.file("logbook-info.txt"), logbook));
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "o_stat:0"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(series_lines(run.output), lines_of_series({{"run.01.bin", " 1.25"}})) << run.output;
}
