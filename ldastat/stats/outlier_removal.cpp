#include "ldastat/stats/outlier_removal.h"

// Stub: filled by the computations work.
void remove_outliers(SeriesBuffers&, const RunSettings&, const MeasurementInfo&) {}
