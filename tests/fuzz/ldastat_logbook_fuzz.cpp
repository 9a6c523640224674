// Fuzzes "logbook-info.txt": the input bytes are the description file. It is
// read, checked and, when accepted, turned into the stems of the long
// result-file names, as the start-up and the writers do.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "ldastat/stats/result_file.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  static MeasurementInfo info;
  static RunSettings settings;
  std::memset(&info, 0x55, sizeof info);  // the reader must set every field itself
  set_default_settings(settings);
  set_measurement_name(settings, "fuzz_m01");

  std::string path = write_fuzz_file("logbook-info.txt", data, size);
  try {
    read_logbook_file(info, path.c_str());
    const char* fields[] = {info.main_project, info.sub_project, info.wind_tunnel,
                            info.meas_type,    info.principle,   info.instrument,
                            info.wind_direction, info.component_1, info.component_2,
                            info.correlation};
    for (const char* field : fields)
      fuzz_require(is_one_word(field, description_word_capacity + 1), "a field is not one word");
    check_description(info);
    split_measurement_name(info, settings);
    char stem[result_path_capacity];
    long_name_stem(info, stem, sizeof stem);
    fuzz_require(std::strchr(stem, '/') == nullptr && std::strchr(stem, '\\') == nullptr,
                 "an accepted description leads a result file out of its directory");
    long_zone_stem(info, stem, sizeof stem);
  } catch (const FuzzRefusal&) {
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
