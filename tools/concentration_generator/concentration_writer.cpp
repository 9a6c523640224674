#include "tools/concentration_generator/concentration_writer.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

std::string cc_logbook_text(const CcLogbookFixture& logbook) {
  const std::string* lines[] = {&logbook.title,          &logbook.main_project, &logbook.sub_project,
                                &logbook.wind_tunnel,    &logbook.meas_type,    &logbook.line_6,
                                &logbook.line_7,         &logbook.wind_direction, &logbook.released_gas,
                                &logbook.gas_factor,     &logbook.release_mode, &logbook.source_name,
                                &logbook.release_x,      &logbook.release_y,    &logbook.release_z};
  std::string text;
  for (const std::string* line : lines) text += *line + "\n";
  return text;
}

bool write_cc_logbook_fixture(const std::string& path, const CcLogbookFixture& logbook) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  std::string text = cc_logbook_text(logbook);
  bool is_written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && is_written;
}

namespace {

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
struct Random {
  std::uint64_t state;
};

std::uint64_t next_bits(Random& random) {
  std::uint64_t z = (random.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Uniform in (0, 1).
double next_uniform(Random& random) { return (static_cast<double>(next_bits(random) >> 11) + 0.5) / 9007199254740992.0; }

// Standard normal (Box-Muller; the second value is dropped).
double next_normal(Random& random) {
  double u1 = next_uniform(random);
  double u2 = next_uniform(random);
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

// Puff shape: 0 before arrival, rising to 1 at the rise time, then decaying.
double puff_shape(double since_arrival, double rise_time) {
  if (since_arrival <= 0.0) return 0.0;
  double x = since_arrival / rise_time;
  return x * x * std::exp(2.0 * (1.0 - x));
}

}  // namespace

bool write_concentration_series(const std::string& path, const ConcentrationSeriesShape& shape) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  std::vector<char> out_buffer(1 << 20);
  std::setvbuf(file, out_buffer.data(), _IOFBF, out_buffer.size());
  Random random{shape.seed};
  double dt = shape.spacing_factor / shape.sample_rate;
  // Plume fluctuation: a correlated (AR(1)) normal process, made log-normal.
  const double correlation = std::exp(-1.0 / 30.0);
  const double innovation = std::sqrt(1.0 - correlation * correlation);
  const double spread = 0.7;
  double fluctuation = 0.0;
  // Puffs: each pulse gets its own peak, fixed when the pulse starts.
  double pulse_time = -1.0e30;
  double pulse_peak = 0.0;
  double previous_peak = 0.0;
  double previous_time = -1.0e30;
  bool is_ok = true;
  for (int i = 0; i < shape.sample_count && is_ok; ++i) {
    double time = i * dt;
    double prandtl = shape.prandtl_velocity + 0.08 * next_normal(random);
    double background = shape.background + 0.05 * next_normal(random);
    double signal = 0.0;
    double trigger = 0.002 * std::fabs(next_normal(random));
    if (shape.is_puff) {
      int since_first = i - shape.first_pulse;
      if (since_first >= 0 && shape.period_samples > 0) {
        int phase = since_first % shape.period_samples;
        if (phase == 0) {
          previous_time = pulse_time;
          previous_peak = pulse_peak;
          pulse_time = time;
          pulse_peak = shape.puff_peak * std::exp(0.6 * next_normal(random) - 0.18);
        }
        if (phase < shape.pulse_samples) trigger = 5.0 - 0.002 * std::fabs(next_normal(random));
      }
      signal = pulse_peak * puff_shape(time - pulse_time - shape.travel_time, shape.puff_rise_time) +
               previous_peak * puff_shape(time - previous_time - shape.travel_time, shape.puff_rise_time);
    } else {
      fluctuation = correlation * fluctuation + innovation * next_normal(random);
      signal = shape.plume_mean * std::exp(spread * fluctuation - 0.5 * spread * spread);
    }
    double concentration = background + signal + 0.3 * next_normal(random);
    double source_flow = shape.source_flow + 0.01 * next_normal(random);
    if (std::fprintf(file, "%.6f %.4f %.4f %.4f %.3f %.4f\n", time, prandtl, background, concentration, trigger,
                     source_flow) < 0)
      is_ok = false;
  }
  if (std::fclose(file) != 0) is_ok = false;
  return is_ok;
}
