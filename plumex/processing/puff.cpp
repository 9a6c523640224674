#include "plumex/processing/puff.h"

#include <cmath>
#include <cstdio>

#include "plumex/processing/result_file.h"

void correct_release_offset(const CcSettings& settings, const CcSeries& series, const ReleaseSet& releases,
                            PuffEvaluation& puffs) {
  int count = releases.release_count;
  double dt = releases.time_step;
  puffs.offset = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(count));
  puffs.cut_window_count = 0;
  double offset_sum = 0.0;
  for (int r = 0; r < count; ++r) {
    const double* effective = series.effective.get() + releases.first[r];
    double sum = 0.0;
    int m = 0;
    while (true) {
      sum += effective[m];
      ++m;
      if (!(m * dt <= settings.T_OFFS)) break;
      if (m == releases.length[r]) {
        ++puffs.cut_window_count;
        break;
      }
    }
    puffs.offset[r] = sum / m;
    offset_sum += puffs.offset[r];
  }
  puffs.common_offset = offset_sum / count;
  if (puffs.cut_window_count > 0)
    std::printf(" offset window (T_OFFS %5.3lf s) longer than %i of %i releases: cut at the release end!\n\n",
                settings.T_OFFS, puffs.cut_window_count, count);
  std::printf(" offset: %5.1lf ppmv\n\n", puffs.common_offset);
}

void average_release_blocks(const CcSettings& settings, const CcSeries& series, const ReleaseSet& releases,
                            PuffEvaluation& puffs) {
  int count = releases.release_count;
  int size = settings.BLCKSZ;
  puffs.first_block = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(count));
  puffs.block_count = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(count));
  int total = 0;
  for (int r = 0; r < count; ++r) {
    puffs.first_block[r] = total;
    puffs.block_count[r] = releases.length[r] / size;
    total += puffs.block_count[r];
  }
  puffs.time = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(total));
  puffs.concentration = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(total));
  for (int r = 0; r < count; ++r) {
    double release_time = 0.0;  // T_int of sample i: 0 at the trigger, then + dt per sample
    for (int b = 0; b < puffs.block_count[r]; ++b) {
      int start = releases.first[r] + b * size;
      double time_sum = 0.0;
      double concentration_sum = 0.0;
      for (int i = start; i < start + size; ++i) {
        time_sum += release_time;
        release_time = release_time + releases.time_step;
        concentration_sum += series.effective[i] - puffs.common_offset;
      }
      puffs.time[puffs.first_block[r] + b] = time_sum / size;
      puffs.concentration[puffs.first_block[r] + b] = concentration_sum / size;
    }
  }
  std::printf(" releases block-averaged!\n\n");
}

void detect_puffs(const CcSettings& settings, const ReleaseSet& releases, PuffEvaluation& puffs) {
  int count = releases.release_count;
  double block_duration = releases.time_step * settings.BLCKSZ;
  puffs.dosage = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(count));
  puffs.quality = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(count));
  puffs.detected_count = 0;
  for (int r = 0; r < count; ++r) {
    double sum = 0.0;
    const double* blocks = puffs.concentration.get() + puffs.first_block[r];
    for (int b = 0; b < puffs.block_count[r]; ++b) sum += blocks[b];
    puffs.dosage[r] = block_duration * sum;
    bool is_detected = puffs.dosage[r] >= settings.THRHLD;
    puffs.quality[r] = is_detected ? 0 : 1;
    if (is_detected) ++puffs.detected_count;
  }
  std::printf(" %i puffs detected (out of %i releases)!   (threshold: %5.1lf ppmvs)\n", puffs.detected_count,
              count, settings.THRHLD);
}

void write_puff_result(CcSettings& settings, const CcDescription& description, const CcSeries& series,
                       const ReleaseSet& releases, const PuffEvaluation& puffs) {
  double strength = source_strength(settings, description, series);
  double volume = strength * releases.duration_mean;
  normalise_reproducibility(settings, ResultKind::puff, series.reference_velocity, strength, volume);
  print_normalisation_warnings(settings, ResultKind::puff, strength, volume);
  CcResultFile file;
  open_result_file(file, settings, description);
  PuffSummary summary{releases.duration_mean, releases.release_count, puffs.detected_count};
  write_header(file, ResultKind::puff, settings, description, series, strength, &summary);

  double length = settings.REFLTH;
  double length_cubed = std::pow(length, 3.0);
  double reference_velocity = series.reference_velocity;
  for (int r = 0; r < releases.release_count; ++r) {
    int quality = puffs.quality[r];
    std::fprintf(file.handle, "ZONE T=\"puff-release %i  quality-flag: %i\"\n", r, quality);
    for (int b = puffs.first_block[r]; b < puffs.first_block[r] + puffs.block_count[r]; ++b) {
      if (!(puffs.time[b] >= settings.T_NDLE)) continue;
      double time = (puffs.time[b] - settings.T_NDLE) * reference_velocity / length;
      double concentration = length_cubed * puffs.concentration[b] / volume / 1.0e6;
      write_puff_row(file, time, concentration, quality);
    }
  }
  close_result_file(file);
}
