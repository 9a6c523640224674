#include "ldastat/spectral/power_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

namespace {

const char long_spec_name[] = "SPEC/proj_sub_K_FL_UV_lda1_2700_017_03_Ucomp_ORVA.spec";
const char short_spec_name[] = "SPEC/tunnel_run017_03_ORVA.spec";
const char column_line[] =
    "Variables = \"n [-]\" \"f [1/s]\" \"fz/U<sub>mean</sub> [-]\" "
    "\"fS<sub>UU</sub>(f,z)/<greek>s</greek><sub>U</sub><sup>2</sup> [-]\" \"Kaimal [-]\" "
    "\"Simiu, Scanlan [-]\" \"von Karman [-]\"";
constexpr int header_line_count = 91;  // full form, components U and V
constexpr double two_pi = 6.283185307179586;

SpectrumWork& shared_work() {
  static SpectrumWork* work = allocate_spectrum_work();
  return *work;
}

// What a test varies; the rest is the example measurement.
struct SpectrumCase {
  std::vector<double> x;  // resampled first component; zeros past it
  int fft_nn = 16;
  float time_step = 0.5f;
  float mean = 2.0f;
  float lux = 3.0f;
  const char* pos_z = "100.0";
  int rfn_op = 0;
};

struct SpectrumRun {
  std::string console;
  std::vector<std::string> lines;  // the whole file
  std::vector<std::string> files;  // everything in the directory afterwards
};

SpectrumRun run_spectrum(const SpectrumCase& c, const char* file_name = long_spec_name) {
  WorkingDirectory dir;
  dir.make_directory("SPEC");
  SeriesBuffers& buffers = example_series("0.0", "0.0", c.pos_z);
  int n = static_cast<int>(c.x.size());
  for (int i = 0; i < n; ++i) buffers.resampled[2][i] = c.x[i];
  for (int i = n; i < c.fft_nn + 2 * n + 64; ++i) buffers.resampled[2][i] = 0.0;
  buffers.resampled_count = n;
  RunSettings settings = example_settings();
  settings.fft_nn = c.fft_nn;
  settings.rfn_op = c.rfn_op;
  DataRate rate{1.0f / c.time_step, c.time_step};
  MomentStatistics moments{};
  moments.mean[0] = c.mean;
  testing::internal::CaptureStdout();
  power_spectrum(shared_work(), buffers, settings, example_info("U", "V"), 5.0f, rate, moments,
                 c.lux);
  SpectrumRun run;
  run.console = testing::internal::GetCapturedStdout();
  run.lines = split_lines(read_file(dir.file(file_name)));
  run.files = list_files(dir.directory.path);
  return run;
}

// The data rows (after the header, the column line and the zone line).
std::vector<std::string> rows_of(const SpectrumRun& run) {
  if (run.lines.size() < header_line_count + 2) return {};
  return std::vector<std::string>(run.lines.begin() + header_line_count + 2, run.lines.end());
}

std::vector<std::string> fields_of(const std::string& row) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= row.size()) {
    std::size_t end = row.find("   ", start);
    if (end == std::string::npos) end = row.size();
    fields.push_back(row.substr(start, end - start));
    start = end + 3;
  }
  return fields;
}

std::vector<int> first_column(const std::vector<std::string>& rows) {
  std::vector<int> starts;
  for (const std::string& row : rows) starts.push_back(std::stoi(fields_of(row).at(0)));
  return starts;
}

double column(const std::string& row, int index) { return std::stod(fields_of(row).at(index)); }

std::vector<double> sine(int n, int line, int fft_nn, double amplitude, double level = 0.0) {
  std::vector<double> x(n);
  for (int j = 0; j < n; ++j)
    x[j] = level + amplitude * std::sin(two_pi * line * j / fft_nn);
  return x;
}

TEST(power_spectrum, file_layout_and_console_line) {
  SpectrumCase c;
  c.x = sine(100, 3, 16, 1.0);
  SpectrumRun run = run_spectrum(c);
  EXPECT_EQ(run.console, " samples for FFT: 16\n");
  EXPECT_EQ(run.files, (std::vector<std::string>{"SPEC", long_spec_name}));
  ASSERT_EQ(run.lines.size(), static_cast<std::size_t>(header_line_count + 2 + 8));
  EXPECT_EQ(run.lines[0], "# ORVA power spectrum derived from LDA time series");
  EXPECT_EQ(run.lines[31], "# FL [measurement type]");
  EXPECT_EQ(run.lines[32], "# 2 [number of columns]");
  EXPECT_EQ(run.lines[33], "# \"f*z/Umean\" \"f*SUU(f,z)/sigmaU^2\" [labels]");
  EXPECT_EQ(run.lines[header_line_count - 1], "# ********** END OF HEADER **********");
  EXPECT_EQ(run.lines[header_line_count], column_line);
  EXPECT_EQ(run.lines[header_line_count + 1],
            "ZONE T = \"proj_sub_K_FL_U_V_lda1_2700_017_03_Ucomp\"");
  // Three blanks between the fields, five decimals.
  EXPECT_EQ(rows_of(run)[2].substr(0, 25), "3   0.37500   0.01875   3");
}

TEST(power_spectrum, short_names_use_measurement_name_and_series_number) {
  SpectrumCase c;
  c.x = sine(100, 3, 16, 1.0);
  c.rfn_op = 1;
  SpectrumRun run = run_spectrum(c, short_spec_name);
  EXPECT_EQ(run.files, (std::vector<std::string>{"SPEC", short_spec_name}));
  ASSERT_GT(run.lines.size(), static_cast<std::size_t>(header_line_count + 1));
  EXPECT_EQ(run.lines[header_line_count + 1], "ZONE T = \"tunnel_run017_03\"");
}

TEST(power_spectrum, default_length_has_85_classes) {
  // The widths 1, 1, ..., 181 of L = 0.0 ... 5.2, then 200 each, up to line 8192.
  const int widths[] = {1,  1,  1,  1,  1,  1,  1,  2,  2,  2,  2,  3,   3,   3,   4,   4,   4,  5,
                        6,  6,  7,  8,  9,  9,  11, 12, 13, 14, 16, 18,  20,  22,  24,  27,  29, 33,
                        36, 40, 44, 49, 54, 60, 66, 73, 81, 90, 99, 109, 121, 134, 148, 164, 181};
  std::vector<int> expected;
  int k = 1;
  for (int w : widths) {
    expected.push_back(k);
    k += w;
  }
  for (; k <= 8192; k += 200) expected.push_back(k);
  ASSERT_EQ(expected.size(), 85u);
  ASSERT_EQ(expected.back(), 8075);

  SpectrumCase c;
  c.fft_nn = 16384;
  c.x = sine(16384 + 100, 40, 16384, 1.0);
  SpectrumRun run = run_spectrum(c);
  EXPECT_EQ(run.console, " samples for FFT: 16384\n");
  EXPECT_EQ(first_column(rows_of(run)), expected);
}

TEST(power_spectrum, length_2_has_one_incomplete_class) {
  // N = 2: line 1 is the Nyquist line, X_1 = x0 - x1. One segment of
  // 1.0, -1.0 has G[1] = (2/2)^2 = 1 and P = 1, so column 4 is
  // f_1 * (G[1] / df) / 1 = 1.
  SpectrumCase c;
  c.fft_nn = 2;
  c.x = {1.0, -1.0};
  SpectrumRun run = run_spectrum(c);
  std::vector<std::string> rows = rows_of(run);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(fields_of(rows[0]).at(0), "1");
  EXPECT_EQ(fields_of(rows[0]).at(1), "1.00000");  // f_1 = 1 / (2 * 0.5 s)
  EXPECT_EQ(fields_of(rows[0]).at(3), "1.00000");
}

TEST(power_spectrum, class_ending_at_the_last_line_takes_its_first_line_alone) {
  // N = 64: the class at line 29 has width 4 and would end at line 32 = N/2;
  // it counts as incomplete and shows E[29] alone. All power sits in line
  // 30, so the incomplete class shows 0 where the mean of 29 ... 32 would
  // not.
  SpectrumCase c;
  c.fft_nn = 64;
  c.x = sine(64, 30, 64, 1.0);
  std::vector<std::string> rows = rows_of(run_spectrum(c));
  EXPECT_EQ(first_column(rows), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16, 19,
                                                  22, 25, 29}));
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(fields_of(rows.back()).at(3), "0.00000");
}

TEST(power_spectrum, segment_taken_only_while_it_ends_before_the_last_sample) {
  // N = 16: samples 0 ... 29 are a sine of line 2, samples 30 ... a sine of
  // line 5 (phase 0 at sample 30). The second segment (o = 30) exists for
  // n = N + 31 but not for n = N + 30.
  // One segment: row 2 shows 2 * G[2] / sigma^2 = 2, row 5 shows 0.
  // Two: sigma^2 = A^2/2, G[2] = G[5] = A^2/4: row 2 shows 1, row 5 2.5.
  struct Case {
    int n;
    const char* row_2;
    const char* row_5;
  };
  const Case cases[] = {{16 + 30, "2.00000", "0.00000"}, {16 + 31, "1.00000", "2.50000"}};
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.n);
    SpectrumCase c;
    c.x = sine(expected.n, 2, 16, 1.5);
    for (int j = 30; j < expected.n; ++j) c.x[j] = 1.5 * std::sin(two_pi * 5 * (j - 30) / 16);
    std::vector<std::string> rows = rows_of(run_spectrum(c));
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(fields_of(rows[1]).at(3), expected.row_2);
    EXPECT_EQ(fields_of(rows[4]).at(3), expected.row_5);
  }
}

TEST(power_spectrum, short_series_uses_what_stands_past_its_end) {
  // n = 10 < N = 16: the one segment holds the 10 samples and then the
  // buffer's zeros. With x = 1, 0, 0, ... every line has |X_k / N|^2 =
  // 1/256: sigma^2 = 15/256, G[k] = 2/256 for k < 8 and G[8] = 1/256, so
  // row k shows k * 2/15 for k < 8 and row 8 shows 8/15.
  SpectrumCase c;
  c.x = {1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  std::vector<std::string> rows = rows_of(run_spectrum(c));
  ASSERT_EQ(rows.size(), 8u);
  for (int k = 1; k <= 7; ++k) EXPECT_NEAR(column(rows[k - 1], 3), k * 2.0 / 15.0, 6e-6);
  EXPECT_NEAR(column(rows[7], 3), 8.0 / 15.0, 6e-6);
}

TEST(power_spectrum, pure_sine_puts_all_power_into_its_line) {
  // A sine of line m and amplitude A: sigma^2 = A^2/2 and G[m] = A^2/2, so
  // row m shows f_m * (G[m] / df) / sigma^2 = m and every other row 0. The
  // mean (level 7) goes to line 0, which is not used.
  for (int m : {1, 5, 7}) {
    SCOPED_TRACE(m);
    SpectrumCase c;
    c.fft_nn = 64;
    c.x = sine(64 + 31 + 30 * 5, m, 64, 2.0, 7.0);
    std::vector<std::string> rows = rows_of(run_spectrum(c));
    ASSERT_EQ(rows.size(), 16u);
    for (int r = 0; r < 16; ++r) {
      SCOPED_TRACE(r);
      const std::string expected = r + 1 == m ? std::to_string(m) + ".00000" : "0.00000";
      EXPECT_EQ(fields_of(rows[r]).at(3), expected);
    }
  }
}

// The one-sided power G[1 ... N/2] and sigma^2 of the segment average,
// from a direct DFT.
struct DirectSpectrum {
  std::vector<long double> G;
  long double variance = 0.0L;
};

DirectSpectrum direct_spectrum(const std::vector<double>& x, int N) {
  DirectSpectrum result;
  result.G.assign(N / 2 + 1, 0.0L);
  int segments = 0;
  long double total = 0.0L;
  const long double pi2 = 6.283185307179586476925286766559L;
  int n = static_cast<int>(x.size());
  for (int o = 0; o == 0 || o + N < n; o += 30) {
    for (int k = 1; k < N; ++k) {
      long double re = 0.0L;
      long double im = 0.0L;
      for (int j = 0; j < N; ++j) {
        long double angle = pi2 * static_cast<long double>((static_cast<long>(j) * k) % N) / N;
        re += x[o + j] * std::cos(angle);
        im -= x[o + j] * std::sin(angle);
      }
      long double power = (re * re + im * im) / (static_cast<long double>(N) * N);
      total += power;
      if (k < N / 2) result.G[k] += 2.0L * power;
      if (k == N / 2) result.G[k] += power;
    }
    ++segments;
  }
  for (long double& g : result.G) g /= segments;
  result.variance = total / segments;
  return result;
}

TEST(power_spectrum, normalised_spectrum_matches_direct_transform) {
  // Random samples, N = 32, n = 400: 13 segments at 0, 30, ..., 360 (more
  // than one batch of segments, the last one partial). Row 1 shows
  // G[1] / sigma^2 (f_1 = df); every row the class mean of f * E / sigma^2
  // with the class start's f.
  std::mt19937_64 random(5);
  std::normal_distribution<double> noise(4.0, 1.0);
  SpectrumCase c;
  c.fft_nn = 32;
  for (int i = 0; i < 400; ++i) c.x.push_back(noise(random));
  DirectSpectrum direct = direct_spectrum(c.x, 32);
  std::vector<std::string> rows = rows_of(run_spectrum(c));
  // Classes of N = 32: 1 ... 7, 8 (2), 10 (2), 12 (2), 14 (2), 16 (3: ends
  // at 18 > 16, so incomplete).
  ASSERT_EQ(first_column(rows), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16}));
  EXPECT_NEAR(column(rows[0], 3), static_cast<double>(direct.G[1] / direct.variance), 6e-6);
  const int widths[] = {1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 1};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    int k = first_column(rows)[r];
    long double mean = 0.0L;
    for (int j = k; j < k + widths[r]; ++j) mean += direct.G[j];
    mean /= widths[r];
    // f_k * (mean G / df) / sigma^2 = k * mean G / sigma^2
    EXPECT_NEAR(column(rows[r], 3), static_cast<double>(k * mean / direct.variance), 6e-6);
  }
}

TEST(power_spectrum, model_spectra_of_known_inputs) {
  // dt = 0.5 s, N = 16: f_k = k / 8 Hz. z = 0.1 m, |U| = 2 m/s (mean
  // -2 m/s), Lux = 3 m: n = f / 20, f_L = 1.5 f. Expected values by hand
  // from 16.8 n / (1 + 33 n)^1.6666666667, 32 n / (1 + 50 n)^1.6666666667
  // and 4 f_L / (1 + 70.78 f_L^2)^0.8333333333.
  SpectrumCase c;
  c.x = sine(100, 3, 16, 1.0);
  c.mean = -2.0f;
  std::vector<std::string> rows = rows_of(run_spectrum(c));
  ASSERT_EQ(rows.size(), 8u);
  struct Row {
    int index;
    const char* f;
    const char* n;
    const char* kaimal;
    const char* simiu_scanlan;
    const char* von_karman;
  };
  const Row expected[] = {
      {0, "0.12500", "0.00625", "0.07682", "0.12712", "0.26477"},
      {1, "0.25000", "0.01250", "0.11810", "0.17809", "0.20408"},
      {2, "0.37500", "0.01875", "0.14115", "0.19926", "0.16265"},
      {7, "1.00000", "0.05000", "0.16553", "0.19831", "0.08726"},
  };
  for (const Row& row : expected) {
    SCOPED_TRACE(row.index);
    std::vector<std::string> fields = fields_of(rows[row.index]);
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[1], row.f);
    EXPECT_EQ(fields[2], row.n);
    EXPECT_EQ(fields[4], row.kaimal);
    EXPECT_EQ(fields[5], row.simiu_scanlan);
    EXPECT_EQ(fields[6], row.von_karman);
  }
}

TEST(power_spectrum, undefined_columns_hold_the_marker) {
  struct Case {
    const char* what;
    double level;           // the series is this constant (plus a sine when varying)
    bool is_varying;
    float mean;
    float lux;
    std::vector<int> marked;  // columns (0-based) that hold the marker
  };
  const Case cases[] = {
      {"constant series: sigma^2 = 0", 3.0, false, 3.0f, 3.0f, {3}},
      {"mean 0 m/s", 0.0, true, 0.0f, 3.0f, {2, 4, 5, 6}},
      {"undefined Lux", 3.0, true, 3.0f, std::nanf(""), {6}},
      {"constant series with mean 0", 0.0, false, 0.0f, 3.0f, {2, 3, 4, 5, 6}},
  };
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.what);
    SpectrumCase c;
    c.x = sine(100, 3, 16, expected.is_varying ? 1.0 : 0.0, expected.level);
    c.mean = expected.mean;
    c.lux = expected.lux;
    SpectrumRun run = run_spectrum(c);
    std::vector<std::string> rows = rows_of(run);
    ASSERT_EQ(rows.size(), 8u);
    for (const std::string& row : rows) {
      std::vector<std::string> fields = fields_of(row);
      ASSERT_EQ(fields.size(), 7u);
      for (int i = 1; i < 7; ++i) {
        bool is_marked = false;
        for (int m : expected.marked) is_marked = is_marked || m == i;
        if (is_marked)
          EXPECT_EQ(fields[i], "999.999") << row;
        else
          EXPECT_NE(fields[i], "999.999") << row;
      }
    }
    for (const std::string& line : run.lines) {
      EXPECT_EQ(line.find("nan"), std::string::npos) << line;
      EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    }
  }
}

}  // namespace
