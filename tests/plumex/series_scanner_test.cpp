#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plumex/run/series_scanner.h"
#include "tests/support/program_run.h"

static int scan(const std::string& line, double values[sample_columns]) {
  return scan_sample_line(line.data(), line.data() + line.size(), values);
}

// What sscanf with the format of the series reads from the same line.
static int scan_with_sscanf(const std::string& line, double values[sample_columns]) {
  for (int k = 0; k < sample_columns; ++k) values[k] = 0.0;
  int count = std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf\n", &values[0], &values[1], &values[2], &values[3],
                          &values[4], &values[5]);
  return count < 0 ? 0 : count;
}

static bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

static void expect_same_as_sscanf(const std::string& line) {
  double expected[sample_columns];
  double actual[sample_columns];
  int expected_count = scan_with_sscanf(line, expected);
  int actual_count = scan(line, actual);
  EXPECT_EQ(actual_count, expected_count) << "line \"" << line << "\"";
  for (int k = 0; k < sample_columns; ++k)
    EXPECT_TRUE(same_bits(actual[k], expected[k]))
        << "line \"" << line << "\" column " << k + 1 << ": " << actual[k] << " != " << expected[k];
}

TEST(sample_line, columns_not_read_are_zero) {
  struct Case {
    const char* line;
    int count;
    double values[sample_columns];
  };
  const Case cases[] = {
      {"0.5 5.0 1.0 20.0 5.0 2.0\n", 6, {0.5, 5.0, 1.0, 20.0, 5.0, 2.0}},
      {"0.5 5.0 1.0 20.0\n", 4, {0.5, 5.0, 1.0, 20.0, 0.0, 0.0}},           // four numbers
      {"1 2 3 4 5 6 7 8\n", 6, {1, 2, 3, 4, 5, 6}},                          // seven and more: rest ignored
      {"\n", 0, {0, 0, 0, 0, 0, 0}},                                         // empty line
      {"", 0, {0, 0, 0, 0, 0, 0}},                                           // last line without line end
      {"  +1.5\t-2 \t 3e2 4E-1 .5 6.\r\n", 6, {1.5, -2, 300, 0.4, 0.5, 6}},  // blanks, tabs, signs
      {"1 2 x 4 5 6\n", 2, {1, 2, 0, 0, 0, 0}},                              // stops at a non-number
      {"1,2,3\n", 1, {1, 0, 0, 0, 0, 0}},
      {"1-2+3\n", 3, {1, -2, 3, 0, 0, 0}},  // a sign starts the next number
      {"12abc 5\n", 1, {12, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    double values[sample_columns];
    EXPECT_EQ(scan(c.line, values), c.count);
    for (int k = 0; k < sample_columns; ++k) EXPECT_EQ(values[k], c.values[k]) << "column " << k + 1;
  }
}

TEST(sample_line, same_as_sscanf_on_unusual_forms) {
  const char* lines[] = {
      "1e+ 2 3",          // dangling exponent: "%lf" reads over it
      "1e 2",             "2E- 3",
      "0x1p3 4",          // hexadecimal
      "0x 5",             "00x5 6",        "-0X1A 2",
      "inf 5",            "-infinity 2",   "nan 1",         "NaN(123) 4",   "in 5",
      "1.5.3 4",          "1e5e3 2",       ".5 .e 3",       ". 5",          "+-5 3",
      "- 5",              "1e400 2",       "-1e400 2",      "1e-400 3",     "4.9e-324 2.2250738585072011e-308",
      "9007199254740993 9007199254740992.5",                 // beyond 2^53
      "123456789012345678901234567890 0.1000000000000000055511151231257827",
      "0.00000000000000000000000001 1234567890123456789",   // many fraction digits; 19 digits
      "1234567890.1234567891 3",                             // 20 digits
      "179769313486231570000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "0000 1",
      "\v1\f2\r3",
      "1\0002 3",  // a zero byte ends the line for sscanf
  };
  for (const char* line : lines) expect_same_as_sscanf(line);
  expect_same_as_sscanf(std::string("1 2\0 3 4", 8));
}

TEST(sample_line, same_as_sscanf_on_random_lines) {
  // Lines of random pieces of numbers and separators, from a fixed seed.
  const char* pieces[] = {"0", "1", "7", "12", "9", "00", ".", ".", "-", "+", "e", "E", "e-", "e+", "x", "X",
                          " ", " ", " ", "\t", "inf", "nan", "a", ",", "3.14159", "1e308", "1e-320", "99999"};
  const int piece_count = sizeof pieces / sizeof pieces[0];
  std::uint64_t state = 12345;
  for (int line_number = 0; line_number < 20000; ++line_number) {
    std::string line;
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    int length = static_cast<int>((state >> 33) % 24);
    for (int p = 0; p < length; ++p) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      line += pieces[(state >> 33) % piece_count];
    }
    expect_same_as_sscanf(line);
    if (HasFailure()) return;
  }
}

static std::vector<std::string> line_parts(const std::string& text, std::size_t buffer_bytes) {
  TempDirectory dir;
  write_text_file(dir.file("series.txt"), text);
  std::FILE* file = std::fopen(dir.file("series.txt").c_str(), "rb");
  LinePartReader reader;
  start_line_parts(reader, file, buffer_bytes);
  std::vector<std::string> parts;
  const char* begin = nullptr;
  const char* end = nullptr;
  while (next_line_part(reader, &begin, &end)) parts.emplace_back(begin, end);
  std::fclose(file);
  return parts;
}

TEST(line_parts, every_read_is_a_line) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::size_t> part_lengths;
  };
  std::string long_4998(4998, '1');
  std::string long_4999(4999, '2');
  std::string long_10000(10000, '3');
  const Case cases[] = {
      {"empty file", "", {}},
      {"two lines", "1 2\n3 4\n", {4, 4}},
      {"trailing empty line", "1 2\n\n", {4, 1}},
      {"last line without line end", "1 2\n3", {4, 1}},
      {"4998 characters and the line end fit one read", long_4998 + "\n", {4999}},
      {"4999 characters leave the line end to a second read", long_4999 + "\n", {4999, 1}},
      {"a long line without line end", long_10000, {4999, 4999, 2}},
      {"a long line between short ones", "5\n" + long_10000 + "\n6\n", {2, 4999, 4999, 3, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t buffer_bytes : {std::size_t{0}, std::size_t{5003}, std::size_t{1} << 20}) {
      SCOPED_TRACE(buffer_bytes);
      std::vector<std::string> parts = line_parts(c.text, buffer_bytes);
      std::vector<std::size_t> lengths;
      std::string joined;
      for (const std::string& part : parts) {
        lengths.push_back(part.size());
        joined += part;
      }
      EXPECT_EQ(lengths, c.part_lengths);
      EXPECT_EQ(joined, c.text);
    }
  }
}
