#include "ldastat/distributions/wind_speed.h"

#include <cmath>
#include <cstdio>

#include "ldastat/distributions/class_location.h"
#include "ldastat/stats/result_file.h"
#include "ldastat/stats/result_header.h"

// Classes counted per pass over the samples (small enough for the stack).
constexpr int speed_class_block = 256;

// The classes of one normalised component: (lo, hi], centred on min,
// min + w, ..., max.
struct SpeedClasses {
  const double* samples;  // raw component, m/s
  bool is_defined;        // finite extrema of a usable reference velocity
  double min;
  double max;
  double width;
  double lo;  // bounds of the next class to take
  double hi;
  // The block taken: class 0 of a block that opens the run is kept apart
  // (its hi need not be lo of class 1); the others of the block, from
  // `partition_start` on, span partition[t] to partition[t + 1].
  double first_lo;
  double first_hi;
  int partition_start;
  double partition[speed_class_block + 1];
  double centre[speed_class_block];
  int count[speed_class_block];
};

// Sturges' rule on the even-rounded count; a series of fewer than two
// samples gets a single class.
static int speed_class_count(int cn_spd, int n) {
  if (cn_spd > 0) return cn_spd;
  int n_even = 2 * (n / 2);
  if (n_even < 2) return 1;
  return static_cast<int>(std::log10(static_cast<double>(n_even)) / std::log10(2.0) + 1);
}

static void find_extrema(SpeedClasses& classes, int n, float u_ref, int class_count) {
  classes.min = 100000.0;
  classes.max = -100000.0;
  for (int i = 0; i < n; ++i) {
    double value = classes.samples[i] / u_ref;
    if (value < classes.min) classes.min = value;
    if (value > classes.max) classes.max = value;
  }
  // A single class has no width: it is centred on min and, open below,
  // holds no sample, like every class of a constant component.
  classes.width =
      class_count > 1 ? (classes.max - classes.min) / (2.0 * class_count - 2.0) * 2.0 : 0.0;
  classes.is_defined = u_ref != 0.0f && std::isfinite(u_ref) && classes.min <= classes.max &&
                       std::isfinite(classes.min) && std::isfinite(classes.max) &&
                       std::isfinite(classes.width);
  classes.lo = classes.min - 0.5 * classes.width;
  classes.hi = classes.min + 0.5 * classes.width;
}

// Takes the next `block_count` classes; `opens_run` for the block holding
// class 1. From the second class on, hi of a class and lo of the next are
// the same sum (lo + w), so those classes share one bound array.
static void take_speed_classes(SpeedClasses& classes, int block_count, bool opens_run) {
  double w = classes.width;
  int t = 0;
  if (opens_run) {
    classes.first_lo = classes.lo;
    classes.first_hi = classes.hi;
    classes.centre[0] = classes.lo + 0.5 * w;
    classes.lo = classes.lo + w;
    classes.hi = classes.lo + w;
    t = 1;
  }
  classes.partition_start = t;
  classes.partition[0] = classes.lo;
  for (; t < block_count; ++t) {
    classes.centre[t] = classes.lo + 0.5 * w;
    classes.partition[t - classes.partition_start + 1] = classes.hi;
    classes.lo = classes.lo + w;
    classes.hi = classes.lo + w;
  }
}

static void count_speed_classes(SpeedClasses& classes, int n, float u_ref, int block_count,
                                bool opens_run) {
  for (int t = 0; t < block_count; ++t) classes.count[t] = 0;
  if (!classes.is_defined) return;
  int start = classes.partition_start;
  int partition_count = block_count - start;
  double inverse_width = 1.0 / classes.width;
  for (int i = 0; i < n; ++i) {
    double value = classes.samples[i] / u_ref;
    if (opens_run && classes.first_lo < value && value <= classes.first_hi) ++classes.count[0];
    if (partition_count > 0) {
      int t = locate_closed_above(classes.partition, partition_count, inverse_width, value);
      if (t >= 0) ++classes.count[start + t];
    }
  }
}

// The relative occurrence as the sum of 1/n over the samples of the class.
static double occurrence_of(int count, int n) {
  double occurrence = 0.0;
  for (int k = 0; k < count; ++k) occurrence += 1.0 / n;
  return occurrence;
}

// The centre of class t; a reference velocity of 0 (or not finite), or a
// component without finite values, gives no centre (the marker is written).
static ValueText centre_text(const SpeedClasses& classes, int t) {
  ValueText text = value_text("%5.4lf", classes.centre[t]);
  if (!classes.is_defined) std::snprintf(text.text, sizeof text.text, "%s", marker_text);
  return text;
}

static void write_speed_rows(std::FILE* file, SpeedClasses& p, SpeedClasses& q, int n, float u_ref,
                             int class_count) {
  for (int first = 0;; first += speed_class_block) {
    int remaining = class_count - first;
    int block_count = remaining < speed_class_block ? remaining : speed_class_block;
    bool opens_run = first == 0;
    take_speed_classes(p, block_count, opens_run);
    take_speed_classes(q, block_count, opens_run);
    count_speed_classes(p, n, u_ref, block_count, opens_run);
    count_speed_classes(q, n, u_ref, block_count, opens_run);
    for (int t = 0; t < block_count; ++t)
      std::fprintf(file, "%i   %s  %s   %i  %i   %5.4lf  %5.4lf\n", first + t + 1,
                   centre_text(p, t).text, centre_text(q, t).text, p.count[t], q.count[t],
                   occurrence_of(p.count[t], n), occurrence_of(q.count[t], n));
    if (remaining <= speed_class_block) return;
  }
}

void wind_speed_distribution(const SeriesBuffers& buffers, const RunSettings& settings,
                             const MeasurementInfo& info, float u_prandtl, int series_counter) {
  int n = buffers.raw_count[0];
  int class_count = speed_class_count(settings.cn_spd, n);
  float u_ref = u_prandtl * settings.sc_fac;

  static_assert(sizeof(SpeedClasses) < 16384, "two SpeedClasses live on the stack");
  SpeedClasses p{};
  SpeedClasses q{};
  p.samples = buffers.raw[2];
  q.samples = buffers.raw[3];
  find_extrema(p, n, u_ref, class_count);
  find_extrema(q, n, u_ref, class_count);

  ResultFile file = open_series_result_file("FLUC_speed", "_ORVA.hist",
                                            ResultKind::speed_fluctuation, settings, info, buffers,
                                            u_prandtl);
  const char* c1 = info.component_1;
  const char* c2 = info.component_2;
  std::fprintf(file.handle,
               "Variables = \"classnumber [-]\" \"%s/U<sub>ref</sub> [-]\" "
               "\"%s/U<sub>ref</sub> [-]\" \"occurrence %s/U<sub>ref</sub> (abs) [-]\" "
               "\"occurrence %s/U<sub>ref</sub> (abs) [-]\" "
               "\"occurrence %s/U<sub>ref</sub> (norm) [-]\" "
               "\"occurrence %s/U<sub>ref</sub> (norm) [-]\"\n",
               c1, c2, c1, c2, c1, c2);
  if (settings.rfn_op == 1) {
    std::fprintf(file.handle, "ZONE T = \"%s_%s\"\n", settings.meas_c, buffers.series_nbr);
  } else {
    char stem[result_path_capacity];
    long_zone_stem(info, stem, sizeof stem);
    std::fprintf(file.handle, "ZONE T = \"%s_%i\"\n", stem, settings.ts_stn + series_counter);
  }
  write_speed_rows(file.handle, p, q, n, u_ref, class_count);
  close_result_file(file);
}
