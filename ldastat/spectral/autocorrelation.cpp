#include "ldastat/spectral/autocorrelation.h"

// Stub: filled by the computations work.
AutocorrelationResult* allocate_autocorrelation_result() {
  static AutocorrelationResult result{};
  return &result;
}
void autocorrelation(const SeriesBuffers&, float, const RunSettings&, const MeasurementInfo&,
                     AutocorrelationResult&) {}
void integral_scales(AutocorrelationResult&, float) {}
