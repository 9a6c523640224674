// The PLUMEX result file: source strength, normalised reproducibility, the
// one opener of the file, and the header block of its plume and puff
// variants.
//
// The file is opened only through open_result_file and closed through
// close_result_file (or by the destructor of CcResultFile on any other
// path). Every double written into it goes through finite_or_marker, so
// that a division by a zero reference length, source strength or release
// volume writes the marker 999.99 instead of "inf" or "nan".
#pragma once

#include <cstdio>

#include "plumex/run/cc_description.h"
#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"

enum class ResultKind { plume, puff };

// l/h to m^3/s: 1 / 3600000.
constexpr double litre_per_hour = 2.7777777777777776e-07;
// Written in place of a non-finite number.
constexpr double non_finite_marker = 999.99;

// The values only the puff header shows (Part of the puff writer).
struct PuffSummary {
  double release_duration;  // T_rel, mean release duration, s
  int release_count;        // R
  int detected_count;       // releases whose dosage reached THRHLD
};

// Q in m^3/s: the calibrated source flow, corrected from 273.15 K and
// 101325 Pa to the tunnel air (PRESS_ in hPa).
double source_strength(const CcSettings& settings, const CcDescription& description, const CcSeries& series);

// Rewrites REPRO_ unless it is exactly repro_not_given: plume L^2 (REPRO_
// U_ref) / Q / 1e6, puff L^3 REPRO_ / V / 1e6 (`volume` V, puff only).
void normalise_reproducibility(CcSettings& settings, ResultKind kind, double reference_velocity,
                               double strength, double volume);

// One console line for each normalisation that cannot give finite values:
// no reference length (REFLTH 0), a source strength of 0 and, for puffs, a
// release volume of 0 (`volume` is ignored for plumes).
void print_normalisation_warnings(const CcSettings& settings, ResultKind kind, double strength, double volume);

// `value` when it is finite, non_finite_marker otherwise.
double finite_or_marker(double value);

// `value` as "%.2lf" prints it, rounded half to even on its exact binary
// value, written at `out` without a terminating zero; returns the end.
// `out` needs room for fixed_2_capacity characters (the longest double).
constexpr int fixed_2_capacity = 330;
char* format_fixed_2(char* out, double value);


constexpr int result_path_capacity = 6000;

struct CcResultFile {
  std::FILE* handle = nullptr;
  char path[result_path_capacity] = {};

  CcResultFile() = default;
  CcResultFile(const CcResultFile&) = delete;
  CcResultFile& operator=(const CcResultFile&) = delete;
  ~CcResultFile();
};

// "TS<sep>SOURCE_WD####_P###_Z#####_NUMBER_nd.dts": the fields WD, P and Z
// get leading zeros up to 4, 3 and 5 digits when they are in range and are
// printed unchanged otherwise. Ends the run (status 1) when the source name
// or NUMBER contains "/" or "\\" or is "..", so that the file stays in TS.
void format_result_path(char* out, const CcSettings& settings, const CcDescription& description);

// Creates the directory "TS" (an existing one is fine), builds the path and
// opens the file for writing, replacing an earlier one. A file that cannot
// be created ends the run (status 1).
void open_result_file(CcResultFile& file, const CcSettings& settings, const CcDescription& description);

// Checks for write errors and closes the file; a failure removes the partial
// file and ends the run (status 1).
void close_result_file(CcResultFile& file);

// The header block up to and including the "VARIABLES =" line of `kind`;
// `puff` is read only for ResultKind::puff. REPRO_ is already normalised.
void write_header(CcResultFile& file, ResultKind kind, const CcSettings& settings, const CcDescription& description,
                  const CcSeries& series, double strength, const PuffSummary* puff);

// The data rows, written exactly as "%5.2lf   %5.2lf\n" (plume) and
// "%5.2lf   %5.2lf    %i\n" (puff) would write them, with each number
// through finite_or_marker. They are formatted here rather than by fprintf:
// a long series has hundreds of thousands of rows, and fprintf of a double
// costs more than reading it did.
void write_plume_row(CcResultFile& file, double time, double concentration);
void write_puff_row(CcResultFile& file, double time, double concentration, int quality);
