#include "tools/lda_measurement_generator/synthetic_series.h"

#include <cmath>
#include <random>

// Draws from the raw 64-bit engine only (its sequence is fixed by the
// language standard, unlike the standard distributions), so that a seed
// gives the same series with every standard library.
struct RandomSource {
  std::mt19937_64 engine;
  bool has_spare_normal = false;
  double spare_normal = 0.0;
};

// Uniform in the open interval (0, 1).
static double uniform(RandomSource& random) {
  return (static_cast<double>(random.engine() >> 11) + 0.5) * 0x1.0p-53;
}

// Standard normal, by the polar method of Marsaglia.
static double normal(RandomSource& random) {
  if (random.has_spare_normal) {
    random.has_spare_normal = false;
    return random.spare_normal;
  }
  double x, y, s;
  do {
    x = 2.0 * uniform(random) - 1.0;
    y = 2.0 * uniform(random) - 1.0;
    s = x * x + y * y;
  } while (s >= 1.0);
  double factor = std::sqrt(-2.0 * std::log(s) / s);
  random.spare_normal = y * factor;
  random.has_spare_normal = true;
  return x * factor;
}

double synthetic_mean_speed(const SyntheticSeries& series) {
  double speed = std::sqrt(series.mean_1 * series.mean_1 + series.mean_2 * series.mean_2);
  return speed > 0.1 ? speed : 0.1;
}

void synthesize_series(const SyntheticSeries& series, SeriesFixture& fixture) {
  RandomSource random{std::mt19937_64(series.seed)};
  int n = series.sample_count;
  for (std::vector<double>& channel : fixture.channels)
    channel.assign(static_cast<std::size_t>(n), 0.0);
  std::vector<double>& arrival = fixture.channels[0];
  std::vector<double>& transit = fixture.channels[1];
  std::vector<double>& component_1 = fixture.channels[2];
  std::vector<double>& component_2 = fixture.channels[3];

  double speed = synthetic_mean_speed(series);
  double sigma_1 = series.turbulence_intensity_1 * speed;
  double sigma_2 = series.turbulence_intensity_2 * speed;
  double c = series.correlation;
  double c_rest = std::sqrt(1.0 - c * c);

  // Fluctuations of the two components, started in the stationary state.
  double xi_1 = normal(random);
  double f1 = sigma_1 * xi_1;
  double f2 = sigma_2 * (c * xi_1 + c_rest * normal(random));
  double t = 0.0;
  for (int i = 0; i < n; ++i) {
    double dt = -std::log(uniform(random)) / series.data_rate;
    t += dt;
    if (i > 0) {
      double decay = series.time_scale > 0.0 ? std::exp(-dt / series.time_scale) : 0.0;
      double innovation =
          series.time_scale > 0.0 ? std::sqrt(-std::expm1(-2.0 * dt / series.time_scale)) : 1.0;
      double n1 = normal(random);
      double n2 = c * n1 + c_rest * normal(random);
      f1 = decay * f1 + innovation * sigma_1 * n1;
      f2 = decay * f2 + innovation * sigma_2 * n2;
    }
    double u1 = series.mean_1 + f1;
    double u2 = series.mean_2 + f2;
    arrival[static_cast<std::size_t>(i)] = t;
    component_1[static_cast<std::size_t>(i)] = u1;
    component_2[static_cast<std::size_t>(i)] = u2;

    // Chord through the volume for an impact point uniform over its cross
    // section; a grazing particle is not validated, hence the shortest chord.
    double chord = series.volume_diameter * std::sqrt(1.0 - 0.95 * uniform(random));
    double particle_speed = std::sqrt(u1 * u1 + u2 * u2);
    transit[static_cast<std::size_t>(i)] = chord / (particle_speed > 0.1 ? particle_speed : 0.1);
  }

  // Outliers: one per equal stretch of the series, at a random place in it.
  if (series.outlier_count > 0 && n > 0) {
    double deviation = sigma_1 > 0.0 ? sigma_1 : 0.1 * speed;
    double stretch = static_cast<double>(n) / series.outlier_count;
    for (int k = 0; k < series.outlier_count; ++k) {
      auto i = static_cast<std::size_t>(stretch * (k + uniform(random)));
      if (i >= static_cast<std::size_t>(n)) i = static_cast<std::size_t>(n) - 1;
      double sign = uniform(random) < 0.5 ? -1.0 : 1.0;
      component_1[i] = series.mean_1 + sign * (8.0 + 4.0 * uniform(random)) * deviation;
    }
  }
}
