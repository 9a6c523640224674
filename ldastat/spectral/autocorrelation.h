// Autocorrelation of the resampled first component and the integral scales.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

constexpr int correlation_capacity = 3000000;  // lags 0 ... 2,999,999 (plus the sentinel at -1)

struct AutocorrelationResult {
  float* correlation;  // R[k] for k = -1 ... correlation_capacity - 1 (R[-1] = 2.0 sentinel)
  int lag_count;       // lags evaluated in this series so far
  int end_lag;         // k_end: first lag no longer part of the function
  int last_kept_lag;   // k_end - 1
  float lag_step;      // s, the resampling interval
  bool is_defined;     // false for a first component of zero variance
  float Tux;           // s, integral time scale (NaN when undefined)
  float Lux;           // m, integral length scale, model scale (NaN when undefined)
};

// Allocates the result record with its correlation table, once per run.
AutocorrelationResult* allocate_autocorrelation_result();

// Computes the correlation table of resampled channel 2 and, with o_auto on,
// appends the rows of the "AUTOCORR" file of the series.
void autocorrelation(const SeriesBuffers& buffers, float time_step, const RunSettings& settings,
                     const MeasurementInfo& info, AutocorrelationResult& result);

// Computes Tux and Lux = |u_mean| * Tux and prints their console lines.
void integral_scales(AutocorrelationResult& result, float u_mean);
