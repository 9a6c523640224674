// The statistics file ("STAT"): one row per series, appended.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "ldastat/stats/moments.h"
#include "ldastat/stats/resampling.h"

// Appends the row of the current series. With is_first_of_run (the first
// series of this run that is actually processed) the short header block,
// the label block and the zone line come first. `lux` is NaN when the
// integral length scale is undefined.
void write_stat_row(const SeriesBuffers& buffers, const RunSettings& settings,
                    const MeasurementInfo& info, int series_counter, bool is_first_of_run,
                    float u_prandtl, const DataRate& rate, const MomentStatistics& moments,
                    float lux);
