// Frequency distributions of the wind direction and its fluctuation.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

struct DirectionWork;  // per-sample arrays, allocated once per run

DirectionWork* allocate_direction_work();

// Computes the direction distributions of raw channels 2 and 3, prints the
// mean direction and the deviations, and writes the "FLUC_direction" file.
void wind_direction_distribution(DirectionWork& work, const SeriesBuffers& buffers,
                                 const RunSettings& settings, const MeasurementInfo& info,
                                 float u_prandtl);
