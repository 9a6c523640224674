// Plume evaluation: the whole series is one continuous release.
#pragma once

#include <memory>

#include "plumex/run/cc_description.h"
#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"

// The block means of the series. Blocks are the complete runs of BLCKSZ
// samples from the start (n / BLCKSZ of them); the samples after the last
// complete block are not used. The corrected concentration c_corr = c_eff -
// P_OFFS is formed per sample as it is summed, not stored.
struct PlumeBlocks {
  int block_count = 0;                  // n / BLCKSZ
  std::unique_ptr<double[]> time;       // t_blk, block mean of column 1, s
  std::unique_ptr<double[]> concentration;  // c_blk, block mean of c_corr, ppmv
};

// Block means of the time column and of c_corr; BLCKSZ is at least 1.
void average_plume_blocks(const CcSettings& settings, const CcSeries& series, PlumeBlocks& blocks);

// The plume result file: header, the zone "plume-release" and one row
// (T*, C*) per block whose mean time is at least T_NDLE.
void write_plume_result(CcSettings& settings, const CcDescription& description, const CcSeries& series,
                        const PlumeBlocks& blocks);
