#include "plumex/processing/plume.h"

#include <cassert>
#include <cmath>
#include <cstdio>

#include "plumex/processing/result_file.h"

void average_plume_blocks(const CcSettings& settings, const CcSeries& series, PlumeBlocks& blocks) {
  int size = settings.BLCKSZ;
  assert(size >= 1);
  blocks.block_count = series.count / size;
  blocks.time = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(blocks.block_count));
  blocks.concentration = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(blocks.block_count));
  for (int b = 0; b < blocks.block_count; ++b) {
    double time_sum = 0.0;
    double concentration_sum = 0.0;
    for (int i = b * size; i < (b + 1) * size; ++i) {
      time_sum += series.time[i];
      concentration_sum += series.effective[i] - settings.P_OFFS;
    }
    blocks.time[b] = time_sum / size;
    blocks.concentration[b] = concentration_sum / size;
  }
}

void write_plume_result(CcSettings& settings, const CcDescription& description, const CcSeries& series,
                        const PlumeBlocks& blocks) {
  double strength = source_strength(settings, description, series);
  normalise_reproducibility(settings, ResultKind::plume, series.reference_velocity, strength, 0.0);
  print_normalisation_warnings(settings, ResultKind::plume, strength, 0.0);
  CcResultFile file;
  open_result_file(file, settings, description);
  write_header(file, ResultKind::plume, settings, description, series, strength, nullptr);

  double length = settings.REFLTH;
  double length_squared = std::pow(length, 2.0);
  double reference_velocity = series.reference_velocity;
  std::fprintf(file.handle, "ZONE T=\"plume-release\"\n");
  for (int b = 0; b < blocks.block_count; ++b) {
    if (!(blocks.time[b] >= settings.T_NDLE)) continue;
    double time = (blocks.time[b] - settings.T_NDLE) * reference_velocity / length;
    double concentration = length_squared * (blocks.concentration[b] * reference_velocity) / strength / 1.0e6;
    write_plume_row(file, time, concentration);
  }
  close_result_file(file);
}
