// Fuzzes the LDASTAT option words: the input is split at line ends into at
// most 25 words (the most a call may give), parsed, and checked as the
// start-up does.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  fuzz_directory();  // silences the console protocol
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < size && words.size() <= max_option_word_count; ++i) {
    if (data[i] == '\n')
      words.emplace_back();
    else
      words.back() += static_cast<char>(data[i]);
  }
  if (words.size() > max_option_word_count) words.resize(max_option_word_count);
  std::vector<const char*> pointers;
  for (const std::string& word : words) pointers.push_back(word.c_str());

  static RunSettings settings;
  static MeasurementInfo info;
  set_default_settings(settings);
  parse_option_words(settings, static_cast<int>(pointers.size()), pointers.data());
  fuzz_require(is_terminated(settings.meas_c, sizeof settings.meas_c), "meas_c not terminated");
  try {
    check_confidence_level(settings);
    check_run_options(settings);
    if (settings.rfn_op == 1)
      fuzz_require(std::strpbrk(settings.meas_c, "/\\") == nullptr,
                   "accepted short names that leave the result directories");
    split_measurement_name(info, settings);
    fuzz_require(std::strlen(info.meas_suffix) == 3, "accepted name without a three-character suffix");
  } catch (const FuzzRefusal&) {
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
