// Autocorrelation of the resampled first component and the integral scales.
#pragma once

#include <cstdio>

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
  bool is_defined;     // false for a first component of zero variance (see autocorrelation)
  float Tux;           // s, integral time scale (NaN when undefined)
  float Lux;           // m, integral length scale, model scale (NaN when undefined)
  float* leading_sums; // work: float running sums of the leading samples, resampled_capacity + 1
};

// Allocates the result record with its correlation table, once per run.
AutocorrelationResult* allocate_autocorrelation_result();

// Computes the correlation table of resampled channel 2 and, with o_auto on,
// appends the rows of the "AUTOCORR" file of the series. The correlation is
// left undefined (is_defined false, a console line says why) when the
// component does not vary, when the leading or lagged part of a lag has no
// spread, or when the fitted exponential tail does not decay. The tail ends
// at the table capacity at the latest.
void autocorrelation(const SeriesBuffers& buffers, float time_step, const RunSettings& settings,
                     const MeasurementInfo& info, AutocorrelationResult& result);

// Writes the row of lag k into the open "AUTOCORR" file: the column line
// first when lag_count is 0, then "k  k * lag_step  R[k]" when R[k] is at
// least 0.001, or with the marker 999.999 when R[k] is undefined (NaN).
void append_autocorr_row(std::FILE* file, const AutocorrelationResult& result,
                         const char* component_1, int k);

// Computes Tux and Lux = |u_mean| * Tux and prints their console lines.
void integral_scales(AutocorrelationResult& result, float u_mean);
