// Removal of samples outside the four-sigma band of either component.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

// Removes every sample whose first or second component lies outside (or on
// the edge of) mean +- 4 standard deviations, compacts channels 0 to 3,
// lowers raw_count[0], prints the three outlier lines and, with o_osub on,
// writes the "OUTLIERS_deleted" file. A component with zero deviation has
// no outliers.
void remove_outliers(SeriesBuffers& buffers, const RunSettings& settings,
                     const MeasurementInfo& info);
