// Fuzzes the six-column series reader of PLUMEX: the input bytes are the
// file named by INPUTF. The reader either refuses it or holds one sample
// per line part, at least two of them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"
#include "plumex/run/series_scanner.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  static CcSettings settings;
  set_default_cc_settings(settings);
  convert_pressure(settings);
  std::string path = write_fuzz_file("series.txt", data, size);
  fuzz_require(path.size() <= cc_text_option_capacity, "scratch path too long for INPUTF");
  std::memcpy(settings.INPUTF, path.c_str(), path.size() + 1);

  // Line parts as the reader counts them: a part ends after a line end or
  // after line_part_capacity characters.
  int parts = 0;
  std::size_t length = 0;
  for (std::size_t i = 0; i < size; ++i) {
    ++length;
    if (data[i] == '\n' || length == line_part_capacity) {
      ++parts;
      length = 0;
    }
  }
  if (length > 0) ++parts;

  CcSeries series;
  try {
    std::FILE* file = open_series(settings);
    read_series(file, settings, series);
  } catch (const FuzzRefusal&) {
    fuzz_require(parts < 2, "a series of two or more lines refused");
    return;
  }
  fuzz_require(series.count == parts, "sample count differs from the line parts");
  fuzz_require(series.count >= 2, "a series of fewer than two lines accepted");
  for (int i = 0; i < series.count; ++i) (void)(series.time[i] + series.trigger[i] + series.effective[i]);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
