#include "ldastat/distributions/wind_direction.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ldastat/distributions/class_location.h"
#include "ldastat/distributions/deviation_lines.h"
#include "ldastat/run/console.h"
#include "ldastat/stats/result_file.h"
#include "ldastat/stats/result_header.h"

// 180/3.141592654: pi to ten digits, so that every direction lies below 180.
constexpr double degrees_per_radian = 57.29577950560105;
// Classes counted per pass over the samples: the default 360 classes need
// one pass; a finer division needs one pass per block.
constexpr int direction_class_block = 65536;

struct DirectionWork {
  double direction_1[max_series_samples];      // degrees, within +-179.99999998
  double deviation[max_series_samples];        // direction_1 - mean, folded into [-180, 180)
  double direction_2[max_series_samples];      // direction_1 + approach direction, in [0, 360)
  double bounds_1[direction_class_block + 1];  // class bounds of direction (I) and deviation
  double bounds_2[direction_class_block + 1];  // class bounds of direction (II)
  int count_1[direction_class_block];
  int count_deviation[direction_class_block];
  int count_2[direction_class_block];
};

DirectionWork* allocate_direction_work() {
  // calloc: the pages are only touched when used.
  return static_cast<DirectionWork*>(
      allocate_run_memory(1, sizeof(DirectionWork), "the wind-direction distribution"));
}

// One sequence of classes: lo and hi grow by repeated 64-bit addition of the
// width, and after each class the sequence goes on while hi <= end (the
// first class is always processed).
struct ClassRun {
  double lo;
  double hi;
  double end;
  bool has_next;
};

// Takes the next classes of `run`, at most `capacity`, as the bounds
// b[0..m]; returns m. lo of a class is hi of the one before it, both being
// the same sum, so one bound array describes the classes exactly.
static int take_classes(ClassRun& run, double width, double* bounds, int capacity) {
  int taken = 0;
  bounds[0] = run.lo;
  while (run.has_next && taken < capacity) {
    bounds[taken + 1] = run.hi;
    ++taken;
    run.lo += width;
    run.hi += width;
    run.has_next = run.hi <= run.end;
    assert(run.lo == bounds[taken]);
  }
  return taken;
}

static void count_in_classes(const double* values, int n, const double* bounds, int class_count,
                             double inverse_width, int* counts) {
  for (int t = 0; t < class_count; ++t) counts[t] = 0;
  if (class_count == 0) return;
  for (int i = 0; i < n; ++i) {
    int t = locate_closed_below(bounds, class_count, inverse_width, values[i]);
    if (t >= 0) ++counts[t];
  }
}

// count / n; a series without samples has none (the marker is written).
static ValueText normalised(int count, int n) {
  return value_text("%5.4lf", n > 0 ? static_cast<double>(count) / n : NAN);
}

// Rows of all classes (I); the classes (II) are counted alongside, and a
// row beyond the last class (II) that its own sequence processes gets the
// count 0 there.
static void write_direction_rows(std::FILE* file, DirectionWork& work, int n, int cn_dir) {
  double width = 360.0 / cn_dir;
  double inverse_width = 1.0 / width;
  ClassRun run_1{-180.0, -180.0 + width, 180.0, true};
  ClassRun run_2{0.0, width, 360.0, true};
  double centre_1 = width / 2 - 180.0;
  double centre_2 = width / 2;
  int j = 1;
  while (run_1.has_next) {
    int block_count = take_classes(run_1, width, work.bounds_1, direction_class_block);
    int block_count_2 = take_classes(run_2, width, work.bounds_2, block_count);
    count_in_classes(work.direction_1, n, work.bounds_1, block_count, inverse_width, work.count_1);
    count_in_classes(work.deviation, n, work.bounds_1, block_count, inverse_width,
                     work.count_deviation);
    count_in_classes(work.direction_2, n, work.bounds_2, block_count_2, inverse_width,
                     work.count_2);
    for (int t = block_count_2; t < block_count; ++t) work.count_2[t] = 0;
    for (int t = 0; t < block_count; ++t) {
      std::fprintf(file, "%i  %5.1lf  %5.1lf  %5.1lf %5.0lf  %s %5.0lf  %s %5.0lf  %s\n", j,
                   centre_1, centre_1, centre_2, static_cast<double>(work.count_1[t]),
                   normalised(work.count_1[t], n).text,
                   static_cast<double>(work.count_deviation[t]),
                   normalised(work.count_deviation[t], n).text,
                   static_cast<double>(work.count_2[t]), normalised(work.count_2[t], n).text);
      centre_1 += width;
      centre_2 += width;
      ++j;
    }
  }
}

static void write_direction_file(DirectionWork& work, int n, const SeriesBuffers& buffers,
                                 const RunSettings& settings, const MeasurementInfo& info,
                                 float u_prandtl) {
  ResultFile file = open_series_result_file("FLUC_direction", "_ORVA.fluc",
                                            ResultKind::direction_fluctuation, settings, info,
                                            buffers, u_prandtl);
  const char* c1 = info.component_1;
  const char* c2 = info.component_2;
  std::fprintf(file.handle,
               "Variables = \"classnumber[-]\" \"%s%s-wind direction (I) [\xB0]\" "
               "\"deviation in %s-direction [\xB0]\" \"%s%s-wind direction (II) [\xB0]\" "
               "\"occurrence (I) [-]\" \"occurrence normalized (I) [-]\" "
               "\"occurrence delta [-]\" \"occurrence delta normalized [-]\" "
               "\"occurrence (II)\" \"occurrence normalized (II) [-]\"\n",
               c1, c2, c2, c1, c2);
  char stem[result_path_capacity];
  result_name_base(settings, info, stem, sizeof stem);
  if (settings.rfn_op != 1) long_zone_stem(info, stem, sizeof stem);
  std::fprintf(file.handle, "ZONE T = \"%s_%s\"\n", stem, buffers.series_nbr);
  write_direction_rows(file.handle, work, n, settings.cn_dir);
  close_result_file(file);
}

void wind_direction_distribution(DirectionWork& work, const SeriesBuffers& buffers,
                                 const RunSettings& settings, const MeasurementInfo& info,
                                 float u_prandtl) {
  assert(settings.cn_dir >= 1);
  int n = buffers.raw_count[0];
  const double* a = buffers.raw[2];
  const double* b = buffers.raw[3];

  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    work.direction_1[i] = std::atan2(b[i], a[i]) * degrees_per_radian;
    sum += work.direction_1[i];
  }
  double mean = n > 0 ? sum / n : 0.0;
  std::printf(" mean winddirection: %3.2lf\n", mean);

  for (int i = 0; i < n; ++i) {
    double deviation = work.direction_1[i] - mean;
    if (deviation < -180.0) deviation += 360.0;
    if (deviation >= 180.0) deviation += -360.0;
    work.deviation[i] = deviation;
  }
  write_deviation_lines(stdout, work.deviation, n);

  double approach_direction = wind_direction_degrees(info);
  for (int i = 0; i < n; ++i) {
    double direction = approach_direction + work.direction_1[i];
    if (direction < 0.0) direction += 360.0;
    if (direction >= 360.0) direction += -360.0;
    work.direction_2[i] = direction;
  }

  write_direction_file(work, n, buffers, settings, info, u_prandtl);
}
