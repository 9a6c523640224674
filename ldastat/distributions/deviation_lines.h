// The per-sample console lines of the wind-direction distribution.
#pragma once

#include <cstdio>

// Writes " delta: %3.2lf\n" for every value, byte for byte what fprintf
// writes, but formatted in blocks: a series can hold 1,500,000 samples.
void write_deviation_lines(std::FILE* out, const double* deviation, int count);
