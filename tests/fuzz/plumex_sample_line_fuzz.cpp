// Fuzzes the number scanner of the PLUMEX series reader against sscanf with
// "%lf %lf %lf %lf %lf %lf", which it replaces: for every line part both
// must read the same number of columns and bit for bit the same values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "plumex/run/series_scanner.h"
#include "tests/fuzz/fuzz_support.h"

static bool same_value(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

static void run_input(const std::uint8_t* data, std::size_t size) {
  // One line part: at most line_part_capacity characters, up to and with
  // its first line end.
  std::size_t length = 0;
  while (length < size && length < line_part_capacity) {
    ++length;
    if (data[length - 1] == '\n') break;
  }
  std::string part(reinterpret_cast<const char*>(data), length);

  double scanned[sample_columns];
  int scanned_count = scan_sample_line(part.data(), part.data() + part.size(), scanned);

  // What a line read with fgets gives sscanf: the text up to a zero byte.
  double expected[sample_columns] = {};
  int expected_count = std::sscanf(part.c_str(), "%lf %lf %lf %lf %lf %lf\n", &expected[0],
                                   &expected[1], &expected[2], &expected[3], &expected[4],
                                   &expected[5]);
  if (expected_count < 0) expected_count = 0;
  fuzz_require(scanned_count == expected_count, "scanner and sscanf read different column counts");
  for (int c = 0; c < sample_columns; ++c)
    fuzz_require(same_value(scanned[c], c < expected_count ? expected[c] : 0.0),
                 "scanner and sscanf read different values");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
