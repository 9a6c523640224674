#include "ldastat/spectral/real_fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "ldastat/spectral/double_lanes.h"

// The transform exactly as the algorithm is written: stage by stage, within
// an L-shaped stage first every block at j = 1, then every block at j = 2,
// and so on, with the twiddles computed on the way. real_fft must agree with
// it bit for bit.
static int plain_real_fft(double* x, double* y, int n) {
  if (n < 1) return -20003;
  if ((n & (n - 1)) != 0) return -20009;
  if (n == 1) {
    y[0] = 0.0;
    return 0;
  }
  int m = 0;
  while ((1 << m) < n) ++m;

  for (int i = 1; i < n; ++i) {
    int r = 0;
    for (int bit = 0; bit < m; ++bit)
      if ((i >> bit) & 1) r |= 1 << (m - 1 - bit);
    if (r > i) std::swap(x[i], x[r]);
  }

  int is = 0;
  int id = 4;
  do {
    for (int i0 = is; i0 < n; i0 += id) {
      double t1 = x[i0];
      x[i0] = t1 + x[i0 + 1];
      x[i0 + 1] = t1 - x[i0 + 1];
    }
    is = 2 * id - 2;
    id = 4 * id;
  } while (is < n);

  double e = 1.5707963267948966;
  for (int b = 4; b <= n; b *= 2) {
    int b4 = b / 4;
    int b8 = b / 8;
    is = 0;
    id = 2 * b;
    do {
      for (int i = is; i < n; i += id) {
        int i1 = i;
        int i2 = i1 + b4;
        int i3 = i2 + b4;
        int i4 = i3 + b4;
        double t1 = x[i4] + x[i3];
        x[i4] = x[i4] - x[i3];
        x[i3] = x[i1] - t1;
        x[i1] = x[i1] + t1;
        if (b4 > 1) {
          i1 += b8;
          i2 += b8;
          i3 += b8;
          i4 += b8;
          t1 = (x[i3] + x[i4]) * 0.7071067811865476;
          double t2 = (x[i3] - x[i4]) * 0.7071067811865476;
          x[i4] = x[i2] - t1;
          x[i3] = -x[i2] - t1;
          x[i2] = x[i1] - t2;
          x[i1] = x[i1] + t2;
        }
      }
      is = 2 * id - b;
      id = 4 * id;
    } while (is < n);

    double a = 0.0;
    for (int j = 2; j <= b8; ++j) {
      a += e;
      double cc1 = std::cos(a);
      double ss1 = std::sin(a);
      double cc3 = std::cos(3.0 * a);
      double ss3 = std::sin(3.0 * a);
      is = 0;
      id = 2 * b;
      do {
        for (int i = is; i < n; i += id) {
          int i1 = i + j - 1;
          int i2 = i1 + b4;
          int i3 = i2 + b4;
          int i4 = i3 + b4;
          int i5 = i + b4 - j + 1;
          int i6 = i5 + b4;
          int i7 = i6 + b4;
          int i8 = i7 + b4;
          double t1 = x[i3] * cc1 + x[i7] * ss1;
          double t2 = x[i7] * cc1 - x[i3] * ss1;
          double t3 = x[i4] * cc3 + x[i8] * ss3;
          double t4 = x[i8] * cc3 - x[i4] * ss3;
          double t5 = t1 + t3;
          double t6 = t2 + t4;
          t3 = t1 - t3;
          t4 = t2 - t4;
          double old2 = x[i2];
          double old5 = x[i5];
          double old6 = x[i6];
          double old1 = x[i1];
          x[i8] = old6 + t6;
          x[i3] = t6 - old6;
          x[i4] = old2 - t3;
          x[i7] = -old2 - t3;
          x[i6] = old1 - t5;
          x[i1] = old1 + t5;
          x[i2] = old5 + t4;
          x[i5] = old5 - t4;
        }
        is = 2 * id - b;
        id = 4 * id;
      } while (is < n);
    }
    e *= 0.5;
  }

  y[0] = 0.0;
  y[n / 2] = 0.0;
  for (int k = 1; k < n / 2; ++k) {
    y[k] = x[n - k];
    y[n - k] = -x[n - k];
    x[n - k] = x[k];
  }
  return 0;
}

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
