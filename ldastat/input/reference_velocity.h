// The reference velocity file "%s_wtref.txt".
#pragma once

#include "ldastat/run/run_settings.h"

// Returns u_prandtl (rounded to float, m/s) of series ts_stn + series_counter:
// the fourth item of data row k (line k + 1), 0.0 for a row the file lacks
// or cannot give. Prints the prandtl-tube and reference velocity lines. Ends
// the run with status 4 when the file cannot be opened.
float read_reference_velocity(const RunSettings& settings, int series_counter);
