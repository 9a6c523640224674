// Choosing and reading the binary LDA series file of a series.
#pragma once

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/run_settings.h"

// Sets series_file and series_nbr for series ts_stn + series_counter: the
// first of the six-, five-, four- and three-digit names that opens, else the
// two-digit name untested. A series number outside 1 to 45 ends the run
// with status 6.
void select_series_file(SeriesBuffers& buffers, const RunSettings& settings, int series_counter);

// True when the named file can be opened for reading in binary mode.
bool series_file_opens(const char* name);

// Reads header and the first four channel blocks of series_file into the
// buffers (which must be cleared). Ends the run with status 2 on a file that
// cannot be opened or breaks its own format, and with status 3 on unequal
// channel counts.
void read_series_file(SeriesBuffers& buffers);
