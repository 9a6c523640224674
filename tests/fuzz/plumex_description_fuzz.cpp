// Fuzzes "logbook-info_cc.txt": the input bytes are the description file.
// Every entry the reader leaves must be one terminated word, and the
// numbers derived from it must agree with their texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "plumex/run/cc_description.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  // The record holds 13 words of 5000 bytes: on the heap, filled with a
  // pattern, so that a field the reader forgets shows up.
  static std::unique_ptr<CcDescription> description = std::make_unique<CcDescription>();
  std::memset(description.get(), 0x55, sizeof *description);
  std::string path = write_fuzz_file(description_file_name, data, size);
  try {
    read_description_file(path.c_str(), *description);
  } catch (const FuzzRefusal&) {
    return;
  }
  const char* words[] = {description->main_project, description->sub_project,
                         description->wind_tunnel,  description->meas_type,
                         description->wind_direction, description->released_gas,
                         description->gas_factor_text, description->release_mode,
                         description->source_name,  description->release_x,
                         description->release_y,    description->release_z};
  for (const char* word : words)
    fuzz_require(is_one_word(word, description_word_capacity + 1), "an entry is not one word");
  fuzz_require(description->wind_direction_deg == description->wind_direction_tenths / 10.0,
               "wind direction in degrees differs from its tenths");
  (void)release_mode_of(*description);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
