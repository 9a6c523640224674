#include "ldastat/stats/statistics_file.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstring>

#include "ldastat/run/number_text.h"
#include "ldastat/stats/component_pair.h"
#include "ldastat/stats/result_file.h"
#include "ldastat/stats/result_header.h"

constexpr int stat_column_count = 50;

struct StatColumn {
  const char* label;            // label of the comment line
  const char* variables_label;  // Tecplot name; "%i%%" stands for the confidence level
};

static const StatColumn stat_columns[stat_column_count] = {
    {"number of time series", "number of time series"},
    {"number of samples", "number of samples"},
    {"data rate[Hz]", "data rate [Hz]"},
    {"Xfs[m]", "X<sub>fs</sub> [m]"},
    {"Yfs[m]", "Y<sub>fs</sub> [m]"},
    {"Zfs[m]", "Z<sub>fs</sub> [m]"},
    {"Xm[mm]", "X<sub>m</sub> [mm]"},
    {"Ym[mm]", "Y<sub>m</sub> [mm]"},
    {"Zm[mm]", "Z<sub>m</sub> [mm]"},
    {"Uref[m/s]", "U<sub>ref</sub> [m/s]"},
    {"U/Uref[-]", "U<sub>mean</sub>/U<sub>ref</sub> [-]"},
    {"V/Uref[-]", "V<sub>mean</sub>/U<sub>ref</sub> [-]"},
    {"W/Uref[-]", "W<sub>mean</sub>/U<sub>ref</sub> [-]"},
    {"Urms/Uref[-]", "U<sub>rms</sub>/U<sub>ref</sub> [-]"},
    {"Vrms/Uref[-]", "V<sub>rms</sub>/U<sub>ref</sub> [-]"},
    {"Wrms/Uref[-]", "W<sub>rms</sub>/U<sub>ref</sub> [-]"},
    {"u'v'/Uref^2[-]", "U'V'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]"},
    {"u'w'/Uref^2[-]", "U'W'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]"},
    {"v'w'/Uref^2[-]", "V'W'<sub>mean</sub>/U<sub>ref</sub><sup>2</sup> [-]"},
    {"Uconf/Uref[-]", "U<sub>mean-conf-%i%%</sub>/U<sub>ref</sub> [-]"},
    {"Vconf/Uref[-]", "V<sub>mean-conf-%i%%</sub>/U<sub>ref</sub> [-]"},
    {"Wconf/Uref[-]", "W<sub>mean-conf-%i%%</sub>/U<sub>ref</sub> [-]"},
    {"U[m/s]", "U<sub>mean</sub> [m/s]"},
    {"V[m/s]", "V<sub>mean</sub> [m/s]"},
    {"W[m/s]", "W<sub>mean</sub> [m/s]"},
    {"Urms[m/s]", "U<sub>rms</sub> [m/s]"},
    {"Vrms[m/s]", "V<sub>rms</sub> [m/s]"},
    {"Wrms[m/s]", "W<sub>rms</sub> [m/s]"},
    {"u'v'[m^2/s^2]", "U'V'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]"},
    {"u'w'[m^2/s^2]", "U'W'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]"},
    {"v'w'[m^2/s^2]", "V'W'<sub>mean</sub> [m<sup>2</sup>/s<sup>2</sup>]"},
    {"Uconf[m/s]", "U<sub>mean-conf-%i%%</sub> [m/s]"},
    {"Vconf[m/s]", "V<sub>mean-conf-%i%%</sub> [m/s]"},
    {"Wconf[m/s]", "W<sub>mean-conf-%i%%</sub> [m/s]"},
    {"Uskewness", "U-skewness"},
    {"Uflatness", "U-flatness"},
    {"Vskewness", "V-skewness"},
    {"Vflatness", "V-flatness"},
    {"Wskewness", "W-skewness"},
    {"Wflatness", "W-flatness"},
    {"Luxfs[m]", "L<sub>uxfs</sub> [m]"},
    {"Luxm[mm]", "L<sub>uxm</sub> [mm]"},
    {"C^*[-]", "C<sup>*</sup> [-]"},
    {"C^*rms[-]", "C<sup>*</sup><sub>rms</sub> [-]"},
    {"C^*skewness", "C<sup>*</sup><sub>skewness</sub>"},
    {"C^*flatness", "C<sup>*</sup><sub>flatness</sub>"},
    {"flag1", "data flag 1"},
    {"flag2", "data flag 2"},
    {"flag3", "data flag 3"},
    {"quality flag", "quality flag"},
};

// The confidence level in the labels: conf_i truncated towards zero (a
// level the int cannot hold, possible only through the dialog, shows 0).
static int confidence_percent(double conf_i) {
  double whole = std::trunc(conf_i);
  if (!(whole >= INT_MIN && whole <= INT_MAX)) return 0;
  return static_cast<int>(whole);
}

// The three-line label block: comment labels, "# ", VARIABLES line.
static void write_label_block(std::FILE* file, int level) {
  std::fputs("#", file);
  for (const StatColumn& column : stat_columns) std::fprintf(file, " \"%s\"", column.label);
  std::fputs("\n# \nVARIABLES=", file);
  for (const StatColumn& column : stat_columns) {
    const char* label = column.variables_label;
    const char* placeholder = std::strstr(label, "%i%%");
    if (placeholder == nullptr)
      std::fprintf(file, " \"%s\"", label);
    else
      std::fprintf(file, " \"%.*s%i%%%s\"", static_cast<int>(placeholder - label), label, level,
                   placeholder + 4);
  }
  std::fputs("\n", file);
}

// Fields of one row, separated by three blanks.
struct StatRow {
  std::FILE* file;
  int field_count;
};

static void put_text(StatRow& row, const char* text) {
  if (row.field_count > 0) std::fputs("   ", row.file);
  std::fputs(text, row.file);
  ++row.field_count;
}

static void put_int(StatRow& row, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  put_text(row, text);
}

// Columns that LDASTAT never measures (concentrations and data flags).
static void put_markers(StatRow& row, int count) {
  for (int i = 0; i < count; ++i) put_text(row, marker_text);
}

// A column whose letter (or pair) the series does not measure holds the
// marker; so does every value that is undefined or not finite.
static void write_row(std::FILE* file, const SeriesBuffers& buffers, const RunSettings& settings,
                      const MeasurementInfo& info, int series_counter, float u_prandtl,
                      const DataRate& rate, const MomentStatistics& moments, float lux) {
  const double uref = reference_velocity(u_prandtl, settings);
  const double uref_squared = uref * uref;
  const int slots[3] = {component_slot(info, "U"), component_slot(info, "V"),
                        component_slot(info, "W")};
  const ComponentPair pair = component_pair_of(info);
  const ComponentPair covariance_pairs[3] = {ComponentPair::u_v, ComponentPair::u_w,
                                             ComponentPair::v_w};
  const double positions[3] = {leading_double(buffers.pos_x), leading_double(buffers.pos_y),
                               leading_double(buffers.pos_z)};  // mm, model scale

  StatRow row{file, 0};
  put_int(row, settings.ts_stn + series_counter);
  put_int(row, buffers.raw_count[0]);
  put_text(row, value_text("%6.0lf", static_cast<double>(rate.data_rate)).text);
  for (double position : positions)
    put_text(row, value_text("%6.3lf", position * settings.ml_scl / 1000.0).text);
  for (double position : positions) put_text(row, value_text("%6.1lf", position).text);
  put_text(row, value_text("%6.2lf", uref).text);

  for (int slot : slots)
    put_text(row, slot < 0 ? marker_text : value_text("%6.4lf", moments.mean[slot] / uref).text);
  for (int slot : slots)
    put_text(row, slot < 0 ? marker_text : value_text("%6.4lf", moments.rms[slot] / uref).text);
  for (ComponentPair covariance_pair : covariance_pairs)
    put_text(row, covariance_pair != pair
                      ? marker_text
                      : value_text("%6.8lf", moments.covariance / uref_squared).text);
  for (int slot : slots)
    put_text(row,
             slot < 0 ? marker_text : value_text("%6.4lf", moments.confidence[slot] / uref).text);

  for (int slot : slots)
    put_text(row, slot < 0 ? marker_text
                           : value_text("%6.2lf", static_cast<double>(moments.mean[slot])).text);
  for (int slot : slots)
    put_text(row, slot < 0 ? marker_text
                           : value_text("%6.2lf", static_cast<double>(moments.rms[slot])).text);
  for (ComponentPair covariance_pair : covariance_pairs)
    put_text(row, covariance_pair != pair
                      ? marker_text
                      : value_text("%6.4lf", static_cast<double>(moments.covariance)).text);
  for (int slot : slots)
    put_text(row, slot < 0
                      ? marker_text
                      : value_text("%6.3lf", static_cast<double>(moments.confidence[slot])).text);

  for (int slot : slots) {
    put_text(row, slot < 0
                      ? marker_text
                      : value_text("%6.3lf", static_cast<double>(moments.skewness[slot])).text);
    put_text(row, slot < 0
                      ? marker_text
                      : value_text("%6.3lf", static_cast<double>(moments.flatness[slot])).text);
  }

  // The integral length scale belongs to the first component: only a U.
  const bool has_lux = std::strcmp(info.component_1, "U") == 0;
  put_text(row, has_lux ? value_text("%6.1lf", settings.ml_scl * static_cast<double>(lux)).text
                        : marker_text);
  put_text(row, has_lux ? value_text("%6.1lf", lux * 1000.0).text : marker_text);

  put_markers(row, 7);
  put_int(row, info.position_class);
  assert(row.field_count == stat_column_count);
  std::fputs("\n", file);
}

void write_stat_row(const SeriesBuffers& buffers, const RunSettings& settings,
                    const MeasurementInfo& info, int series_counter, bool is_first_of_run,
                    float u_prandtl, const DataRate& rate, const MomentStatistics& moments,
                    float lux) {
  char base[result_path_capacity];
  result_name_base(settings, info, base, sizeof base);
  char name[result_path_capacity];
  format_name(name, sizeof name, "%s_ORVA.stat", base);
  ResultFile file = open_result_file("STAT", name, ResultFileMode::append);

  if (is_first_of_run)
    write_result_header(file.handle, result_header_of(ResultKind::statistics), settings, info,
                        buffers, u_prandtl);
  if (component_pair_of(info) == ComponentPair::other) {
    close_result_file(file);
    return;
  }
  if (is_first_of_run) {
    write_label_block(file.handle, confidence_percent(settings.conf_i));
    char zone[result_path_capacity];
    long_zone_stem(info, zone, sizeof zone);
    std::fprintf(file.handle, "ZONE T = \"%s\"\n", zone);
  }
  write_row(file.handle, buffers, settings, info, series_counter, u_prandtl, rate, moments, lux);
  close_result_file(file);
}
