#include "ldastat/input/series_file.h"

// Stub: filled by the series-input work.
void select_series_file(SeriesBuffers&, const RunSettings&, int) {}
bool series_file_opens(const char*) { return false; }
void read_series_file(SeriesBuffers&) {}
