#include "ldastat/spectral/autocorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ldastat/spectral/correlation_kernel.h"
#include "tests/ldastat/result_files_fixture.h"
#include "tests/support/direct_correlation.h"

namespace {

constexpr float lag_step = 0.25f;  // s: lag times are exact in the file
const char autocorr_name[] = "AUTOCORR/proj_sub_K_FL_UV_lda1cor_2700_017_03_autocorr.tec.ts";

AutocorrelationResult& shared_result() {
  static AutocorrelationResult* result = allocate_autocorrelation_result();
  return *result;
}

// Puts `x` into resampled channel 2 of the shared buffers.
SeriesBuffers& load_resampled(const std::vector<double>& x) {
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0");
  int n = static_cast<int>(x.size());
  for (int i = 0; i < n; ++i) buffers.resampled[2][i] = x[i];
  buffers.resampled[2][n] = 0.0;
  buffers.resampled_count = n;
  return buffers;
}

struct Scales {
  AutocorrelationResult* result;
  std::string output;  // console text of both operations
};

Scales run_scales(const std::vector<double>& x, int o_auto, float u_mean = -2.5f) {
  SeriesBuffers& buffers = load_resampled(x);
  RunSettings settings = example_settings();
  settings.o_auto = o_auto;
  AutocorrelationResult& result = shared_result();
  testing::internal::CaptureStdout();
  autocorrelation(buffers, lag_step, settings, example_info("U", "V"), result);
  integral_scales(result, u_mean);
  return Scales{&result, testing::internal::GetCapturedStdout()};
}

std::uint32_t bits_of(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::vector<double> sine_series() {  // period 10 samples: crosses zero at lag 3
  std::vector<double> x(40);
  for (int i = 0; i < 40; ++i) x[i] = std::sin(2 * 3.141592653589793 * i / 10);
  return x;
}

std::vector<double> rising_series() {  // a ramp with an alternating part: R[2] rises
  std::vector<double> x(12);
  for (int i = 0; i < 12; ++i) x[i] = 7.0 * i / 12 + (i % 2 == 0 ? 1 : -1);
  return x;
}

std::vector<double> alternating_series() {  // R[1] = -1
  std::vector<double> x(20);
  for (int i = 0; i < 20; ++i) x[i] = i % 2 == 0 ? 1.0 : -1.0;
  return x;
}

// A first-order autoregressive series around `level` with the factor `phi`.
std::vector<double> ar1_series(int n, double level, double phi, unsigned seed) {
  std::mt19937_64 random(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<double> x(n);
  double fluctuation = 0.0;
  for (int i = 0; i < n; ++i) {
    fluctuation = phi * fluctuation + noise(random);
    x[i] = level + 0.3 * fluctuation;
  }
  return x;
}

std::string column_line() { return "Variables = \"k\" \"time[s]\" \"RUU\"\n"; }

}  // namespace

TEST(correlation_kernel, equals_the_direct_loop_bit_for_bit) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> small(0, 4);
  std::vector<double> ties(997);
  for (double& v : ties) v = small(random);
  struct Case {
    const char* name;
    std::vector<double> x;
  };
  const Case cases[] = {
      {"white noise around 10", ar1_series(1201, 10.0, 0.0, 1)},
      {"slow around 5", ar1_series(2003, 5.0, 0.995, 2)},
      {"slow around 0", ar1_series(640, 0.0, 0.9, 3)},
      {"small integers with ties", ties},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const double* x = c.x.data();
    int n = static_cast<int>(c.x.size());
    std::vector<float> leading(n + 1);
    leading_float_sums(x, n, leading.data());
    // Calls of several sizes, so that whole blocks, partial blocks and
    // single lags all occur, up to the last lag with a pair.
    std::vector<float> fast(n);
    constexpr int block = correlation_block_lags;
    const int sizes[] = {1, block, 3, 2 * block, block + 1, 3 * block, block - 1};
    int first = 0;
    for (int call = 0; first < n; ++call) {
      int count = sizes[call % 7] < n - first ? sizes[call % 7] : n - first;
      correlation_at_lags(x, n, leading.data(), first, count, fast.data() + first);
      first += count;
    }
    for (int k = 0; k < n; ++k) {
      float direct = direct_correlation_at_lag(x, n, k);
      ASSERT_EQ(bits_of(fast[k]), bits_of(direct)) << "lag " << k << ": " << fast[k] << " vs " << direct;
    }
  }
}

TEST(autocorrelation, table_of_a_slowly_decaying_series_equals_the_direct_loop) {
  std::vector<double> x = ar1_series(30000, 8.0, 0.998, 11);
  Scales scales = run_scales(x, 0);
  const AutocorrelationResult& result = *scales.result;
  ASSERT_TRUE(result.is_defined);
  // The direct part runs while the direct values decrease and stay
  // positive; a rising value is then overwritten by the tail.
  float previous = 2.0f;
  int k = 0;
  for (;; ++k) {
    float direct = direct_correlation_at_lag(x.data(), 30000, k);
    bool goes_on = direct < previous && direct > 0.0f;
    if (goes_on || direct <= 0.0f) {
      ASSERT_EQ(bits_of(result.correlation[k]), bits_of(direct)) << "lag " << k;
    }
    if (!goes_on) break;
    previous = direct;
  }
  EXPECT_GT(k, 100);
}

TEST(autocorrelation, end_lag_scales_and_rows_of_the_examples) {
  // Expected values worked out with float sums as the rules say, lag step
  // 0.25 s; Tux = 0.25 * (R[0]/2 + R[1] + ... + R[k_end - 1]).
  struct Case {
    const char* rule;
    std::vector<double> x;
    int end_lag;
    float tux;
    const char* rows;  // after the column line
  };
  const Case cases[] = {
      {"R = 1, 0.8162807, 0.3418288, -0.2728339 ends at the zero crossing, no row for it",
       sine_series(), 3, 0.41452738642692566f,
       "0      0.0000    1.00000000\n"
       "1      0.2500    0.81628072\n"
       "2      0.5000    0.34182882\n"},
      {"R[2] = 1 rises after 0.5486482: the line through ln R[0], ln R[1] continues the "
       "function from lag 2 until it falls below 0.001 at lag 12",
       rising_series(), 12, 0.4284796416759491f,
       "0      0.0000    1.00000000\n"
       "1      0.2500    0.54864824\n"
       "2      0.5000    0.30101490\n"
       "3      0.7500    0.16515130\n"
       "4      1.0000    0.09060997\n"
       "5      1.2500    0.04971300\n"
       "6      1.5000    0.02727495\n"
       "7      1.7500    0.01496435\n"
       "8      2.0000    0.00821017\n"
       "9      2.2500    0.00450449\n"
       "10      2.5000    0.00247138\n"
       "11      2.7500    0.00135592\n"},
      {"R[1] = R[2] = 0.16666667: lag 2 is written as computed, then again as the first "
       "value of the tail",
       {2, 0, 2, 2, 3, 3, 2}, 4, 0.17476850748062134f,
       "0      0.0000    1.00000000\n"
       "1      0.2500    0.16666667\n"
       "2      0.5000    0.16666667\n"
       "2      0.5000    0.02777778\n"
       "3      0.7500    0.00462963\n"},
      {"R[1] = -1 <= 0: k_end = 1 and Tux = lag step / 2", alternating_series(), 1, lag_step / 2,
       "0      0.0000    1.00000000\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    WorkingDirectory dir;
    dir.make_directory("AUTOCORR");
    Scales scales = run_scales(c.x, 1);
    EXPECT_TRUE(scales.result->is_defined);
    EXPECT_EQ(scales.result->end_lag, c.end_lag);
    EXPECT_EQ(scales.result->last_kept_lag, c.end_lag - 1);
    EXPECT_EQ(scales.result->Tux, c.tux);
    EXPECT_EQ(read_file(dir.file(autocorr_name)), column_line() + c.rows);
  }
}

TEST(autocorrelation, rows_start_at_a_thousandth) {
  // 0.001 as a float is written; the next float below it is not.
  AutocorrelationResult& result = shared_result();
  result.lag_step = lag_step;
  result.lag_count = 5;
  result.correlation[5] = 0.001f;
  result.correlation[6] = std::nextafter(0.001f, 0.0f);
  result.correlation[7] = 0.0f;
  WorkingDirectory dir;
  std::FILE* file = std::fopen(dir.file("rows").c_str(), "w");
  ASSERT_NE(file, nullptr);
  for (int k = 5; k <= 7; ++k) append_autocorr_row(file, result, "U", k);
  std::fclose(file);
  EXPECT_EQ(read_file(dir.file("rows")), "5      1.2500    0.00100000\n");
}

TEST(autocorrelation, without_the_switch_same_scales_and_no_file) {
  WorkingDirectory dir;
  dir.make_directory("AUTOCORR");
  Scales scales = run_scales(sine_series(), 0, -2.5f);
  EXPECT_EQ(scales.result->lag_count, 4);  // lags 0 to 3
  EXPECT_EQ(scales.result->Tux, 0.41452738642692566f);
  EXPECT_EQ(scales.result->Lux, 1.0363184213638306f);  // |-2.5| * Tux
  EXPECT_EQ(scales.output, " Tux: 0.415 s\n Lux: 1.036 m\n");
  EXPECT_EQ(list_files(dir.directory.path), std::vector<std::string>{"AUTOCORR"});
}

TEST(autocorrelation, file_of_an_earlier_run_is_appended_to) {
  WorkingDirectory dir;
  dir.make_directory("AUTOCORR");
  write_text_file(dir.file(autocorr_name), "earlier\n");
  run_scales(alternating_series(), 1);
  run_scales(alternating_series(), 1);
  std::string rows = column_line() + "0      0.0000    1.00000000\n";
  EXPECT_EQ(read_file(dir.file(autocorr_name)), "earlier\n" + rows + rows);
}

TEST(autocorrelation, constant_component_leaves_the_scales_undefined) {
  WorkingDirectory dir;
  dir.make_directory("AUTOCORR");
  Scales scales = run_scales(std::vector<double>(50, 10.1), 1);
  EXPECT_FALSE(scales.result->is_defined);
  EXPECT_TRUE(std::isnan(scales.result->Tux));
  EXPECT_TRUE(std::isnan(scales.result->Lux));
  EXPECT_EQ(scales.output,
            " autocorrelation undefined: the resampled first component does not vary\n"
            " Tux: undefined\n Lux: undefined\n");
  // The marker stands where the correlation would be shown.
  EXPECT_EQ(read_file(dir.file(autocorr_name)), column_line() + "0      0.0000    999.999\n");
}

TEST(autocorrelation, degenerate_functions_are_undefined_with_their_reason) {
  struct Case {
    const char* name;
    std::vector<double> x;
    const char* reason;
  };
  std::vector<double> late_step(30, 0.0);
  late_step[29] = 5.0;  // every leading part of a lag >= 1 is all zeros: 0/0
  std::vector<double> geometric(10);
  for (int i = 0; i < 10; ++i) geometric[i] = std::ldexp(1.0, i);  // R[1] = R[0] = 1: no slope
  const Case cases[] = {
      {"single sample", {3.0}, " autocorrelation undefined: the resampled first component does not vary\n"},
      {"late step", late_step,
       " autocorrelation undefined: a part of the resampled first component does not vary\n"},
      {"geometric", geometric, " autocorrelation undefined: its fitted exponential tail does not decay\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scales scales = run_scales(c.x, 0);
    EXPECT_FALSE(scales.result->is_defined);
    EXPECT_TRUE(std::isnan(scales.result->Lux));
    EXPECT_EQ(scales.output, std::string(c.reason) + " Tux: undefined\n Lux: undefined\n");
  }
}

TEST(autocorrelation, flat_tail_stops_at_the_table_capacity) {
  // R[1] = R[2] = 0.99999988: the fitted slope is -1.19e-7 and the tail
  // would need about 58 million lags to fall below 0.001.
  std::vector<double> x(8);
  for (int i = 0; i < 8; ++i) x[i] = std::ldexp(1.0, i);
  x[7] += 0.1;
  Scales scales = run_scales(x, 0, 1.0f);
  const AutocorrelationResult& result = *scales.result;
  ASSERT_TRUE(result.is_defined);
  EXPECT_EQ(result.end_lag, correlation_capacity);
  EXPECT_EQ(result.last_kept_lag, correlation_capacity - 1);
  EXPECT_EQ(result.correlation[correlation_capacity - 1], 0.6961860656738281f);
  EXPECT_EQ(result.Tux, 628035.875f);
  EXPECT_EQ(scales.output,
            " autocorrelation tail cut at the table capacity of 3000000 lags\n"
            " Tux: 628035.875 s\n Lux: 628035.875 m\n");
}
