#include "ldastat/distributions/wind_direction.h"

// Stub: filled by the distributions work.
struct DirectionWork {
  int unused;
};
DirectionWork* allocate_direction_work() { return new DirectionWork{}; }
void wind_direction_distribution(DirectionWork&, const SeriesBuffers&, const RunSettings&,
                                 const MeasurementInfo&, float) {}
