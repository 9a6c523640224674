#include "ldastat/stats/time_series_files.h"

// Stub: filled by the result-files work.
void write_series_file(const SeriesBuffers&, const RunSettings&, const MeasurementInfo&, float) {}
void write_resampled_file(const SeriesBuffers&, const MeasurementInfo&) {}
