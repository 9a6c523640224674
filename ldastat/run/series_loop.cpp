#include "ldastat/run/series_loop.h"

#include <cmath>
#include <cstdio>

#include "ldastat/distributions/wind_direction.h"
#include "ldastat/distributions/wind_speed.h"
#include "ldastat/input/reference_velocity.h"
#include "ldastat/input/series_buffers.h"
#include "ldastat/input/series_file.h"
#include "ldastat/spectral/autocorrelation.h"
#include "ldastat/spectral/power_spectrum.h"
#include "ldastat/stats/moments.h"
#include "ldastat/stats/outlier_removal.h"
#include "ldastat/stats/resampling.h"
#include "ldastat/stats/statistics_file.h"
#include "ldastat/stats/time_series_files.h"

// One series passes through, in this order:
//   select_series_file      -> series_file, series_nbr (six to two digits)
//   clear_series_buffers    -> all work arrays zero
//   (missing file: skipped silently)
//   read_series_file        -> raw channels 0..3, raw_count, location texts, date
//   classify_position       -> position_class of the measuring height
//   read_reference_velocity -> u_prandtl of this series
//   remove_outliers         -> raw compacted, raw_count[0] lowered
//   compute_data_rate       -> data_rate, time_step (no usable rate: series skipped)
//   resample_series         -> resampled channels 0..3, resampled_count
//   compute_moments         -> MomentStatistics of both components
//   autocorrelation         -> correlation table and end lag (AUTOCORR file)
//   integral_scales         -> Tux, Lux
//   then, as switched on: power_spectrum, wind_direction_distribution,
//   write_series_file, write_resampled_file, write_stat_row,
//   wind_speed_distribution; finally the processed line.
void run_series_loop(const RunSettings& settings, MeasurementInfo& info) {
  // The large buffers are allocated once for the run and never freed.
  static SeriesBuffers* buffers = allocate_series_buffers();
  static AutocorrelationResult* correlation = allocate_autocorrelation_result();
  static SpectrumWork* spectrum = is_on(settings.o_spec) ? allocate_spectrum_work() : nullptr;
  static DirectionWork* direction = is_on(settings.o_fluc) ? allocate_direction_work() : nullptr;

  bool is_stat_header_written = false;
  int series_counter = 0;
  do {
    select_series_file(*buffers, settings, series_counter);
    clear_series_buffers(*buffers);
    if (series_file_opens(buffers->series_file)) {
      read_series_file(*buffers);
      classify_position(info, buffers->pos_z, settings);
      float u_prandtl = read_reference_velocity(settings, series_counter);
      remove_outliers(*buffers, settings, info);

      DataRate rate{};
      if (compute_data_rate(*buffers, rate)) {
        resample_series(*buffers, rate);
        MomentStatistics moments{};
        compute_moments(*buffers, settings.conf_i, moments);
        autocorrelation(*buffers, rate.time_step, settings, info, *correlation);
        integral_scales(*correlation, moments.mean[0]);

        if (is_on(settings.o_spec))
          power_spectrum(*spectrum, *buffers, settings, info, u_prandtl, rate, moments,
                         correlation->Lux);
        if (is_on(settings.o_fluc))
          wind_direction_distribution(*direction, *buffers, settings, info, u_prandtl);
        if (is_on(settings.o_tims)) write_series_file(*buffers, settings, info, u_prandtl);
        if (is_on(settings.o_tsrs)) write_resampled_file(*buffers, info);
        if (is_on(settings.o_stat)) {
          write_stat_row(*buffers, settings, info, series_counter, !is_stat_header_written,
                         u_prandtl, rate, moments, correlation->Lux);
          is_stat_header_written = true;
        }
        if (is_on(settings.o_hist))
          wind_speed_distribution(*buffers, settings, info, u_prandtl, series_counter);
        std::printf(" LDA-timeseries:  %s processed!\n\n\n", buffers->series_file);
      }
    }
    ++series_counter;
  } while (series_counter < settings.ts_nbr);
}
