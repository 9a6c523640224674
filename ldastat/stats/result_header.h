// The header block of the LDASTAT result files.
#pragma once

#include <cstdio>

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

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
  bool is_short_form;           // statistics file
  bool type_with_principle;     // measurement-type line carries the principle
  int column_count;             // "[number of columns]" value
  const char* labels_line;      // complete labels line, at most one %s (component_2)
  int trailing_blank_count;     // "# " lines after the confidence line
};

const ResultHeader& result_header_of(ResultKind kind);

// Writes the header block of `header` for the current series. Does not
// open, flush or close the file.
void write_result_header(std::FILE* file, const ResultHeader& header, const RunSettings& settings,
                         const MeasurementInfo& info, const SeriesBuffers& buffers,
                         float u_prandtl);
