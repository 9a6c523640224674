#include "ldastat/input/reference_velocity.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "ldastat/run/console.h"

// A longer line is read in several parts, and every part counts as a line.
constexpr int reference_part_capacity = 3999;
// The file name: meas_c and "_wtref.txt".
constexpr int reference_name_capacity = meas_c_capacity + 10;

// The fourth item of a row read as "%i %s %lf %lf", or 0.0 when the row does
// not give it. A value that is not finite as a float (nan, inf, beyond the
// float range) would spread through every normalised result, so it counts
// as unreadable too.
static double prandtl_velocity_of_row(const char* row) {
  double velocity = 0.0;
  if (std::sscanf(row, "%*i %*s %*f %lf", &velocity) != 1) return 0.0;
  if (!std::isfinite(velocity) || std::fabs(velocity) > std::numeric_limits<float>::max())
    return 0.0;
  return velocity;
}

float read_reference_velocity(const RunSettings& settings, int series_counter) {
  char name[reference_name_capacity + 1];
  std::snprintf(name, sizeof name, "%s_wtref.txt", settings.meas_c);
  std::FILE* file = std::fopen(name, "r");
  if (file == nullptr)
    fail_run(exit_component_2_or_reference_file, "\n opening ref-file: %s aborted!\n", name);
  std::printf(" ref-file: %s opened!\n", name);

  // Line 1 is the header; line k + 1 is data row k, chosen by its position.
  int wanted_row = settings.ts_stn + series_counter;
  double velocity = 0.0;
  char part[reference_part_capacity + 1];
  for (int line = 1; std::fgets(part, sizeof part, file) != nullptr; ++line) {
    if (line - 1 == wanted_row) {
      velocity = prandtl_velocity_of_row(part);
      break;
    }
  }
  // A file that opens but cannot be read (a directory of that name) is
  // refused like a missing one rather than read as a table without rows.
  bool is_unreadable = std::ferror(file) != 0;
  std::fclose(file);
  if (is_unreadable)
    fail_run(exit_component_2_or_reference_file, "\n reading ref-file: %s aborted!\n", name);

  float u_prandtl = static_cast<float>(velocity);
  // Uref is formed, like everywhere it is used, as a product of two floats.
  float u_reference = u_prandtl * settings.sc_fac;
  std::printf(" U (prandtl-tube): %5.2lf m/s\n", static_cast<double>(u_prandtl));
  std::printf(" U (reference)   : %5.2lf m/s\n", static_cast<double>(u_reference));
  return u_prandtl;
}
