#include "ldastat/stats/result_header.h"

#include <cassert>
#include <cstring>

#include "ldastat/run/number_text.h"
#include "ldastat/stats/component_pair.h"
#include "ldastat/stats/result_file.h"

// The file kinds. The wind-speed kind's column count and labels line name
// the seven columns of its "Variables =" line.
static const ResultHeader time_series_header{
    "# ORVA post-processed LDA time series\n", false, true, 5,
    "# \"I\" \"T*\" \"U/Uref\" \"V/Uref\" \"W/Uref\" [labels]\n", 10};
static const ResultHeader statistics_header{"# ORVA LDA time series statistics\n", true, false, 0,
                                            "", 0};
static const ResultHeader power_spectrum_header{
    "# ORVA power spectrum derived from LDA time series\n", false, false, 2,
    "# \"f*z/Umean\" \"f*SUU(f,z)/sigmaU^2\" [labels]\n", 10};
static const ResultHeader speed_fluctuation_header{
    "# ORVA fluctuations of wind speed derived from LDA time series\n", false, false, 7,
    "# \"classnumber\" \"component 1/Uref\" \"component 2/Uref\" \"occurrence component 1 (abs)\" "
    "\"occurrence component 2 (abs)\" \"occurrence component 1 (norm)\" "
    "\"occurrence component 2 (norm)\" [labels]\n",
    10};
static const ResultHeader direction_fluctuation_header{
    "# ORVA fluctuations of wind direction derived from LDA time series\n", false, false, 2,
    "# \"deviation in %s-direction\" \"normalized frequency of occurence\" [labels]\n", 9};

const ResultHeader& result_header_of(ResultKind kind) {
  switch (kind) {
    case ResultKind::time_series:
      return time_series_header;
    case ResultKind::statistics:
      return statistics_header;
    case ResultKind::power_spectrum:
      return power_spectrum_header;
    case ResultKind::speed_fluctuation:
      return speed_fluctuation_header;
    case ResultKind::direction_fluctuation:
      return direction_fluctuation_header;
  }
  assert(false && "unknown result kind");
  return time_series_header;
}

static void write_blank_lines(std::FILE* file, int count) {
  for (int i = 0; i < count; ++i) std::fputs("# \n", file);
}

// "# <value> <label>\n"; a value that is not finite shows the marker.
static void write_value_line(std::FILE* file, const ValueText& value, const char* label) {
  std::fprintf(file, "# %s %s\n", value.text, label);
}

// Lines 1 to 15, common to both forms.
static void write_general_information(std::FILE* file, const ResultHeader& header,
                                      const RunSettings& settings, const MeasurementInfo& info) {
  std::fputs(header.title_line, file);
  std::fputs("# \n# ********** DATA DESCRIPTION **********\n", file);
  write_blank_lines(file, 5);
  std::fputs("# ********** GENERAL INFORMATION **********\n", file);
  std::fprintf(file, "# %s [main project name]\n", info.main_project);
  std::fprintf(file, "# %s [sub project name]\n", info.sub_project);
  // The description check admits only "K" and "H".
  if (std::strcmp(info.wind_tunnel, "K") == 0)
    std::fputs("# KESTREL [wind tunnel facility]\n", file);
  else if (std::strcmp(info.wind_tunnel, "H") == 0)
    std::fputs("# HARRIER [wind tunnel facility]\n", file);
  std::fprintf(file, "# 1:%i [model - scale]\n", settings.ml_scl);
  const double ref_ht = settings.ref_ht;  // m, model scale
  write_value_line(file, value_text("%5.2lf", settings.ml_scl * ref_ht), "[zref - full scale [m]]");
  write_value_line(file, value_text("%5.2lf", ref_ht * 1000.0), "[zref - model scale [mm]]");
}

// The reference lengths and the UTM zone (lines 18 to 20 of the full form).
static void write_reference_lengths(std::FILE* file, const RunSettings& settings) {
  std::fputs("# 1.0 [Lref - model scale [m]]\n", file);
  std::fprintf(file, "# %i [Lref - full scale [m]]\n", settings.ml_scl);
  std::fputs("# # [utm zone]\n", file);
}

// The warning lines of each position class; with the empty comment line
// before them and the filler after them every class gives ten lines.
constexpr int max_warning_line_count = 3;
static const char* const position_warnings[4][max_warning_line_count] = {
    {},
    {"# ATTENTION: in case of an approach flow measurement,\n",
     "#            timeseries is not adequate for boundary layer characterization!\n",
     "#            (position below 1.5 height of roughness elements)\n"},
    {"# ATTENTION: handle with care,\n", "#            flow might be out of the prandtl layer!\n",
     "#            (position within ]100 m; 150 m] height in full scale)\n"},
    {"# ATTENTION: flow is out of the model area (prandtl layer)!\n",
     "#            (position above 150 m height in full scale)\n"},
};

static void write_position_note(std::FILE* file, int position_class) {
  assert(position_class >= 0 && position_class <= 3);
  std::fputs("# \n", file);
  int line_count = 1;
  for (const char* line : position_warnings[position_class]) {
    if (line == nullptr) break;
    std::fputs(line, file);
    ++line_count;
  }
  write_blank_lines(file, 10 - line_count);
}

// The labels line with its "%s" (if any) replaced by component_2, copied
// rather than used as a format.
static void write_labels_line(std::FILE* file, const char* labels_line,
                              const MeasurementInfo& info) {
  const char* placeholder = std::strstr(labels_line, "%s");
  if (placeholder == nullptr) {
    std::fputs(labels_line, file);
    return;
  }
  std::fprintf(file, "%.*s%s%s", static_cast<int>(placeholder - labels_line), labels_line,
               info.component_2, placeholder + 2);
}

// Line 44: only the pairs UV, UW and VW have one.
static void write_confidence_line(std::FILE* file, const RunSettings& settings,
                                  const MeasurementInfo& info) {
  const char* pair_name = nullptr;
  switch (component_pair_of(info)) {
    case ComponentPair::u_v:
      pair_name = "{U,V}";
      break;
    case ComponentPair::u_w:
      pair_name = "{U,W}";
      break;
    case ComponentPair::v_w:
      pair_name = "{V,W}";
      break;
    case ComponentPair::other:
      return;
  }
  std::fprintf(file, "# %s %s [confidence intervall %s/Uref[-]]\n",
               value_text("%5.3lf", static_cast<double>(settings.repro1)).text,
               value_text("%5.3lf", static_cast<double>(settings.repro2)).text, pair_name);
}

static void write_concentration_placeholders(std::FILE* file) {
  std::fputs(
      "# ********** CONCENTRATION MEASUREMENTS **********\n"
      "# # [measurement type]\n"
      "# # [number of columns]\n"
      "# # [labels]\n"
      "# # [released gas]\n"
      "# # [source strength [l/h]]\n"
      "# # [release duration [s]]\n"
      "# # [number of released puffs]\n"
      "# # [number of detected puffs, which dosage exceeds the dosage threshold]\n"
      "# # [discard threshold/minimum dosage - model scale [ppmvs] ]\n"
      "# # [source location X - model scale [mm]]\n"
      "# # [source location Y - model scale [mm]]\n"
      "# # [source location Z - model scale [mm]]\n"
      "# # [source location X - full scale [m]]\n"
      "# # [source location Y - full scale [m]]\n"
      "# # [source location Z - full scale [m]]\n"
      "# # [source location utm Easting [m]]\n"
      "# # [source location utm Northing [m]]\n"
      "# # [measurement location X - model scale [mm]]\n"
      "# # [measurement location Y - model scale [mm]]\n"
      "# # [measurement location Z - model scale [mm]]\n"
      "# # [measurement location X - full scale [m]]\n"
      "# # [measurement location Y - full scale [m]]\n"
      "# # [measurement location Z - full scale [m]]\n"
      "# # [measurement location utm Easting [m]]\n"
      "# # [measurement location utm Northing [m]]\n"
      "# # [1E-6 * confidence intervall [-]]\n",
      file);
}

static void write_flow_measurements(std::FILE* file, const ResultHeader& header,
                                    const RunSettings& settings, const MeasurementInfo& info,
                                    const SeriesBuffers& buffers) {
  std::fputs("# ********** FLOW MEASUREMENTS **********\n", file);
  if (header.type_with_principle)
    std::fprintf(file, "# %s (%s)[measurement type]\n", info.meas_type, info.principle);
  else
    std::fprintf(file, "# %s [measurement type]\n", info.meas_type);
  std::fprintf(file, "# %i [number of columns]\n", header.column_count);
  write_labels_line(file, header.labels_line, info);
  std::fprintf(file, "# %s%s [measured components]\n", info.component_1, info.component_2);

  double x = leading_double(buffers.pos_x);
  double y = leading_double(buffers.pos_y);
  double z = leading_double(buffers.pos_z);
  write_value_line(file, value_text("%5.2lf", x), "[measurement location X - model scale [mm]]");
  write_value_line(file, value_text("%5.2lf", y), "[measurement location Y - model scale [mm]]");
  write_value_line(file, value_text("%5.2lf", z), "[measurement location Z - model scale [mm]]");
  write_value_line(file, value_text("%5.2lf", x / 1000.0 * settings.ml_scl),
                   "[measurement location X - full scale [m]]");
  write_value_line(file, value_text("%5.2lf", y / 1000.0 * settings.ml_scl),
                   "[measurement location Y - full scale [m]]");
  write_value_line(file, value_text("%5.2lf", z / 1000.0 * settings.ml_scl),
                   "[measurement location Z - full scale [m]]");
  std::fputs("# # [measurement location utm Easting [m]]\n", file);
  std::fputs("# # [measurement location utm Northing [m]]\n", file);
  write_confidence_line(file, settings, info);
}

static void write_date_and_end(std::FILE* file, const SeriesBuffers& buffers) {
  std::fprintf(file, "# %s [date of measurement]\n", buffers.meas_date);
  std::fputs("# ********** END OF HEADER **********\n", file);
}

void write_result_header(std::FILE* file, const ResultHeader& header, const RunSettings& settings,
                         const MeasurementInfo& info, const SeriesBuffers& buffers,
                         float u_prandtl) {
  write_general_information(file, header, settings, info);
  if (header.is_short_form) {
    write_value_line(file, value_text("%5.2lf", wind_direction_degrees(info)),
                     "[wind direction [\xB0]]");
    write_reference_lengths(file, settings);
    write_blank_lines(file, 10);
    write_date_and_end(file, buffers);
    return;
  }
  const double uref = reference_velocity(u_prandtl, settings);
  write_value_line(file, value_text("%5.2lf", uref), "[Uref - model [m/s]]");
  write_value_line(file, value_text("%5.2lf", wind_direction_degrees(info)),
                   "[approach flow direction [\xB0]]");
  write_reference_lengths(file, settings);
  write_position_note(file, info.position_class);
  write_flow_measurements(file, header, settings, info, buffers);
  write_blank_lines(file, header.trailing_blank_count);
  write_concentration_placeholders(file);
  write_blank_lines(file, 8);
  write_date_and_end(file, buffers);
}

ResultFile open_series_result_file(const char* directory, const char* ending, ResultKind kind,
                                   const RunSettings& settings, const MeasurementInfo& info,
                                   const SeriesBuffers& buffers, float u_prandtl) {
  char base[result_path_capacity];
  result_name_base(settings, info, base, sizeof base);
  char name[result_path_capacity];
  format_name(name, sizeof name, "%s_%s%s", base, buffers.series_nbr, ending);
  ResultFile file = open_result_file(directory, name, ResultFileMode::replace);
  write_result_header(file.handle, result_header_of(kind), settings, info, buffers, u_prandtl);
  return file;
}
