// Frequency distributions of the normalised wind-speed components.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

// Writes the "FLUC_speed" file of the current series.
void wind_speed_distribution(const SeriesBuffers& buffers, const RunSettings& settings,
                             const MeasurementInfo& info, float u_prandtl, int series_counter);
