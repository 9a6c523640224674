#include "ldastat/stats/resampling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

namespace {

// Loads the arrival times into the shared buffers (cleared first); sample i
// carries 10 + i, 20 + i and 30 + i in channels 1 to 3, so that a held
// value names its sample.
SeriesBuffers& load_arrivals(const std::vector<double>& arrival) {
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0");
  clear_series_buffers(buffers);
  int n = static_cast<int>(arrival.size());
  for (int i = 0; i < n; ++i) {
    buffers.raw[0][i] = arrival[i];
    buffers.raw[1][i] = 10.0 + i;
    buffers.raw[2][i] = 20.0 + i;
    buffers.raw[3][i] = 30.0 + i;
  }
  for (int& count : buffers.raw_count) count = n;
  return buffers;
}

// n arrival times from 0 to `span`, the last one exactly `span`.
std::vector<double> spread_arrivals(int n, double span) {
  std::vector<double> arrival(n);
  for (int i = 0; i < n; ++i) arrival[i] = span * i / (n - 1);
  arrival[n - 1] = span;
  return arrival;
}

bool rate_of(SeriesBuffers& buffers, DataRate& rate, std::string& output) {
  testing::internal::CaptureStdout();
  bool is_usable = compute_data_rate(buffers, rate);
  output = testing::internal::GetCapturedStdout();
  return is_usable;
}

}  // namespace

TEST(data_rate, whole_number_rate_after_the_float_roundings) {
  // Expected values worked out with 32-bit rounding after every step:
  // d = span / n, r = 1 / d, floor(r), 1 / rate.
  struct Case {
    int n;
    double span;
    float data_rate;
    float time_step;
  };
  const Case cases[] = {
      {10000, 4.0, 2500.0f, 0.0004f},      // d = 0.0004 exactly as float: 2500
      {1000, 1.0, 999.0f, 1.0f / 999.0f},  // d = 0.0010000000475, 1/d = 999.99994: 999
      {2000, 1.0, 1999.0f, 1.0f / 1999.0f},
      {3000, 1.0, 3000.0f, 1.0f / 3000.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    SeriesBuffers& buffers = load_arrivals(spread_arrivals(c.n, c.span));
    DataRate rate{};
    std::string output;
    ASSERT_TRUE(rate_of(buffers, rate, output));
    EXPECT_EQ(rate.data_rate, c.data_rate);
    EXPECT_EQ(rate.time_step, c.time_step);
  }
}

TEST(data_rate, console_shows_count_and_right_aligned_rate) {
  SeriesBuffers& buffers = load_arrivals({0.0, 0.3, 0.35, 1.2});
  DataRate rate{};
  std::string output;
  ASSERT_TRUE(rate_of(buffers, rate, output));
  EXPECT_EQ(output, " number of samples: 4\n mean data rate:     3 Hz\n");
}

TEST(data_rate, series_without_a_usable_rate_is_refused_with_a_reason) {
  struct Case {
    std::vector<double> arrival;
    const char* output;
  };
  const Case cases[] = {
      {{}, " number of samples: 0\n no data rate with fewer than 2 samples: series skipped!\n"},
      {{0.5}, " number of samples: 1\n no data rate with fewer than 2 samples: series skipped!\n"},
      {{0.5, 0.5, 0.5},
       " number of samples: 3\n no data rate: the arrival times span no time, series skipped!\n"},
      // 2 samples over 10 s: 0.2 per second, rounded down to 0 Hz.
      {{0.0, 10.0},
       " number of samples: 2\n mean data rate:     0 Hz\n"
       " no data rate: fewer than one sample per second, series skipped!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    SeriesBuffers& buffers = load_arrivals(c.arrival);
    DataRate rate{};
    std::string output;
    EXPECT_FALSE(rate_of(buffers, rate, output));
    EXPECT_EQ(output, c.output);
  }
}

TEST(resampling, grid_slots_hold_the_latest_sample_and_the_walk_leaves_index_r) {
  // Worked by hand through the walk: slot times, the sample each slot
  // holds, and what index R holds afterwards (the grid time computed last,
  // and the last sample when the walk ran out while filling slot R).
  struct Case {
    std::vector<double> arrival;
    float data_rate;
    std::vector<int> held;  // sample held by slots 0 ... R - 1
    int held_at_r;          // sample left at index R, -1: zeros
  };
  const Case cases[] = {
      {{0.0, 0.3, 0.35, 1.2}, 3.0f, {0, 1, 2, 2}, -1},
      // The grid time 0.5 takes the first of the two samples at 0.5 s.
      {{0.0, 0.5, 0.5, 1.0, 1.9}, 2.0f, {0, 1, 3, 3}, -1},
      // The last arrival (1.0 s) has no slot.
      {{0.0, 0.25, 0.5, 0.75, 1.0}, 5.0f, {0, 0, 1, 2, 3}, -1},
      // Slot 4 (1.0 s) takes the last sample (0.95 s), then the samples run
      // out: the slot is not counted but keeps the sample.
      {{0.0, 0.5, 0.9, 0.95}, 4.0f, {0, 0, 1, 1}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.held.size());
    SeriesBuffers& buffers = load_arrivals(c.arrival);
    DataRate rate{};
    std::string output;
    ASSERT_TRUE(rate_of(buffers, rate, output));
    ASSERT_EQ(rate.data_rate, c.data_rate);
    resample_series(buffers, rate);
    int r = static_cast<int>(c.held.size());
    ASSERT_EQ(buffers.resampled_count, r);
    for (int k = 0; k <= r; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(buffers.resampled[0][k], c.arrival[0] + k * static_cast<double>(rate.time_step));
      int sample = k < r ? c.held[k] : c.held_at_r;
      for (int channel = 1; channel < 4; ++channel)
        EXPECT_EQ(buffers.resampled[channel][k], sample < 0 ? 0.0 : channel * 10.0 + sample);
    }
    for (int channel = 0; channel < 4; ++channel) EXPECT_EQ(buffers.resampled[channel][r + 1], 0.0);
  }
}

TEST(resampling, grid_starts_at_the_first_arrival) {
  SeriesBuffers& buffers = load_arrivals({100.0, 100.25, 100.5, 100.75, 101.0});
  DataRate rate{5.0f, 0.2f};
  resample_series(buffers, rate);
  ASSERT_EQ(buffers.resampled_count, 5);
  EXPECT_EQ(buffers.resampled[0][0], 100.0);
  EXPECT_EQ(buffers.resampled[0][3], 100.0 + 3 * static_cast<double>(0.2f));
  EXPECT_EQ(buffers.resampled[2][0], 20.0);
  EXPECT_EQ(buffers.resampled[2][4], 23.0);
}

TEST(resampling, long_even_series_fills_at_most_one_slot_more) {
  // 1,500,000 samples (the capacity) 1 ms apart.
  std::vector<double> arrival(max_series_samples);
  for (int i = 0; i < max_series_samples; ++i) arrival[i] = 0.001 * i;
  SeriesBuffers& buffers = load_arrivals(arrival);
  DataRate rate{};
  std::string output;
  ASSERT_TRUE(rate_of(buffers, rate, output));
  resample_series(buffers, rate);
  EXPECT_GE(buffers.resampled_count, max_series_samples - 2);
  EXPECT_LE(buffers.resampled_count, max_series_samples + 1);
}

TEST(resampling, arrival_times_running_backwards_stop_at_the_capacity) {
  // Outside the data model: a time far ahead of the last one would push the
  // grid past its arrays; the walk stops at the last slot instead.
  SeriesBuffers& buffers = load_arrivals({0.0, 1.0e7, 1.0});
  DataRate rate{};
  std::string output;
  ASSERT_TRUE(rate_of(buffers, rate, output));
  resample_series(buffers, rate);
  EXPECT_EQ(buffers.resampled_count, resampled_capacity - 1);
}
