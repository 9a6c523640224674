#include "ldastat/stats/resampling.h"

// Stub: filled by the computations work.
bool compute_data_rate(const SeriesBuffers&, DataRate&) { return false; }
void resample_series(SeriesBuffers&, const DataRate&) {}
