#include "ldastat/stats/result_header.h"

// Stub: filled by the result-files work.
const ResultHeader& result_header_of(ResultKind) {
  static const ResultHeader none{"", false, false, 0, "", 0};
  return none;
}
void write_result_header(std::FILE*, const ResultHeader&, const RunSettings&,
                         const MeasurementInfo&, const SeriesBuffers&, float) {}
