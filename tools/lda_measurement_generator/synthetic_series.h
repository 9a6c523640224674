// A synthetic LDA series with known statistics.
//
// Particles arrive as a Poisson process of the mean data rate. Each velocity
// component is an Ornstein-Uhlenbeck process (the first-order autoregressive
// process in continuous time) sampled exactly at the arrival times: between
// two arrivals dt apart the fluctuation keeps the factor exp(-dt / T), so the
// autocorrelation is exp(-tau / T) and T is the integral time scale. The two
// components share the correlation coefficient of their fluctuations. The
// transit time is the chord of a particle through a spherical measuring
// volume divided by its speed: a few microseconds at wind-tunnel speeds.
#pragma once

#include <cstdint>

#include "tools/lda_measurement_generator/measurement_writer.h"

constexpr int max_synthetic_samples = 1500000;  // the channel capacity of LDASTAT

struct SyntheticSeries {
  int sample_count = 20000;              // samples per channel, 1 ... max_synthetic_samples
  double data_rate = 500.0;              // mean data rate, Hz
  double mean_1 = 5.0;                   // mean of the first component, m/s
  double mean_2 = 0.0;                   // mean of the second component, m/s
  double turbulence_intensity_1 = 0.10;  // standard deviation of component 1 / mean speed
  double turbulence_intensity_2 = 0.05;  // standard deviation of component 2 / mean speed
  double correlation = 0.0;              // of the two fluctuations, -1 ... 1
  double time_scale = 0.05;              // integral time scale T, s
  double volume_diameter = 50e-6;        // diameter of the measuring volume, m
  int outlier_count = 0;                 // component-1 samples 8 to 12 sigma off
  std::uint64_t seed = 1;                // the same seed gives the same series
};

// The mean speed whose fraction the turbulence intensities are:
// sqrt(mean_1^2 + mean_2^2), at least 0.1 m/s.
double synthetic_mean_speed(const SyntheticSeries& series);

// Fills the four channels of `fixture` (arrival time s, transit time s, the
// two components m/s) with sample_count samples each; the header fields of
// the fixture are left as they are.
void synthesize_series(const SyntheticSeries& series, SeriesFixture& fixture);
