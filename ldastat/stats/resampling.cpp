#include "ldastat/stats/resampling.h"

#include <cmath>
#include <cstdio>

bool compute_data_rate(const SeriesBuffers& buffers, DataRate& rate) {
  int n = buffers.raw_count[0];
  const double* arrival = buffers.raw[0];
  std::printf(" number of samples: %i\n", n);
  rate = DataRate{};
  if (n < 2) {
    std::printf(" no data rate with fewer than 2 samples: series skipped!\n");
    return false;
  }
  // Each step is rounded to a 32-bit float: the roundings decide the whole
  // number (1,000 samples over 1 s give 999 Hz, not 1000 Hz).
  float mean_spacing = static_cast<float>((arrival[n - 1] - arrival[0]) / n);
  float mean_rate = 1.0f / mean_spacing;
  if (!(mean_spacing > 0.0f) || std::isinf(mean_rate)) {
    std::printf(" no data rate: the arrival times span no time, series skipped!\n");
    return false;
  }
  rate.data_rate = std::floor(mean_rate);
  std::printf(" mean data rate: %5.0lf Hz\n", static_cast<double>(rate.data_rate));
  if (rate.data_rate < 1.0f) {
    std::printf(" no data rate: fewer than one sample per second, series skipped!\n");
    rate = DataRate{};
    return false;
  }
  rate.time_step = 1.0f / rate.data_rate;
  return true;
}

// Slot k of the grid holds the values of raw sample i (channels 1 to 3).
static void hold_sample(SeriesBuffers& buffers, int k, int i) {
  for (int channel = 1; channel < read_channels; ++channel)
    buffers.resampled[channel][k] = buffers.raw[channel][i];
}

void resample_series(SeriesBuffers& buffers, const DataRate& rate) {
  int n = buffers.raw_count[0];
  const double* arrival = buffers.raw[0];
  double* grid = buffers.resampled[0];
  double time_step = rate.time_step;
  // Only arrival times that run backwards (outside the data model) could
  // push the grid further than n + 1; the walk then stops at the capacity.
  const int last_slot = resampled_capacity - 1;
  int j = 0;
  int k = 0;
  do {
    grid[k] = arrival[0] + k * time_step;
    if (grid[k] == arrival[j]) {
      hold_sample(buffers, k, j);
      ++k;
      ++j;
    } else if (grid[k] > arrival[j]) {
      // The slot is looked at again in the next round.
      do {
        hold_sample(buffers, k, j);
        ++j;
      } while (j < n && arrival[j] < grid[k]);
    } else {
      do {
        hold_sample(buffers, k, j - 1);
        ++k;
        grid[k] = arrival[0] + k * time_step;
      } while (grid[k] < arrival[j] && k < last_slot);
      ++j;
    }
  } while (j < n && k < last_slot);
  buffers.resampled_count = k;
}
