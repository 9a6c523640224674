#include "ldastat/spectral/autocorrelation.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include "ldastat/run/console.h"

#include "ldastat/spectral/correlation_kernel.h"
#include "ldastat/stats/result_file.h"

static constexpr float start_sentinel = 2.0f;  // R[-1]: lag 0 always counts as decreasing
static constexpr float row_threshold = 0.001f;  // rows and the tail stop at this value

AutocorrelationResult* allocate_autocorrelation_result() {
  static AutocorrelationResult result{};
  // calloc: the pages of the large tables are only touched when used.
  auto* table = static_cast<float*>(
      allocate_run_memory(correlation_capacity + 1, sizeof(float), "the correlation table"));
  result.leading_sums = static_cast<float*>(
      allocate_run_memory(resampled_capacity + 1, sizeof(float), "the correlation sums"));
  result.correlation = table + 1;
  return &result;
}

// The "AUTOCORR" file of the series, opened once for appending when o_auto
// is on and kept open while the series is computed.
struct AutocorrFile {
  ResultFile file;
  bool is_on;
  const char* component;
};

static void open_autocorr_file(AutocorrFile& out, const SeriesBuffers& buffers,
                               const MeasurementInfo& info) {
  char name[result_path_capacity];
  format_name(name, sizeof name, "%s_%s_%s_%s_%s%s_%s%s_%s_%s_%s_autocorr.tec.ts",
              info.main_project, info.sub_project, info.wind_tunnel, info.meas_type,
              info.component_1, info.component_2, info.instrument, info.correlation,
              info.wind_direction, info.meas_suffix, buffers.series_nbr);
  out.file = open_result_file("AUTOCORR", name, ResultFileMode::append);
}

void append_autocorr_row(std::FILE* file, const AutocorrelationResult& result,
                         const char* component_1, int k) {
  if (result.lag_count == 0)
    std::fprintf(file, "Variables = \"k\" \"time[s]\" \"R%s%s\"\n", component_1, component_1);
  float value = result.correlation[k];
  bool is_defined = std::isfinite(value);
  if (is_defined && !(value >= row_threshold)) return;
  double lag_time = static_cast<float>(k) * result.lag_step;
  std::fprintf(file, "%i      %5.4lf    %s\n", k, lag_time,
               value_text("%5.8lf", static_cast<double>(value)).text);
}

static void offer_row(AutocorrFile& out, const AutocorrelationResult& result, int k) {
  if (out.is_on) append_autocorr_row(out.file.handle, result, out.component, k);
}

static bool is_constant(const double* x, int n) {
  for (int i = 1; i < n; ++i)
    if (x[i] != x[0]) return false;
  return true;
}

// Slope of the least-squares line through (i, ln R[i]), i = 0 ... k-1, with
// single-precision sums and arithmetic. NaN for a single point.
static float fitted_log_slope(const float* R, int k) {
  float s_x = 0.0f;
  float s_y = 0.0f;
  float s_xy = 0.0f;
  float s_xx = 0.0f;
  for (int i = 0; i < k; ++i) {
    double ln_r = std::log(static_cast<double>(R[i]));
    s_x = static_cast<float>(s_x + i);
    s_y = static_cast<float>(s_y + ln_r);
    s_xy = static_cast<float>(s_xy + i * ln_r);
    // i * i in double: as an int product it would overflow beyond i = 46,340.
    s_xx = static_cast<float>(s_xx + static_cast<double>(i) * i);
  }
  float count = static_cast<float>(k);
  float m_x = s_x / count;
  float m_y = s_y / count;
  return (s_xy - count * m_x * m_y) / (s_xx - count * m_x * m_x);
}

// R[j] = exp(ln R[j-1] + slope) from lag `first` on, down to the first value
// below 0.001 (that lag is k_end) or up to the table capacity. Returns k_end.
static int extend_exponential_tail(AutocorrelationResult& result, AutocorrFile& out, int first,
                                   float slope) {
  float* R = result.correlation;
  int j = first;
  do {
    R[j] = static_cast<float>(std::exp(std::log(static_cast<double>(R[j - 1])) + slope));
    offer_row(out, result, j);
    ++result.lag_count;
    ++j;
  } while (R[j - 1] >= row_threshold && j < correlation_capacity);
  if (R[j - 1] >= row_threshold) {
    std::printf(" autocorrelation tail cut at the table capacity of %i lags\n",
                correlation_capacity);
    return j;
  }
  return j - 1;
}

static void leave_undefined(AutocorrelationResult& result, const char* reason) {
  std::printf(" autocorrelation undefined: %s\n", reason);
  result.is_defined = false;
}

void autocorrelation(const SeriesBuffers& buffers, float time_step, const RunSettings& settings,
                     const MeasurementInfo& info, AutocorrelationResult& result) {
  const double* x = buffers.resampled[2];
  int n = buffers.resampled_count;
  float* R = result.correlation;
  R[-1] = start_sentinel;
  result.lag_count = 0;
  result.end_lag = 0;
  result.last_kept_lag = -1;
  result.lag_step = time_step;
  result.is_defined = true;
  result.Tux = std::numeric_limits<float>::quiet_NaN();
  result.Lux = std::numeric_limits<float>::quiet_NaN();
  AutocorrFile out{};
  out.is_on = is_on(settings.o_auto);
  out.component = info.component_1;
  if (out.is_on) open_autocorr_file(out, buffers, info);

  if (n < 2 || is_constant(x, n)) {
    // The coefficient would be 0/0; the file shows the marker at lag 0.
    R[0] = std::numeric_limits<float>::quiet_NaN();
    offer_row(out, result, 0);
    leave_undefined(result, "the resampled first component does not vary");
    close_result_file(out.file);
    return;
  }

  // Direct part: lags are computed a block at a time; the lags of a block
  // past the stop are never read.
  leading_float_sums(x, n, result.leading_sums);
  int computed_end = 0;
  int k = -1;
  do {
    ++k;
    if (k == computed_end) {
      int count = n - k < correlation_block_lags ? n - k : correlation_block_lags;
      correlation_at_lags(x, n, result.leading_sums, k, count, R + k);
      computed_end = k + count;
    }
    if (!std::isfinite(R[k])) {
      leave_undefined(result, "a part of the resampled first component does not vary");
      close_result_file(out.file);
      return;
    }
    if (R[k] <= R[k - 1]) offer_row(out, result, k);
    ++result.lag_count;
  } while (R[k] < R[k - 1] && R[k] > 0.0f);

  if (R[k] <= 0.0f) {
    result.end_lag = k;  // the first zero crossing
  } else {
    // The function rose while still positive: continue it as the exponential
    // fitted to the decreasing part, starting again at lag k.
    float slope = fitted_log_slope(R, k);
    if (!(slope < 0.0f)) {
      leave_undefined(result, "its fitted exponential tail does not decay");
      close_result_file(out.file);
      return;
    }
    result.end_lag = extend_exponential_tail(result, out, k, slope);
  }
  result.last_kept_lag = result.end_lag - 1;
  close_result_file(out.file);
}

void integral_scales(AutocorrelationResult& result, float u_mean) {
  if (!result.is_defined) {
    result.Tux = std::numeric_limits<float>::quiet_NaN();
    result.Lux = std::numeric_limits<float>::quiet_NaN();
    std::printf(" Tux: undefined\n");
    std::printf(" Lux: undefined\n");
    return;
  }
  // Trapezoids from lag 0 to k_end, the correlation taken as 0 at k_end.
  const float* R = result.correlation;
  float dtau = result.lag_step;
  int a = result.last_kept_lag;
  float tux = 0.0f;
  for (int i = 0; i < a; ++i) tux = tux + (R[i] + R[i + 1]) * dtau / 2.0f;
  tux = tux + R[a] * dtau / 2.0f;
  result.Tux = tux;
  result.Lux = std::fabs(u_mean) * tux;
  std::printf(" Tux: %5.3lf s\n", static_cast<double>(result.Tux));
  std::printf(" Lux: %5.3lf m\n", static_cast<double>(result.Lux));
}
