// Series and result rows for the tests of the fluctuation distributions.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

struct Components {
  std::vector<double> a;  // first component, m/s
  std::vector<double> b;  // second component, m/s
};

// The shared buffers holding `samples` as raw channels 2 and 3 (the
// outlier-cleaned series), with the location texts of the examples.
inline SeriesBuffers& series_with(const Components& samples, const char* series_nbr = "03") {
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0", series_nbr);
  int n = static_cast<int>(samples.a.size());
  for (int channel = 0; channel < read_channels; ++channel) buffers.raw_count[channel] = n;
  for (int i = 0; i < n; ++i) {
    buffers.raw[2][i] = samples.a[i];
    buffers.raw[3][i] = samples.b[i];
  }
  return buffers;
}

struct DistributionFile {
  std::vector<std::string> lines;  // the whole file
  std::size_t variables_line;      // index of the "Variables =" line
  std::vector<std::string> rows;   // the class rows after the zone line
};

// Reads a distribution file: its rows follow the column and the zone line.
inline DistributionFile read_distribution_file(const std::string& path) {
  DistributionFile file{file_lines(path), 0, {}};
  while (file.variables_line < file.lines.size() &&
         file.lines[file.variables_line].rfind("Variables =", 0) != 0)
    ++file.variables_line;
  EXPECT_LT(file.variables_line + 1, file.lines.size()) << "no column and zone line in " << path;
  if (file.variables_line + 1 < file.lines.size())
    file.rows.assign(file.lines.begin() + static_cast<long>(file.variables_line) + 2,
                     file.lines.end());
  return file;
}
