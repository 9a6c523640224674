// Moment statistics of the two velocity components.
#pragma once

#include "ldastat/input/series_buffers.h"

// Index 0: first component (raw channel 2), index 1: second (raw channel 3).
// Every value is a 32-bit float. A value that is 0/0 (skewness and flatness
// of a constant component) is stored as NaN and means "undefined": the
// writers put the marker 999.999 where they would show it.
struct MomentStatistics {
  float mean[2];        // m/s
  float rms[2];         // m/s, divisor n
  float skewness[2];    // -
  float flatness[2];    // -, no 3 subtracted
  float confidence[2];  // m/s, half-width at conf_i; 0 for an untabulated level
  float covariance;     // m^2/s^2, divisor n
};

// Fills `moments` from raw channels 2 and 3 (n = raw_count[0] >= 1) with
// 32-bit running sums rounded after every addition.
void compute_moments(const SeriesBuffers& buffers, double conf_i, MomentStatistics& moments);
