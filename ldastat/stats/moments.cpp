#include "ldastat/stats/moments.h"

// Stub: filled by the computations work.
void compute_moments(const SeriesBuffers&, double, MomentStatistics&) {}
