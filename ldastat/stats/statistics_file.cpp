#include "ldastat/stats/statistics_file.h"

// Stub: filled by the result-files work.
void write_stat_row(const SeriesBuffers&, const RunSettings&, const MeasurementInfo&, int, bool,
                    float, const DataRate&, const MomentStatistics&, float) {}
