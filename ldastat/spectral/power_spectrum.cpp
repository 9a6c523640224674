#include "ldastat/spectral/power_spectrum.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ldastat/run/console.h"
#include "ldastat/run/number_text.h"
#include "ldastat/spectral/double_lanes.h"
#include "ldastat/spectral/real_fft.h"
#include "ldastat/stats/result_file.h"
#include "ldastat/stats/result_header.h"

// Consecutive segments start this many samples apart.
constexpr int segment_shift = 30;
// Segments transformed before their powers are summed. The segment power
// is one long chain of dependent additions; summing the chains of several
// segments side by side hides their latency without changing any sum.
constexpr int segment_batch = 8;
// Frequency classes: the width e^L grows with L = 0.0, 0.1, ... up to
// max_class_width.
constexpr int max_class_width = 200;
constexpr double class_exponent_step = 0.1;

static_assert(max_real_fft_length <= max_fft_length, "every admitted length has its tables");
static_assert(max_fft_length <= resampled_capacity, "a first segment never reads past the buffer");

struct SpectrumWork {
  RealFftTables* fft;
  // Per segment of a batch: its transform, then its line powers
  // (index 1 ... N/2, see add_batch_power).
  double* line_power[segment_batch];
  // G: line powers summed over the segments, then averaged, then divided by
  // the frequency resolution (the spectral density E). Index 1 ... N/2.
  double* density;
};

static double* allocate_doubles(int count) {
  // Only the pages of the configured fft_nn are ever touched.
  return static_cast<double*>(
      allocate_run_memory(static_cast<std::size_t>(count), sizeof(double), "the spectrum"));
}

SpectrumWork* allocate_spectrum_work() {
  auto* work = static_cast<SpectrumWork*>(allocate_run_memory(1, sizeof(SpectrumWork), "the spectrum"));
  work->fft = allocate_real_fft_tables();
  // The buffers start at different cache sets: read side by side at the
  // same line k, buffers of equal alignment would all fall into one set.
  constexpr int set_stagger = 9 * 8;  // nine cache lines of doubles
  for (int s = 0; s < segment_batch; ++s)
    work->line_power[s] = allocate_doubles(max_real_fft_length + s * set_stagger) + s * set_stagger;
  work->density = allocate_doubles(max_real_fft_length / 2 + 1);
  return work;
}

// Opens the SPEC file of the series and writes everything above the rows.
static ResultFile open_spectrum_file(const SeriesBuffers& buffers, const RunSettings& settings,
                                     const MeasurementInfo& info, float u_prandtl) {
  char name[result_path_capacity];
  char zone[result_path_capacity];
  if (settings.rfn_op == 1) {
    format_name(name, sizeof name, "%s_%s_ORVA.spec", settings.meas_c, buffers.series_nbr);
    format_name(zone, sizeof zone, "%s_%s", settings.meas_c, buffers.series_nbr);
  } else {
    char stem[result_path_capacity];
    long_name_stem(info, stem, sizeof stem);
    format_name(name, sizeof name, "%s_%s_%scomp_ORVA.spec", stem, buffers.series_nbr,
                info.component_1);
    long_zone_stem(info, stem, sizeof stem);
    format_name(zone, sizeof zone, "%s_%s_%scomp", stem, buffers.series_nbr, info.component_1);
  }
  ResultFile file = open_result_file("SPEC", name, ResultFileMode::replace);
  write_result_header(file.handle, result_header_of(ResultKind::power_spectrum), settings, info,
                      buffers, u_prandtl);
  std::fputs(
      "Variables = \"n [-]\" \"f [1/s]\" \"fz/U<sub>mean</sub> [-]\" "
      "\"fS<sub>UU</sub>(f,z)/<greek>s</greek><sub>U</sub><sup>2</sup> [-]\" \"Kaimal [-]\" "
      "\"Simiu, Scanlan [-]\" \"von Karman [-]\"\n",
      file.handle);
  std::fprintf(file.handle, "ZONE T = \"%s\"\n", zone);
  return file;
}

// For the `count` segments of a batch, transformed into the half-complex
// order in place: replaces line k = 1 ... N/2 of each by its power
// |X_k / N|^2 = (Re X_k / N)^2 + (Im X_k / N)^2 and adds twice that power
// to G[k] (the Nyquist line once), segment after segment. Dividing by N, a
// power of two, is the same as multiplying by 1/N.
template <typename Lanes>
[[gnu::always_inline]] inline void add_batch_power(double* const* segments, int count, double* G,
                                                   int N) {
  constexpr int width = sizeof(Lanes) / sizeof(double);
  const double scale = 1.0 / N;
  Lanes scales, twos;
  broadcast(scale, scales);
  broadcast(2.0, twos);
  int k = 1;
  for (; k + width - 1 < N / 2; k += width) {
    Lanes g;
    load_lanes(G + k, g);
    for (int s = 0; s < count; ++s) {
      Lanes re, im;
      load_lanes(segments[s] + k, re);
      load_reversed(segments[s] + (N - k - width + 1), im);
      re = re * scales;
      im = im * scales;
      Lanes power = re * re + im * im;
      store_lanes(segments[s] + k, power);
      g = g + twos * power;
    }
    store_lanes(G + k, g);
  }
  for (; k <= N / 2; ++k) {
    for (int s = 0; s < count; ++s) {
      double re = segments[s][k] * scale;
      double im = (k < N / 2 ? segments[s][N - k] : 0.0) * scale;  // the Nyquist line is real
      double power = re * re + im * im;
      segments[s][k] = power;
      G[k] = G[k] + (k < N / 2 ? 2.0 * power : power);
    }
  }
}

static void add_batch_power_2_lanes(double* const* segments, int count, double* G, int N) {
  add_batch_power<DoublePair>(segments, count, G, N);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) static void add_batch_power_4_lanes(double* const* segments,
                                                                     int count, double* G,
                                                                     int N) {
  add_batch_power<DoubleQuad>(segments, count, G, N);
}
#endif

// Averages the one-sided power of the segments x[o ... o + N - 1],
// o = 0, 30, 60, ...: the first segment always, every further one while it
// ends before the last sample (o + N < n). Leaves G[1 ... N/2] averaged over
// the segments in work.density and returns the variance, the mean segment
// power (by Parseval's relation the variance of a segment about its mean).
static double average_segment_power(SpectrumWork& work, const double* x, int n, int N) {
  double* G = work.density;
  for (int k = 0; k <= N / 2; ++k) G[k] = 0.0;
  double total_power = 0.0;
  int segment_count = 0;
  int o = 0;
  do {
    int batch = 0;
    do {
      real_fft_half_complex(*work.fft, x + o, work.line_power[batch], N);
      ++batch;
      o += segment_shift;
      ++segment_count;
    } while (batch < segment_batch && o + N < n);
#if defined(__x86_64__) || defined(__i386__)
    if (work.fft->uses_four_lanes)
      add_batch_power_4_lanes(work.line_power, batch, G, N);
    else
#endif
      add_batch_power_2_lanes(work.line_power, batch, G, N);

    // Segment power P = sum over k = 1 ... N - 1, in that order; line N - k
    // has the power of line k. The chains of a partial batch beyond `batch`
    // run on stale values and are dropped.
    double P[segment_batch] = {};
    for (int k = 1; k <= N / 2; ++k) {
#pragma GCC unroll 8
      for (int s = 0; s < segment_batch; ++s) P[s] += work.line_power[s][k];
    }
    for (int k = N / 2 - 1; k >= 1; --k) {
#pragma GCC unroll 8
      for (int s = 0; s < segment_batch; ++s) P[s] += work.line_power[s][k];
    }
    for (int s = 0; s < batch; ++s) total_power += P[s];
  } while (o + N < n);

  for (int k = 1; k <= N / 2; ++k) G[k] = G[k] / segment_count;
  return total_power / segment_count;
}

// The column value, or NaN (written as the marker) where it is undefined.
static double defined_or_nan(bool is_defined, double value) {
  return is_defined ? value : std::nan("");
}

void power_spectrum(SpectrumWork& work, const SeriesBuffers& buffers, const RunSettings& settings,
                    const MeasurementInfo& info, float u_prandtl, const DataRate& rate,
                    const MomentStatistics& moments, float lux) {
  ResultFile file = open_spectrum_file(buffers, settings, info, u_prandtl);

  const int N = settings.fft_nn;
  assert(N >= 2 && N <= max_real_fft_length && (N & (N - 1)) == 0);
  std::printf(" samples for FFT: %i\n", N);
  const double time_step = rate.time_step;
  const double resolution = 1.0 / (N * time_step);  // delta f, 1/s
  prepare_real_fft_tables(*work.fft, N);

  const double variance =
      average_segment_power(work, buffers.resampled[2], buffers.resampled_count, N);
  const double z = leading_double(buffers.pos_z) / 1000.0;  // m, model scale
  const double u = std::fabs(static_cast<double>(moments.mean[0]));
  const double length_scale = lux;

  double* E = work.density;
  for (int k = 1; k <= N / 2; ++k) E[k] = E[k] / resolution;

  // A constant series (variance 0) leaves the normalised spectrum undefined,
  // a mean of 0 m/s the reduced frequencies and the model spectra, an
  // undefined Lux the von Karman spectrum.
  const bool has_variance = variance > 0.0;
  const bool has_mean = u > 0.0;
  const bool has_length_scale = has_mean && std::isfinite(length_scale);

  const double ln_max_width = std::log(static_cast<double>(max_class_width));
  double L = 0.0;
  int k = 1;
  while (k <= N / 2) {
    int w = L <= ln_max_width ? static_cast<int>(std::exp(L)) : max_class_width;
    double class_density;
    if (k + w <= N / 2) {
      double sum = 0.0;
      for (int j = k; j < k + w; ++j) sum += E[j];
      class_density = sum / w;
    } else {
      class_density = E[k];  // the last, incomplete class
    }

    const double f = k / (N * time_step);
    const double n = f * z / u;
    const double f_l = f * length_scale / u;
    const double spectrum = f * class_density / variance;
    const double kaimal = 16.8 * n / std::pow(1.0 + 33.0 * n, 1.6666666667);
    const double simiu_scanlan = 32.0 * n / std::pow(1.0 + 50.0 * n, 1.6666666667);
    const double von_karman = 4.0 * f_l / std::pow(1.0 + 70.78 * (f_l * f_l), 0.8333333333);
    std::fprintf(file.handle, "%i   %s   %s   %s   %s   %s   %s\n", k,
                 value_text("%5.5lf", f).text,
                 value_text("%5.5lf", defined_or_nan(has_mean, n)).text,
                 value_text("%5.5lf", defined_or_nan(has_variance, spectrum)).text,
                 value_text("%5.5lf", defined_or_nan(has_mean, kaimal)).text,
                 value_text("%5.5lf", defined_or_nan(has_mean, simiu_scanlan)).text,
                 value_text("%5.5lf", defined_or_nan(has_length_scale, von_karman)).text);

    L = L + class_exponent_step;
    k = k + w;
  }
  close_result_file(file);
}
