// The header block of the LDASTAT result files.
//
// Every file kind that carries a header names its ResultHeader; the block
// itself is written by write_result_header alone. Full form: 91 lines (one
// less when the component pair has no confidence line, and one less for the
// wind-direction kind, whose filler after the confidence line is 9 lines).
// Short form (statistics file): 31 lines.
#pragma once

#include <cstdio>

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "ldastat/stats/result_file.h"

enum class ResultKind {
  time_series,
  statistics,
  power_spectrum,
  speed_fluctuation,
  direction_fluctuation,
};

// What differs between the header blocks of the file kinds.
struct ResultHeader {
  const char* title_line;       // complete first line
  bool is_short_form;           // statistics file: the fields below do not apply
  bool type_with_principle;     // measurement-type line carries the principle
  int column_count;             // "[number of columns]" value
  const char* labels_line;      // complete labels line; a "%s" in it stands for component_2
  int trailing_blank_count;     // "# " lines after the confidence line
};

const ResultHeader& result_header_of(ResultKind kind);

// Creates "directory/<name base>_<series_nbr><ending>" (the name base chosen
// by rfn_op) and writes the header block of `kind` into it.
ResultFile open_series_result_file(const char* directory, const char* ending, ResultKind kind,
                                   const RunSettings& settings, const MeasurementInfo& info,
                                   const SeriesBuffers& buffers, float u_prandtl);

// The reference velocity Uref of the current series: u_prandtl * sc_fac,
// rounded to a 32-bit float.
inline float reference_velocity(float u_prandtl, const RunSettings& settings) {
  return u_prandtl * settings.sc_fac;
}

// Writes the header block of `header` for the current series. Does not
// open, flush or close the file.
void write_result_header(std::FILE* file, const ResultHeader& header, const RunSettings& settings,
                         const MeasurementInfo& info, const SeriesBuffers& buffers,
                         float u_prandtl);
