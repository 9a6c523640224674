#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "plumex/processing/puff.h"
#include "plumex/processing/releases.h"

namespace {

struct PuffCase {
  CcSettings settings;
  CcSeries series;
  ReleaseSet releases;
  PuffEvaluation puffs;
};

// Releases of the given lengths one after the other from sample 0, a
// trigger sample ending the last one; c_eff of sample k of a release is
// `base` + k unless changed afterwards.
void set_up(PuffCase& c, double sample, const std::vector<int>& lengths, double base) {
  set_default_cc_settings(c.settings);
  c.settings.SAMPLE = sample;
  int count = 1;
  for (int length : lengths) count += length;
  c.series.count = count;
  c.series.trigger = std::make_unique<double[]>(count);
  c.series.effective = std::make_unique<double[]>(count);
  c.settings.T_OPEN = 0.0;  // every high sample opens a release
  int start = 0;
  for (int length : lengths) {
    c.series.trigger[start] = 5.0;
    for (int k = 0; k < length; ++k) c.series.effective[start + k] = base + k;
    start += length;
  }
  c.series.trigger[start] = 5.0;
}

void run_to_offsets(PuffCase& c) {
  extract_releases(c.settings, c.series, c.releases);
  correct_release_offset(c.settings, c.series, c.releases, c.puffs);
}

}  // namespace

TEST(release_offset, window_of_the_smallest_m_with_m_dt_beyond_t_offs) {
  // dt 0.001 s, T_OFFS 0.2 s: 201 samples, c_eff = k, mean 100.0.
  static PuffCase c;
  set_up(c, 1000.0, {2000}, 0.0);
  run_to_offsets(c);
  EXPECT_EQ(c.puffs.offset[0], 100.0);
  EXPECT_EQ(c.puffs.cut_window_count, 0);
}

TEST(release_offset, zero_window_takes_one_sample) {
  static PuffCase c;
  set_up(c, 1000.0, {2000}, 7.0);
  c.settings.T_OFFS = 0.0;
  run_to_offsets(c);
  EXPECT_EQ(c.puffs.offset[0], 7.0);
}

TEST(release_offset, window_longer_than_the_release_is_cut_at_its_end) {
  // 50 samples, window 201: the mean of c_eff = 7 ... 56 is 31.5.
  static PuffCase c;
  set_up(c, 1000.0, {50, 300}, 7.0);
  run_to_offsets(c);
  EXPECT_EQ(c.puffs.offset[0], 31.5);
  EXPECT_EQ(c.puffs.offset[1], 107.0);
  EXPECT_EQ(c.puffs.cut_window_count, 1);
}

TEST(release_offset, common_offset_is_subtracted_from_all_releases) {
  // Offsets 10.0 and 14.0 give 12.0.
  static PuffCase c;
  set_up(c, 1000.0, {300, 300}, 0.0);
  for (int i = 0; i < 300; ++i) c.series.effective[i] = 10.0;
  for (int i = 300; i < 600; ++i) c.series.effective[i] = 14.0;
  c.series.effective[550] = 20.0;  // after the window: no part of the offset
  c.settings.BLCKSZ = 100;
  run_to_offsets(c);
  EXPECT_EQ(c.puffs.common_offset, 12.0);
  average_release_blocks(c.settings, c.series, c.releases, c.puffs);
  EXPECT_EQ(c.puffs.concentration[0], -2.0);  // release 0, block 0
  EXPECT_EQ(c.puffs.concentration[2], -2.0);
  EXPECT_EQ(c.puffs.concentration[3], 2.0);   // release 1, block 0
  EXPECT_EQ(c.puffs.concentration[5], 2.06);  // (99 * 2 + 8) / 100
}

TEST(release_blocks, complete_blocks_only) {
  struct Case {
    int block_size;
    int blocks;
  };
  const Case cases[] = {{10, 200}, {30, 66}, {2000, 1}};
  for (const Case& bc : cases) {
    SCOPED_TRACE(bc.block_size);
    static PuffCase c;
    set_up(c, 1000.0, {2000}, 0.0);
    c.settings.BLCKSZ = bc.block_size;
    run_to_offsets(c);
    average_release_blocks(c.settings, c.series, c.releases, c.puffs);
    EXPECT_EQ(c.puffs.block_count[0], bc.blocks);
  }
}

TEST(release_blocks, release_time_is_a_running_sum_restarting_at_triggers) {
  // Two releases of 2000 samples at 1 ms, blocks of 100: T_int runs on by
  // additions of 0.001 from 0 in each release.
  static PuffCase c;
  set_up(c, 1000.0, {2000, 2000}, 0.0);
  c.settings.BLCKSZ = 100;
  run_to_offsets(c);
  average_release_blocks(c.settings, c.series, c.releases, c.puffs);
  EXPECT_EQ(c.puffs.time[0], 0.049500000000000016);
  EXPECT_EQ(c.puffs.time[1], 0.1495000000000001);
  EXPECT_EQ(c.puffs.time[20], 0.049500000000000016);  // release 1, block 0
}

TEST(release_blocks, block_means_of_release_time_and_corrected_concentration) {
  // 10 Hz, blocks of 4: c_eff = k, window T_OFFS 0.2 s = 3 samples (mean 1.0).
  static PuffCase c;
  set_up(c, 10.0, {9}, 0.0);
  c.settings.BLCKSZ = 4;
  run_to_offsets(c);
  average_release_blocks(c.settings, c.series, c.releases, c.puffs);
  ASSERT_EQ(c.puffs.block_count[0], 2);
  EXPECT_EQ(c.puffs.concentration[0], (-1.0 + 0.0 + 1.0 + 2.0) / 4);
  EXPECT_EQ(c.puffs.concentration[1], (3.0 + 4.0 + 5.0 + 6.0) / 4);
  EXPECT_EQ(c.puffs.time[0], (0.0 + 0.1 + (0.1 + 0.1) + (0.1 + 0.1 + 0.1)) / 4);
}

TEST(puff_detection, dosage_reaching_the_threshold_is_detected) {
  // SAMPLE 20, BLCKSZ 10: dt_blk 0.5 s. Release 0: block means of c_corr
  // summing to 100.0, a dosage of exactly 50.0; release 1: 99.0.
  for (double threshold : {50.0, 50.000001}) {
    SCOPED_TRACE(threshold);
    static PuffCase c;
    set_up(c, 20.0, {40, 40}, 0.0);
    for (int i = 0; i < 80; ++i) c.series.effective[i] = 0.0;
    for (int i = 10; i < 20; ++i) c.series.effective[i] = 100.0;
    for (int i = 50; i < 60; ++i) c.series.effective[i] = 99.0;
    c.settings.THRHLD = threshold;
    run_to_offsets(c);
    average_release_blocks(c.settings, c.series, c.releases, c.puffs);
    detect_puffs(c.settings, c.releases, c.puffs);
    EXPECT_EQ(c.puffs.dosage[0], 50.0);
    EXPECT_EQ(c.puffs.dosage[1], 49.5);
    EXPECT_EQ(c.puffs.quality[0], threshold == 50.0 ? 0 : 1);
    EXPECT_EQ(c.puffs.quality[1], 1);
    EXPECT_EQ(c.puffs.detected_count, threshold == 50.0 ? 1 : 0);
  }
}
