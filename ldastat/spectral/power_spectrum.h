// Segment-averaged power spectrum of the resampled first component.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "ldastat/stats/moments.h"
#include "ldastat/stats/resampling.h"

struct SpectrumWork;  // work arrays of the transform, allocated once per run

SpectrumWork* allocate_spectrum_work();

// Writes the "SPEC" file of the current series. `lux` is NaN when undefined.
void power_spectrum(SpectrumWork& work, const SeriesBuffers& buffers, const RunSettings& settings,
                    const MeasurementInfo& info, float u_prandtl, const DataRate& rate,
                    const MomentStatistics& moments, float lux);
