// Fuzzes the binary series reader: the input bytes are the series file.
// Whatever the bytes, the reader either refuses them through fail_run or
// leaves terminated location texts and channel counts within capacity; the
// position class is then derived from the height text as the loop does.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "ldastat/input/series_buffers.h"
#include "ldastat/input/series_file.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  // The buffers are far too large to clear for every input: the reader
  // overwrites what it reads, and nothing here looks past the counts.
  static SeriesBuffers* buffers = allocate_series_buffers();
  static RunSettings settings;
  static MeasurementInfo info;
  set_default_settings(settings);

  std::string path = write_fuzz_file("fz.01.bin", data, size);
  fuzz_require(path.size() <= series_file_capacity, "scratch path too long for series_file");
  std::memcpy(buffers->series_file, path.c_str(), path.size() + 1);
  std::memcpy(buffers->series_nbr, "01", 3);
  std::memset(buffers->raw_count, 0, sizeof buffers->raw_count);
  try {
    read_series_file(*buffers);
  } catch (const FuzzRefusal&) {
    return;
  }
  fuzz_require(is_terminated(buffers->pos_x, sizeof buffers->pos_x), "pos_x not terminated");
  fuzz_require(is_terminated(buffers->pos_y, sizeof buffers->pos_y), "pos_y not terminated");
  fuzz_require(is_terminated(buffers->pos_z, sizeof buffers->pos_z), "pos_z not terminated");
  fuzz_require(is_terminated(buffers->meas_date, sizeof buffers->meas_date),
               "meas_date not terminated");
  fuzz_require(buffers->channel_count == read_channels, "channel_count is not 4");
  for (int c = 0; c < read_channels; ++c) {
    fuzz_require(buffers->raw_count[c] >= 0 && buffers->raw_count[c] <= max_series_samples,
                 "channel count outside the capacity");
    fuzz_require(buffers->raw_count[c] == buffers->raw_count[0], "unequal counts accepted");
  }
  // Accepted samples come from the file: 8 bytes each, four channels.
  fuzz_require(static_cast<std::size_t>(buffers->raw_count[0]) * 32 <= size,
               "more samples accepted than the file holds");
  classify_position(info, buffers->pos_z, settings);
  fuzz_require(info.position_class >= 0 && info.position_class <= 3, "position class outside 0..3");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
