#include "ldastat/distributions/wind_speed.h"

// Stub: filled by the distributions work.
void wind_speed_distribution(const SeriesBuffers&, const RunSettings&, const MeasurementInfo&,
                             float, int) {}
