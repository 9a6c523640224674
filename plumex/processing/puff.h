// Puff evaluation of the releases: offset correction, block averaging,
// detection by dosage, and the puff result file.
//
// Runs after extract_releases, check_releases and measure_release_durations:
// R is at least 1 and every release holds at least one block.
#pragma once

#include <memory>

#include "plumex/processing/releases.h"
#include "plumex/run/cc_description.h"
#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"

// The corrected concentration c_corr = c_eff - common offset is formed per
// sample as the blocks are summed, not stored.
struct PuffEvaluation {
  std::unique_ptr<double[]> offset;      // mean c_eff over each release's offset window, ppmv
  double common_offset = 0.0;            // mean of the offsets over all releases, ppmv
  int cut_window_count = 0;              // releases shorter than their offset window
  std::unique_ptr<int[]> first_block;    // index of each release's first block in time / concentration
  std::unique_ptr<int[]> block_count;    // nb[r] = len[r] / BLCKSZ
  std::unique_ptr<double[]> time;        // T_blk, block means of T_int, s, all releases in order
  std::unique_ptr<double[]> concentration;  // c_blk, block means of c_corr, ppmv
  std::unique_ptr<double[]> dosage;      // dt * BLCKSZ * sum of c_blk over the release, ppmv s
  std::unique_ptr<int[]> quality;        // 0: detected puff (dosage >= THRHLD), 1: not detected
  int detected_count = 0;
};

// The offset window of a release is its first m samples, m the smallest
// m >= 1 with m * dt > T_OFFS; a window longer than the release is cut at
// its end (one console line says how many were cut). Prints the common
// offset.
void correct_release_offset(const CcSettings& settings, const CcSeries& series, const ReleaseSet& releases,
                            PuffEvaluation& puffs);

// Block means of T_int and c_corr for every complete block of every release.
void average_release_blocks(const CcSettings& settings, const CcSeries& series, const ReleaseSet& releases,
                            PuffEvaluation& puffs);

// Dosage over all blocks of each release, the quality flags, and the count
// line.
void detect_puffs(const CcSettings& settings, const ReleaseSet& releases, PuffEvaluation& puffs);

// The puff result file: header, one zone per release numbered from 0 with
// its quality flag, and rows (T*, C*, flag) for the blocks at or after T_NDLE.
void write_puff_result(CcSettings& settings, const CcDescription& description, const CcSeries& series,
                       const ReleaseSet& releases, const PuffEvaluation& puffs);
