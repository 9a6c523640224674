// The time-series file ("TS") and the resampled time-series file ("TS_resamp").
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

// Writes the normalised outlier-cleaned series with the full header block.
void write_series_file(const SeriesBuffers& buffers, const RunSettings& settings,
                       const MeasurementInfo& info, float u_prandtl);

// Writes the resampled series in physical units (no header block).
void write_resampled_file(const SeriesBuffers& buffers, const MeasurementInfo& info);
