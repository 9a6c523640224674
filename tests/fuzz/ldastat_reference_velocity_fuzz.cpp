// Fuzzes the reference velocity file: the first input byte picks the series
// (1 to 45, the numbers the series loop lets through), the rest is the file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ldastat/input/reference_velocity.h"
#include "ldastat/run/run_settings.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  static RunSettings settings;
  set_default_settings(settings);
  set_measurement_name(settings, "fz1");
  settings.ts_stn = 1;
  int series_counter = data[0] % 45;

  write_fuzz_file("fz1_wtref.txt", data + 1, size - 1);
  try {
    float u_prandtl = read_reference_velocity(settings, series_counter);
    (void)std::isfinite(u_prandtl);
  } catch (const FuzzRefusal&) {
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
