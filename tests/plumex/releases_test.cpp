#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "plumex/processing/releases.h"

namespace {

// A series of `count` zero samples whose trigger column is 5 V on
// [start, start + on) of every period from `first`.
void pulse_series(CcSeries& series, int count, int first, int period, int on) {
  series.count = count;
  series.time = std::make_unique<double[]>(count);
  series.trigger = std::make_unique<double[]>(count);
  series.effective = std::make_unique<double[]>(count);
  for (int i = first; i < count; ++i)
    if ((i - first) % period < on) series.trigger[i] = 5.0;
}

CcSettings settings_with(double sample, double d_samp, double t_open) {
  CcSettings settings;
  set_default_cc_settings(settings);
  settings.SAMPLE = sample;
  settings.D_SAMP = d_samp;
  settings.T_OPEN = t_open;
  return settings;
}

std::vector<int> lengths_of(const ReleaseSet& releases) {
  return std::vector<int>(releases.length.get(), releases.length.get() + releases.release_count);
}

}  // namespace

TEST(release_extraction, one_release_per_pulse_with_the_default_hold) {
  // 5 V for 50 samples every 2000 samples from sample 100; pulses at 100,
  // 2100, 4100, 6100: three releases of 2000 samples, the last pulse opens
  // the trailing segment.
  CcSeries series;
  pulse_series(series, 8000, 100, 2000, 50);
  ReleaseSet releases;
  extract_releases(settings_with(1000.0, 1.0, 1.0), series, releases);
  EXPECT_EQ(releases.hold_count, 1000);
  EXPECT_EQ(releases.segment_0_length, 100);
  ASSERT_EQ(releases.release_count, 3);
  EXPECT_EQ(lengths_of(releases), (std::vector<int>{2000, 2000, 2000}));
  EXPECT_EQ(releases.first[0], 100);
  EXPECT_EQ(releases.first[2], 4100);
  measure_release_durations(series, releases);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(releases.on_count[r], 50);
    EXPECT_EQ(releases.duration[r], 0.05);
  }
  EXPECT_EQ(releases.duration_mean, (0.05 + 0.05 + 0.05) / 3);
}

TEST(release_extraction, short_hold_accepts_a_high_trigger_again) {
  // T_OPEN 0.01 s: H = 10, so each 50-sample pulse opens five releases,
  // four of 10 samples and a fifth up to the next pulse.
  CcSeries series;
  pulse_series(series, 4000, 100, 2000, 50);
  ReleaseSet releases;
  extract_releases(settings_with(1000.0, 1.0, 0.01), series, releases);
  EXPECT_EQ(releases.hold_count, 10);
  EXPECT_EQ(lengths_of(releases), (std::vector<int>{10, 10, 10, 10, 1960, 10, 10, 10, 10}));
  EXPECT_EQ(releases.first[4], 140);
}

TEST(release_extraction, hold_of_zero_or_one_accepts_every_high_sample) {
  for (double t_open : {0.0, 0.001}) {
    SCOPED_TRACE(t_open);
    CcSeries series;
    pulse_series(series, 30, 5, 10, 3);  // high on 5-7, 15-17, 25-27
    ReleaseSet releases;
    extract_releases(settings_with(1000.0, 1.0, t_open), series, releases);
    EXPECT_EQ(lengths_of(releases), (std::vector<int>{1, 1, 8, 1, 1, 8, 1, 1}));
  }
}

TEST(release_extraction, trigger_high_on_the_first_sample) {
  CcSeries series;
  pulse_series(series, 50, 0, 20, 2);
  ReleaseSet releases;
  extract_releases(settings_with(100.0, 1.0, 0.1), series, releases);
  EXPECT_EQ(releases.segment_0_length, 0);
  EXPECT_EQ(releases.first[0], 0);
  EXPECT_EQ(lengths_of(releases), (std::vector<int>{20, 20}));
}

TEST(release_extraction, spacing_factor_gives_the_same_time_step) {
  // SAMPLE 2000 with D_SAMP 2 is dt 0.001 s and H 1000, as SAMPLE 1000.
  CcSeries series;
  pulse_series(series, 4000, 100, 2000, 50);
  ReleaseSet releases;
  extract_releases(settings_with(2000.0, 2.0, 1.0), series, releases);
  EXPECT_EQ(releases.time_step, 0.001);
  EXPECT_EQ(releases.hold_count, 1000);
  EXPECT_EQ(lengths_of(releases), (std::vector<int>{2000}));
}

TEST(release_extraction, no_trigger_at_all) {
  CcSeries series;
  pulse_series(series, 100, 1000, 10, 1);
  ReleaseSet releases;
  extract_releases(settings_with(1000.0, 1.0, 1.0), series, releases);
  EXPECT_EQ(releases.release_count, -1);
  EXPECT_EQ(releases.segment_0_length, 100);
}

TEST(release_durations, minimum_maximum_and_mean) {
  // Pulses of 2, 4 and 3 samples at 10 Hz: 0.2, 0.4 and 0.3 s.
  CcSeries series;
  pulse_series(series, 40, 0, 10, 0);
  for (int i : {0, 1, 10, 11, 12, 13, 20, 21, 22, 30}) series.trigger[i] = 2.5;  // the level counts as on
  ReleaseSet releases;
  extract_releases(settings_with(10.0, 1.0, 0.5), series, releases);
  ASSERT_EQ(releases.release_count, 3);
  measure_release_durations(series, releases);
  EXPECT_EQ(releases.duration_min, 2 * 0.1);
  EXPECT_EQ(releases.duration_max, 4 * 0.1);
  EXPECT_EQ(releases.duration_mean, (2 * 0.1 + 4 * 0.1 + 3 * 0.1) / 3);
}
