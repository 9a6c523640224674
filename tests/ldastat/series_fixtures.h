// Measurement directories for the series tests: the description, the
// reference table and realistic series files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"
#include "tools/lda_measurement_generator/synthetic_series.h"

// A short realistic series (2000 samples at 500 Hz), so that every later
// step of a series has ordinary data to work on.
inline SeriesFixture realistic_series(unsigned seed) {
  SyntheticSeries parameters;
  parameters.sample_count = 2000;
  parameters.seed = seed;
  SeriesFixture fixture;
  synthesize_series(parameters, fixture);
  return fixture;
}

// The measurement name of the end-to-end fixtures (LDASTAT needs at least
// three characters for its suffix).
inline const std::string fixture_name = "run";

// "logbook-info.txt" (U, V, LDA), "run_wtref.txt" with the given prandtl-tube
// velocities as rows 1, 2, ..., and a realistic series "run.NN.bin" for each
// number given.
inline void write_measurement(const TempDirectory& dir, const std::vector<int>& series_numbers,
                              const std::vector<double>& prandtl_velocities) {
  ASSERT_TRUE(write_logbook_fixture(dir.file("logbook-info.txt"), LogbookFixture{}));
  ASSERT_TRUE(write_reference_fixture(dir.file(fixture_name + "_wtref.txt"), prandtl_velocities));
  for (int number : series_numbers)
    ASSERT_TRUE(write_series_fixture(dir.file(series_file_name(fixture_name, number, 2)),
                                     realistic_series(static_cast<unsigned>(number))));
}

// The lines of `output` that begin with one of `prefixes`, in their order.
inline std::vector<std::string> lines_starting_with(const std::string& output,
                                                    const std::vector<std::string>& prefixes) {
  std::vector<std::string> kept;
  for (const std::string& line : split_lines(output))
    for (const std::string& prefix : prefixes)
      if (line.compare(0, prefix.size(), prefix) == 0) {
        kept.push_back(line);
        break;
      }
  return kept;
}

inline bool output_ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
