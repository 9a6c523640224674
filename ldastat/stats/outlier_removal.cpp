#include "ldastat/stats/outlier_removal.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "ldastat/stats/result_file.h"

static constexpr double band_sigmas = 4.0;  // half-width of the band, standard deviations

// The open interval (lower, upper) of one component. A component without a
// spread (zero deviation, or fewer than two samples) has no band at all:
// every value counts as inside.
struct ComponentBand {
  bool has_band;
  double lower;
  double upper;
};

// Mean and deviation (divisor n - 1) in double precision over all n samples.
static ComponentBand component_band(const double* x, int n) {
  ComponentBand band{};
  if (n < 2) return band;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += x[i];
  double mean = sum / n;
  double squares = 0.0;
  for (int i = 0; i < n; ++i) squares += (x[i] - mean) * (x[i] - mean);
  double deviation = std::sqrt(std::fabs(squares / (n - 1)));
  band.has_band = deviation > 0.0;
  band.lower = mean - band_sigmas * deviation;
  band.upper = mean + band_sigmas * deviation;
  return band;
}

// Strict on both sides: a value on an edge is outside.
static bool is_inside(const ComponentBand& band, double value) {
  return !band.has_band || (band.lower < value && value < band.upper);
}

static double percent_of(int count, int n) { return n > 0 ? 100.0 * count / n : 0.0; }

static void write_outlier_free_file(const SeriesBuffers& buffers, const MeasurementInfo& info) {
  char stem[result_path_capacity];
  long_name_stem(info, stem, sizeof stem);
  char name[result_path_capacity];
  format_name(name, sizeof name, "%s_%s_ORVA.out_del", stem, buffers.series_nbr);
  ResultFile file = open_result_file("OUTLIERS_deleted", name, ResultFileMode::replace);
  std::fprintf(file.handle, "Variables = \"i [-]\" \"AT [ms]\" \"TT [us]\" \"%s [m/s]\" \"%s [m/s]\"\n",
               info.component_1, info.component_2);
  for (int i = 0; i < buffers.raw_count[0]; ++i)
    std::fprintf(file.handle, "%i   %6.3lf   %2.1lf     %4.3lf   %4.3lf\n", i + 1,
                 buffers.raw[0][i] * 1000.0, buffers.raw[1][i] * 1000000.0, buffers.raw[2][i],
                 buffers.raw[3][i]);
  close_result_file(file);
}

void remove_outliers(SeriesBuffers& buffers, const RunSettings& settings,
                     const MeasurementInfo& info) {
  int n = buffers.raw_count[0];
  ComponentBand band_1 = component_band(buffers.raw[2], n);
  ComponentBand band_2 = component_band(buffers.raw[3], n);

  // One pass against the bands of the whole series; no second pass.
  int count_1 = 0;
  int count_2 = 0;
  for (int i = 0; i < n; ++i) {
    bool is_outside_1 = !is_inside(band_1, buffers.raw[2][i]);
    bool is_outside_2 = !is_inside(band_2, buffers.raw[3][i]);
    if (is_outside_1) ++count_1;
    if (is_outside_2) ++count_2;
    buffers.outlier_flag[i] = is_outside_1 || is_outside_2 ? 1 : 0;
  }
  std::printf(" outliers (%3.1lf-sigma):\n", band_sigmas);
  std::printf("          in 1st component: %i  (%4.3lf %%)\n", count_1, percent_of(count_1, n));
  std::printf("          in 2nd component: %i  (%4.3lf %%)\n", count_2, percent_of(count_2, n));

  // Compaction through scratch; behind the kept samples every raw channel
  // holds zeros.
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    if (buffers.outlier_flag[i] != 0) continue;
    for (int channel = 0; channel < read_channels; ++channel)
      buffers.scratch[channel][kept] = buffers.raw[channel][i];
    ++kept;
  }
  std::memset(buffers.raw, 0, sizeof buffers.raw);
  for (int channel = 0; channel < read_channels; ++channel)
    std::memcpy(buffers.raw[channel], buffers.scratch[channel], sizeof(double) * kept);
  buffers.raw_count[0] = kept;

  if (is_on(settings.o_osub)) write_outlier_free_file(buffers, info);
}
