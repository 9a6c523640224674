// CcSeries: the six-column concentration series of the run.
//
// Every line part of the input file (see series_scanner.h) is one sample,
// an empty line too; columns a line does not give hold 0.0. The columns are
// allocated once, after the lines have been counted, with exactly `count`
// values each: a series of any length is held in full. Only what the
// evaluations use is kept: columns 2 (u_P) and 6 (q_S) enter their means,
// columns 3 (c_b) and 4 (c) the effective concentration c - c_b, formed as
// each line is read.
#pragma once

#include <cstdio>
#include <memory>

#include "plumex/run/cc_settings.h"

struct CcSeries {
  int count = 0;                                 // n, samples (read_series)
  std::unique_ptr<double[]> time;                // column 1, s
  std::unique_ptr<double[]> trigger;             // column 5, release trigger, V
  std::unique_ptr<double[]> effective;           // c_eff = column 4 - column 3, ppmv
  double reference_velocity = 0.0;               // U_ref = SC_FAC * sum(u_P) / (n - 1), m/s
  double prandtl_velocity_mean = 0.0;            // U_ref / SC_FAC, m/s
  double source_flow_mean = 0.0;                 // sum(q_S) / (n - 1), V
};

// Opens INPUTF for reading and prints "Input-file %s has been opened!". A
// file that cannot be opened is reported, followed by the key wait (only on
// a terminal), and ends the run (status 1).
std::FILE* open_series(const CcSettings& settings);

// Reads all samples of `file` (opened by open_series, closed here): the
// columns, c_eff, count, U_ref, the prandtl-tube mean and q_S,mean, and
// prints the input lines. Ends the run (status 1) on a series of fewer than 2 lines (the
// means divide by n - 1), a file that cannot be read twice or fails to read.
void read_series(std::FILE* file, const CcSettings& settings, CcSeries& series);
