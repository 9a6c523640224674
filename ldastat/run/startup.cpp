#include "ldastat/run/startup.h"

#include <cstdio>
#include <cstring>

#include "ldastat/run/console.h"
#include "ldastat/run/dialog.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "ldastat/run/series_loop.h"

static const char ldastat_version[] = "1.0.0";

int run_ldastat(int argc, const char* const* argv) {
  int word_count = argc - 1;
  const char* const* words = argv + 1;
  if (word_count == 1 && (std::strcmp(words[0], "--help") == 0 || std::strcmp(words[0], "-h") == 0)) {
    print_usage();
    return exit_ok;
  }
  if (word_count == 1 && std::strcmp(words[0], "--version") == 0) {
    std::printf("LDASTAT %s\n", ldastat_version);
    return exit_ok;
  }
  if (word_count > max_option_word_count) refuse_program_call();

  static RunSettings settings;
  set_default_settings(settings);
  parse_option_words(settings, word_count, words);
  check_confidence_level(settings);
  bool is_interactive = word_count == 0;
  if (!is_interactive) check_run_options(settings);
  create_result_directories(settings);
  print_banner();
  if (is_interactive) {
    run_dialog(settings);
    check_run_options(settings);
    // The outputs switched on in the dialog need their directories too.
    create_result_directories(settings);
  }

  static MeasurementInfo info;
  read_logbook(info);
  check_description(info);
  split_measurement_name(info, settings);
  bool is_flow = std::strcmp(info.meas_type, "FL") == 0;
  if (is_flow && std::strcmp(info.principle, "LDA") == 0) run_series_loop(settings, info);
  if (is_flow && std::strcmp(info.principle, "NUM") == 0) run_series_loop(settings, info);
  std::printf("\n Goodbye!\n");
  std::fflush(stdout);
  return exit_ok;
}
