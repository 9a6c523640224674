// The loop over the series of a measurement.
#pragma once

#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

// Processes the series ts_stn ... ts_stn + ts_nbr - 1 (at least one).
void run_series_loop(const RunSettings& settings, MeasurementInfo& info);
