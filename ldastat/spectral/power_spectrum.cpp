#include "ldastat/spectral/power_spectrum.h"

// Stub: filled by the spectrum work.
struct SpectrumWork {
  int unused;
};
SpectrumWork* allocate_spectrum_work() { return new SpectrumWork{}; }
void power_spectrum(SpectrumWork&, const SeriesBuffers&, const RunSettings&,
                    const MeasurementInfo&, float, const DataRate&, const MomentStatistics&,
                    float) {}
