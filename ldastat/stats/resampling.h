// Mean data rate and sample-and-hold resampling onto an equidistant grid.
#pragma once

#include "ldastat/input/series_buffers.h"

struct DataRate {
  float data_rate;  // Hz, a whole number (compute_data_rate)
  float time_step;  // s, 1 / data_rate as float: the grid spacing
};

// Derives data_rate and time_step from the arrival times and prints the two
// console lines. Returns false (after a console line saying why) when the
// series has no usable rate: fewer than 2 samples, a zero time span, or a
// rate below 1 Hz; the series loop then skips the series.
bool compute_data_rate(const SeriesBuffers& buffers, DataRate& rate);

// Fills resampled channels 0 to 3 and resampled_count by the walk.
void resample_series(SeriesBuffers& buffers, const DataRate& rate);
