#include "plumex/processing/result_file.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <utility>

#include "plumex/processing/truncation.h"
#include "plumex/run/console.h"

#if defined(_WIN32)
constexpr char result_path_separator = '\\';
#else
constexpr char result_path_separator = '/';
#endif
constexpr const char* result_directory = "TS";

double source_strength(const CcSettings& settings, const CcDescription& description, const CcSeries& series) {
  return (series.source_flow_mean * settings.COEF_A + settings.COEF_B) * (description.gas_factor * litre_per_hour) *
         ((settings.TEMP__ + 273.15) * 101325.0 / (273.15 * (settings.PRESS_ * 100.0)));
}

void normalise_reproducibility(CcSettings& settings, ResultKind kind, double reference_velocity, double strength,
                               double volume) {
  if (settings.REPRO_ == repro_not_given) return;
  double length = settings.REFLTH;
  if (kind == ResultKind::plume)
    settings.REPRO_ = std::pow(length, 2.0) * (settings.REPRO_ * reference_velocity) / strength / 1.0e6;
  else
    settings.REPRO_ = std::pow(length, 3.0) * settings.REPRO_ / volume / 1.0e6;
}

void print_normalisation_warnings(const CcSettings& settings, ResultKind kind, double strength, double volume) {
  if (settings.REFLTH == 0.0)
    std::printf(" warning: no reference length REFLTH given: the normalised times are not finite"
                " and are written as 999.99!\n\n");
  if (strength == 0.0)
    std::printf(" warning: the source strength is 0 l/h (COEF_A, COEF_B): the normalised concentrations"
                " are not finite and are written as 999.99!\n\n");
  else if (kind == ResultKind::puff && volume == 0.0)
    std::printf(" warning: the released volume per puff is 0 m^3: the normalised concentrations"
                " are not finite and are written as 999.99!\n\n");
}

double finite_or_marker(double value) { return std::isfinite(value) ? value : non_finite_marker; }

char* format_fixed_2(char* out, double value) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  int biased_exponent = static_cast<int>((bits >> 52) & 0x7FF);
  // Magnitudes of 2^53 and more (and inf, nan) the slow way.
  if (biased_exponent > 1075) return std::to_chars(out, out + fixed_2_capacity, value, std::chars_format::fixed, 2).ptr;
  // |value| = mantissa * 2^-shift exactly; 100 |value| = scaled * 2^-shift.
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int shift = 1074;
  if (biased_exponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    shift = 1075 - biased_exponent;
  }
  std::uint64_t scaled = mantissa * 100;  // below 2^60
  std::uint64_t hundredths = 0;           // 100 |value| rounded half to even
  if (shift == 0) {
    hundredths = scaled;
  } else if (shift <= 60) {
    hundredths = scaled >> shift;
    std::uint64_t rest = scaled - (hundredths << shift);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (hundredths & 1) != 0)) ++hundredths;
  }  // beyond 60 the value is below half a hundredth
  if ((bits >> 63) != 0) *out++ = '-';
  out = std::to_chars(out, out + fixed_2_capacity, hundredths / 100).ptr;
  *out++ = '.';
  *out++ = static_cast<char>('0' + hundredths % 100 / 10);
  *out++ = static_cast<char>('0' + hundredths % 10);
  return out;
}

// A number of a row: right-aligned in five characters, as "%5.2lf".
static char* put_row_number(char* out, double value) {
  char text[fixed_2_capacity];
  char* end = format_fixed_2(text, finite_or_marker(value));
  for (long pad = 5 - (end - text); pad > 0; --pad) *out++ = ' ';
  std::size_t length = static_cast<std::size_t>(end - text);
  std::memcpy(out, text, length);
  return out + length;
}

static char* put_text(char* out, const char* text) {
  std::size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

void write_plume_row(CcResultFile& file, double time, double concentration) {
  char row[2 * fixed_2_capacity + 16];
  char* end = put_row_number(row, time);
  end = put_text(end, "   ");
  end = put_row_number(end, concentration);
  *end++ = '\n';
  std::fwrite(row, 1, static_cast<std::size_t>(end - row), file.handle);
}

void write_puff_row(CcResultFile& file, double time, double concentration, int quality) {
  char row[2 * fixed_2_capacity + 32];
  char* end = put_row_number(row, time);
  end = put_text(end, "   ");
  end = put_row_number(end, concentration);
  end = put_text(end, "    ");
  end = std::to_chars(end, end + 12, quality).ptr;
  *end++ = '\n';
  std::fwrite(row, 1, static_cast<std::size_t>(end - row), file.handle);
}

CcResultFile::~CcResultFile() {
  if (handle != nullptr) std::fclose(handle);
}

static bool is_unsafe_name_part(const char* text) {
  return std::strchr(text, '/') != nullptr || std::strchr(text, '\\') != nullptr || std::strcmp(text, "..") == 0;
}

// The leading zeros that make a value of 0 .. 10^digits - 1 `digits` wide;
// none for a value outside that range.
static const char* zero_prefix(int value, int digits) {
  static const char zeros[] = "0000";
  if (value < 0) return "";
  int width = 1;
  for (int limit = 10; value >= limit && width < digits; limit *= 10) ++width;
  if (width == digits) return "";
  return zeros + (sizeof zeros - 1) - (digits - width);
}

void format_result_path(char* out, const CcSettings& settings, const CcDescription& description) {
  if (is_unsafe_name_part(description.source_name))
    fail_run(cc_exit_failure, "\n The source name \"%s\" cannot be part of a result-file name (\"/\", \"\\\" or \"..\")!\n",
             description.source_name);
  if (is_unsafe_name_part(settings.NUMBER))
    fail_run(cc_exit_failure, "\n NUMBER \"%s\" cannot be part of a result-file name (\"/\", \"\\\" or \"..\")!\n",
             settings.NUMBER);
  int wind_direction = description.wind_direction_tenths;
  int point = settings.POINT_;
  int height = truncate_to_int(settings.Z_MEAS / 10.0 * settings.SCALE_);
  int length = std::snprintf(out, result_path_capacity, "%s%c%s_WD%s%i_P%s%i_Z%s%i_%s_nd.dts", result_directory,
                             result_path_separator, description.source_name, zero_prefix(wind_direction, 4),
                             wind_direction, zero_prefix(point, 3), point, zero_prefix(height, 5), height,
                             settings.NUMBER);
  if (length < 0 || length >= result_path_capacity)
    fail_run(cc_exit_failure, "\n The result-file name is longer than %i characters!\n", result_path_capacity - 1);
}

void open_result_file(CcResultFile& file, const CcSettings& settings, const CcDescription& description) {
  format_result_path(file.path, settings, description);
  std::error_code ignored;
  std::filesystem::create_directory(result_directory, ignored);
  file.handle = std::fopen(file.path, "w");
  if (file.handle == nullptr)
    fail_run(cc_exit_failure, "\n The result file %s cannot be created: %s!\n", file.path, std::strerror(errno));
}

void close_result_file(CcResultFile& file) {
  std::FILE* handle = std::exchange(file.handle, nullptr);
  if (handle == nullptr) return;
  bool has_failed = std::ferror(handle) != 0;
  if (std::fclose(handle) != 0) has_failed = true;
  if (has_failed) {
    std::remove(file.path);
    fail_run(cc_exit_failure, "\n The result file %s could not be written!\n", file.path);
  }
}

static void write_comment_gap(std::FILE* out, int line_count) {
  for (int i = 0; i < line_count; ++i) std::fprintf(out, "# \n");
}

// The model-scale and full-scale coordinates of a location and its two
// utm placeholders; `what` is "source" or "measurement".
static void write_location_lines(std::FILE* out, const char* what, double x, double y, double z, int scale) {
  std::fprintf(out, "# %0.2lf [%s location X - model scale [mm]]\n", finite_or_marker(x), what);
  std::fprintf(out, "# %0.2lf [%s location Y - model scale [mm]]\n", finite_or_marker(y), what);
  std::fprintf(out, "# %0.2lf [%s location Z - model scale [mm]]\n", finite_or_marker(z), what);
  std::fprintf(out, "# %0.2lf [%s location X - full scale [m]]\n", finite_or_marker(x / 1000.0 * scale), what);
  std::fprintf(out, "# %0.2lf [%s location Y - full scale [m]]\n", finite_or_marker(y / 1000.0 * scale), what);
  std::fprintf(out, "# %0.2lf [%s location Z - full scale [m]]\n", finite_or_marker(z / 1000.0 * scale), what);
  std::fprintf(out, "# # [%s location utm Easting [m]]\n", what);
  std::fprintf(out, "# # [%s location utm Northing [m]]\n", what);
}

void write_header(CcResultFile& file, ResultKind kind, const CcSettings& settings, const CcDescription& description,
                  const CcSeries& series, double strength, const PuffSummary* puff) {
  std::FILE* out = file.handle;
  bool is_puff = kind == ResultKind::puff;
  double length = settings.REFLTH;
  int scale = settings.SCALE_;

  std::fprintf(out, "# ORVA post-processed puff dispersion measurement\n");
  std::fprintf(out, "# \n");
  std::fprintf(out, "# ********** DATA DESCRIPTION **********\n");
  write_comment_gap(out, 5);
  std::fprintf(out, "# ********** GENERAL INFORMATION **********\n");
  std::fprintf(out, "# %s [main project name]\n", description.main_project);
  std::fprintf(out, "# %s [sub project name]\n", description.sub_project);
  std::fprintf(out, "# %s [wind tunnel facility]\n", description.wind_tunnel);
  std::fprintf(out, "# 1:%i [model scale]\n", scale);
  std::fprintf(out, "# %0.1lf [zref - model scale [mm]]\n", finite_or_marker(settings.REFHGT * 1000.0));
  std::fprintf(out, "# %0.2lf [zref - full scale [m]]\n", finite_or_marker(scale * settings.REFHGT));
  std::fprintf(out, "# %0.2lf [Uref - model [m/s]]\n", finite_or_marker(series.reference_velocity));
  std::fprintf(out, "# %0.2lf [wind direction [\xB0]]\n", finite_or_marker(description.wind_direction_deg));
  if (is_puff) {
    std::fprintf(out, "# %5.4lf [Lref - model scale [mm]]\n", finite_or_marker(length * 1000.0));
    std::fprintf(out, "# %5.1lf [Lref - full scale [m]]\n", finite_or_marker(scale * length));
    std::fprintf(out, "# \n");
    std::fprintf(out, "# PLEASE NOTE: A threshold is applied to the dosage of each puff signal!\n");
    std::fprintf(out, "#              Signals, which dosage did not reach this threshold are labeled\n");
    std::fprintf(out, "#              with the quality-flag \"1\" and might not be adequate for the analysis\n");
    std::fprintf(out, "#              of puff-dispersion!\n");
    write_comment_gap(out, 5);
  } else {
    std::fprintf(out, "# %5.4lf [Lref - model scale [m]]\n", finite_or_marker(length / scale));
    std::fprintf(out, "# %5.1lf [Lref - full scale [m]]\n", finite_or_marker(length));
    write_comment_gap(out, 10);
  }

  std::fprintf(out, "# ********** FLOW MEASUREMENTS **********\n");
  std::fprintf(out, "# # [measurement type]\n");
  std::fprintf(out, "# # [number of columns]\n");
  std::fprintf(out, "# # [labels]\n");
  std::fprintf(out, "# # [measured components]\n");
  std::fprintf(out, "# # [measurement location X - model scale [mm]]\n");
  std::fprintf(out, "# # [measurement location Y - model scale [mm]]\n");
  std::fprintf(out, "# # [measurement location Z - model scale [mm]]\n");
  std::fprintf(out, "# # [measurement location X - full scale [m]]\n");
  std::fprintf(out, "# # [measurement location Y - full scale [m]]\n");
  std::fprintf(out, "# # [measurement location Z - full scale [m]]\n");
  std::fprintf(out, "# # [measurement location utm Easting [m]]\n");
  std::fprintf(out, "# # [measurement location utm Northing [m]]\n");
  std::fprintf(out, "# # [confidence intervall {U,V,W}/Uref[-]]\n");
  write_comment_gap(out, 10);

  std::fprintf(out, "# ********** CONCENTRATION MEASUREMENTS **********\n");
  if (is_puff) {
    std::fprintf(out, "# %s puff [measurement type]\n", description.meas_type);
    std::fprintf(out, "# 3 [number of columns]\n");
    std::fprintf(out, "# \"T*\" \"C*\" \"quality-flag\" [labels]\n");
  } else {
    std::fprintf(out, "# %s plume [measurement type]\n", description.meas_type);
    std::fprintf(out, "# 2 [number of columns]\n");
    std::fprintf(out, "# \"T*\" \"C*\" [labels]\n");
  }
  std::fprintf(out, "# %s [released gas]\n", description.released_gas);
  std::fprintf(out, "# %0.2lf [source strength [l/h]]\n", finite_or_marker(strength / litre_per_hour));
  if (is_puff) {
    std::fprintf(out, "# %0.2lf [release duration [s]]\n", finite_or_marker(puff->release_duration));
    std::fprintf(out, "# %i [number of released puffs]\n", puff->release_count);
    std::fprintf(out, "# %i [number of detected puffs, which dosage exceeds the dosage threshold]\n",
                 puff->detected_count);
    std::fprintf(out, "# %5.2lf [dosage threshold - model scale [ppmvs]]\n", finite_or_marker(settings.THRHLD));
  } else {
    std::fprintf(out, "# \"continuous release\" [release duration [s]]\n");
    std::fprintf(out, "# \"continuous release\" [number of released puffs]\n");
    std::fprintf(out, "# \"continuous release\" [number of detected puffs, which dosage exceeds the dosage threshold]\n");
    std::fprintf(out, "# \"continuous release\" [dosage threshold - model scale [ppmvs]]\n");
  }
  write_location_lines(out, "source", description.source_x, description.source_y, description.source_z, scale);
  write_location_lines(out, "measurement", settings.X_MEAS, settings.Y_MEAS, settings.Z_MEAS, scale);
  std::fprintf(out, "# %5.2lf [1E-6 * confidence intervall [-]]\n", finite_or_marker(settings.REPRO_));
  write_comment_gap(out, 9);
  std::fprintf(out, "# ********** END OF HEADER **********\n");
  if (is_puff)
    std::fprintf(out, "VARIABLES = \"T<sup>*</sup>[-]\" \"1E-6<math>W</math>C<sup>*</sup>[-]\" \"quality-flag[-]\"\n");
  else
    std::fprintf(out, "VARIABLES = \"t<sup>*</sup>[-]\" \"1E-6<math>W</math>c<sup>*</sup>[-]\"\n");
}
