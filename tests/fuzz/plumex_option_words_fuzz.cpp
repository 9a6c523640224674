// Fuzzes the PLUMEX option words: the input is split at line ends into
// words (any number: PLUMEX takes every word), parsed and the pressure
// converted, as the entry does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plumex/run/cc_settings.h"
#include "tests/fuzz/fuzz_support.h"

static void run_input(const std::uint8_t* data, std::size_t size) {
  fuzz_directory();  // silences the console protocol
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      words.emplace_back();
    else
      words.back() += static_cast<char>(data[i]);
  }
  std::vector<const char*> pointers;
  for (const std::string& word : words) pointers.push_back(word.c_str());

  static CcSettings settings;
  set_default_cc_settings(settings);
  try {
    parse_cc_option_words(settings, static_cast<int>(pointers.size()), pointers.data());
  } catch (const FuzzRefusal&) {
    return;
  }
  convert_pressure(settings);
  fuzz_require(is_terminated(settings.INPUTF, sizeof settings.INPUTF), "INPUTF not terminated");
  fuzz_require(is_terminated(settings.NUMBER, sizeof settings.NUMBER), "NUMBER not terminated");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return run_fuzz_input(run_input, data, size);
}
