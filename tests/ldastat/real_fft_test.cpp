#include "ldastat/spectral/real_fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "ldastat/spectral/double_lanes.h"
#include "tests/support/plain_real_fft.h"

static RealFftTables& tables() {
  static RealFftTables* shared = allocate_real_fft_tables();
  return *shared;
}

static std::vector<double> random_samples(int n, unsigned seed) {
  std::mt19937_64 engine(seed);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  std::vector<double> samples(n);
  for (double& sample : samples) sample = value(engine);
  return samples;
}

static bool same_bits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The kernel widths to compare: two lanes, and four and eight where the
// processor has them.
static std::vector<int> lane_choices() {
  std::vector<int> widths{2};
  if (has_four_lanes()) widths.push_back(4);
  if (has_four_lanes() && has_eight_lanes()) widths.push_back(8);
  return widths;
}

TEST(real_fft, matches_plain_transcription_bit_for_bit) {
  RealFftTables& shared = tables();
  const RealFftTables processor = shared;
  for (int width : lane_choices()) {
    shared.uses_four_lanes = width >= 4;
    shared.uses_eight_lanes = width >= 8;
    for (int n = 2; n <= 65536; n *= 2) {
      for (unsigned seed = 1; seed <= 2; ++seed) {
        SCOPED_TRACE(testing::Message() << "n = " << n << ", seed = " << seed
                                        << ", lanes: " << width);
        std::vector<double> re = random_samples(n, seed * 7919u + static_cast<unsigned>(n));
        std::vector<double> im(n, 123.0);
        std::vector<double> plain_re = re;
        std::vector<double> plain_im(n, -5.0);
        ASSERT_EQ(plain_real_fft(plain_re.data(), plain_im.data(), n), 0);
        ASSERT_EQ(real_fft(shared, re.data(), im.data(), n), real_fft_ok);
        EXPECT_TRUE(same_bits(re, plain_re));
        EXPECT_TRUE(same_bits(im, plain_im));
      }
    }
  }
  shared.uses_four_lanes = processor.uses_four_lanes;
  shared.uses_eight_lanes = processor.uses_eight_lanes;
}

TEST(real_fft, tables_of_another_length_are_rebuilt) {
  // Alternating lengths through the same tables still match.
  for (int n : {1024, 16, 1024, 4096, 16}) {
    SCOPED_TRACE(n);
    std::vector<double> re = random_samples(n, 99);
    std::vector<double> im(n);
    std::vector<double> plain_re = re;
    std::vector<double> plain_im(n);
    plain_real_fft(plain_re.data(), plain_im.data(), n);
    real_fft(tables(), re.data(), im.data(), n);
    EXPECT_TRUE(same_bits(re, plain_re));
    EXPECT_TRUE(same_bits(im, plain_im));
  }
}

TEST(real_fft, agrees_with_direct_dft_on_small_lengths) {
  const long double two_pi = 6.283185307179586476925286766559L;
  for (int n = 1; n <= 128; n *= 2) {
    SCOPED_TRACE(n);
    std::vector<double> x = random_samples(n, 4242);
    std::vector<double> re = x;
    std::vector<double> im(n, 7.0);
    ASSERT_EQ(real_fft(tables(), re.data(), im.data(), n), real_fft_ok);
    for (int k = 0; k < n; ++k) {
      long double sum_re = 0.0L;
      long double sum_im = 0.0L;
      for (int j = 0; j < n; ++j) {
        long double angle = two_pi * static_cast<long double>((static_cast<long>(j) * k) % n) / n;
        sum_re += x[j] * std::cos(angle);
        sum_im -= x[j] * std::sin(angle);
      }
      EXPECT_NEAR(re[k], static_cast<double>(sum_re), 1e-11) << "k = " << k;
      EXPECT_NEAR(im[k], static_cast<double>(sum_im), 1e-11) << "k = " << k;
    }
  }
}

TEST(real_fft, small_lengths_by_hand) {
  // N = 2: X0 = a + b, X1 = a - b. N = 4 with x = 1, 2, 3, 4:
  // X0 = 10, X1 = -2 + 2i, X2 = -2, X3 = -2 - 2i.
  std::vector<double> re{3.0, 5.0};
  std::vector<double> im{9.0, 9.0};
  ASSERT_EQ(real_fft(tables(), re.data(), im.data(), 2), real_fft_ok);
  EXPECT_EQ(re, (std::vector<double>{8.0, -2.0}));
  EXPECT_EQ(im, (std::vector<double>{0.0, 0.0}));

  re = {1.0, 2.0, 3.0, 4.0};
  im = {9.0, 9.0, 9.0, 9.0};
  ASSERT_EQ(real_fft(tables(), re.data(), im.data(), 4), real_fft_ok);
  EXPECT_EQ(re, (std::vector<double>{10.0, -2.0, -2.0, -2.0}));
  EXPECT_EQ(im, (std::vector<double>{0.0, 2.0, 0.0, -2.0}));

  // N = 1: the sample is its own transform.
  re = {4.5};
  im = {9.0};
  ASSERT_EQ(real_fft(tables(), re.data(), im.data(), 1), real_fft_ok);
  EXPECT_EQ(re[0], 4.5);
  EXPECT_EQ(im[0], 0.0);
}

TEST(real_fft, refused_lengths_leave_arrays_unchanged) {
  struct Case {
    int n;
    int expected;
  };
  const Case cases[] = {
      {0, -20003},      // below one
      {-8, -20003},     // negative
      {3, -20009},      // odd
      {12, -20009},     // even, not a power of two
      {16383, -20009},  // one below a power of two
      {1500000, -20009},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    std::vector<double> re{1.0, 2.0, 3.0, 4.0};
    std::vector<double> im{5.0, 6.0, 7.0, 8.0};
    EXPECT_EQ(real_fft(tables(), re.data(), im.data(), c.n), c.expected);
    EXPECT_EQ(re, (std::vector<double>{1.0, 2.0, 3.0, 4.0}));
    EXPECT_EQ(im, (std::vector<double>{5.0, 6.0, 7.0, 8.0}));
  }
  EXPECT_EQ(real_fft_length_below_one, -20003);
  EXPECT_EQ(real_fft_length_not_power_of_two, -20009);
  EXPECT_EQ(real_fft_ok, 0);
}
