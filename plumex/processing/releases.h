// ReleaseSet: the puff series cut into releases at the trigger pulses.
//
// An accepted trigger opens a segment that runs up to the next accepted
// trigger. The samples before the first accepted trigger (segment 0) and
// the segment opened by the last one (the trailing segment) are no
// releases; the releases follow each other without a gap. Release r of the
// text (1 ... R) is index r - 1 here. All arrays are sized from the series
// once: any number of releases of any length is held in full.
//
// T_int, the time of a sample since the accepted trigger of its segment, is
// 0 at the trigger and grows by dt from sample to sample: a running sum, not
// k * dt. Only the block means of the releases use it, and
// average_release_blocks forms it as it sums them; it is not stored.
#pragma once

#include <memory>

#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"

// A trigger value at or above this level, in V, is "on".
constexpr double trigger_level = 2.5;

struct ReleaseSet {
  double time_step = 0.0;                  // dt = D_SAMP / SAMPLE, s
  int hold_count = 0;                      // H = T_OPEN * SAMPLE / D_SAMP, truncated
  int segment_0_length = 0;                // samples before the first accepted trigger
  int release_count = 0;                   // R = accepted triggers - 1 (negative without any trigger)
  std::unique_ptr<int[]> first;            // s[r], first sample of each release (index into CcSeries)
  std::unique_ptr<int[]> length;           // len[r], samples of each release
  std::unique_ptr<int[]> on_count;         // samples with trigger >= trigger_level (measure_release_durations)
  std::unique_ptr<double[]> duration;      // on_count * dt, s
  double duration_min = 0.0;               // s, starts at 1.0e8
  double duration_max = 0.0;               // s, starts at 0.0
  double duration_mean = 0.0;              // T_rel, s
};

// Finds the accepted triggers (level test with the hold counter H), fills
// the releases and R, and prints the release count.
void extract_releases(const CcSettings& settings, const CcSeries& series, ReleaseSet& releases);

// Ends the run (status 1) when there is no complete release (fewer than two
// accepted triggers) or a release is shorter than one block of BLCKSZ
// samples; BLCKSZ is at least 1.
void check_releases(const CcSettings& settings, const ReleaseSet& releases);

// Counts the "on" samples of every release, sets the durations, their
// minimum, maximum and mean T_rel, and prints them. R is at least 1.
void measure_release_durations(const CcSeries& series, ReleaseSet& releases);
