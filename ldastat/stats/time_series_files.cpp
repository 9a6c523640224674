#include "ldastat/stats/time_series_files.h"

#include "ldastat/stats/component_pair.h"
#include "ldastat/stats/result_file.h"
#include "ldastat/stats/result_header.h"

// Columns: I, T* = AT * Uref / Lref (Lref = 1.0 m, absolute arrival time),
// then U, V and W divided by Uref; the unmeasured one holds the marker.
void write_series_file(const SeriesBuffers& buffers, const RunSettings& settings,
                       const MeasurementInfo& info, float u_prandtl) {
  ResultFile file = open_series_result_file("TS", "_ORVA.ts", ResultKind::time_series, settings,
                                            info, buffers, u_prandtl);

  if (component_pair_of(info) == ComponentPair::other) {
    close_result_file(file);
    return;
  }
  // A measured component has its own column (U, V or W); the pairs differ
  // only in which column holds the marker.
  std::fputs(
      "VARIABLES= \"I [-]\" \"T<sup>*</sup> [-]\" \"U/U<sub>ref</sub> [-]\" "
      "\"V/U<sub>ref</sub> [-]\" \"W/U<sub>ref</sub> [-]\"\n",
      file.handle);

  const double uref = reference_velocity(u_prandtl, settings);
  const double reference_length = 1.0;  // m, the header's "Lref - model scale"
  const int slot_u = component_slot(info, "U");
  const int slot_v = component_slot(info, "V");
  const int slot_w = component_slot(info, "W");
  for (int i = 0; i < buffers.raw_count[0]; ++i) {
    ValueText time = value_text("%lf", buffers.raw[0][i] * uref / reference_length);
    ValueText measured[2] = {value_text("%5.4lf", buffers.raw[2][i] / uref),
                             value_text("%5.4lf", buffers.raw[3][i] / uref)};
    auto column = [&measured](int slot) { return slot < 0 ? marker_text : measured[slot].text; };
    std::fprintf(file.handle, "%i   %s   %s   %s   %s\n", i, time.text, column(slot_u),
                 column(slot_v), column(slot_w));
  }
  close_result_file(file);
}

// Columns: k, grid time in ms (absolute), the two held components in m/s.
void write_resampled_file(const SeriesBuffers& buffers, const MeasurementInfo& info) {
  char stem[result_path_capacity];
  long_name_stem(info, stem, sizeof stem);
  char name[result_path_capacity];
  format_name(name, sizeof name, "%s_%s_resamp_ORVA.ts", stem, buffers.series_nbr);
  ResultFile file = open_result_file("TS_resamp", name, ResultFileMode::replace);

  if (component_pair_of(info) == ComponentPair::other) {
    close_result_file(file);
    return;
  }
  std::fprintf(file.handle, "VARIABLES= \"i [-]\" \"AT [ms]\" \"%s [m/s]\" \"%s [m/s]\"\n",
               info.component_1, info.component_2);
  for (int k = 0; k < buffers.resampled_count; ++k)
    std::fprintf(file.handle, "%i      %s      %s    %s\n", k,
                 value_text("%5.3lf", buffers.resampled[0][k] * 1000.0).text,
                 value_text("%5.3lf", buffers.resampled[2][k]).text,
                 value_text("%5.3lf", buffers.resampled[3][k]).text);
  close_result_file(file);
}
