// PLUMEX: evaluation of one concentration measurement of a plume or of a
// train of puffs.
//
// The run, in its fixed order (each step leaves its record for the next):
//   read_description      -> CcDescription, before the options are parsed
//   set_default_cc_settings, parse_cc_option_words, convert_pressure -> CcSettings
//   print_banner, print_settings_protocol
//   open_series, read_series            -> CcSeries with c_eff
// then by the release mode of the description, plume:
//   average_plume_blocks -> PlumeBlocks; write_plume_result
// or puff:
//   extract_releases, check_releases, measure_release_durations -> ReleaseSet
//   correct_release_offset, average_release_blocks, detect_puffs -> PuffEvaluation
//   write_puff_result
// Every fatal condition prints its message and ends the run with status 1.
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "plumex/processing/plume.h"
#include "plumex/processing/puff.h"
#include "plumex/processing/releases.h"
#include "plumex/run/cc_description.h"
#include "plumex/run/cc_series.h"
#include "plumex/run/cc_settings.h"
#include "plumex/run/console.h"
#include "plumex/run/protocol.h"

static const char plumex_version[] = "1.0.0";

static bool has_word(int word_count, const char* const* words, const char* wanted) {
  for (int w = 0; w < word_count; ++w)
    if (std::strcmp(words[w], wanted) == 0) return true;
  return false;
}

static void evaluate_plume(CcSettings& settings, const CcDescription& description, const CcSeries& series) {
  static PlumeBlocks blocks;
  average_plume_blocks(settings, series, blocks);
  write_plume_result(settings, description, series, blocks);
}

static void evaluate_puffs(CcSettings& settings, const CcDescription& description, const CcSeries& series) {
  static ReleaseSet releases;
  extract_releases(settings, series, releases);
  check_releases(settings, releases);
  measure_release_durations(series, releases);
  static PuffEvaluation puffs;
  correct_release_offset(settings, series, releases, puffs);
  average_release_blocks(settings, series, releases, puffs);
  detect_puffs(settings, releases, puffs);
  write_puff_result(settings, description, series, releases, puffs);
}

static int run_plumex(int word_count, const char* const* words) {
  if (word_count == 0) {
    std::printf("\n\n\a\a\a wrong program call!\n");
    std::printf("\n program will be aborted!\n");
    wait_for_key_if_terminal();
    return cc_exit_failure;
  }
  // Neither word can be an option word: its key matches no option.
  if (has_word(word_count, words, "--help") || has_word(word_count, words, "-h")) {
    print_cc_usage();
    return cc_exit_ok;
  }
  if (has_word(word_count, words, "--version")) {
    std::printf("PLUMEX %s\n", plumex_version);
    return cc_exit_ok;
  }

  static CcDescription description;
  read_description(description);
  static CcSettings settings;
  set_default_cc_settings(settings);
  parse_cc_option_words(settings, word_count, words);
  convert_pressure(settings);
  print_banner();
  print_settings_protocol(settings, description);

  static CcSeries series;
  std::FILE* series_file = open_series(settings);
  read_series(series_file, settings, series);

  ReleaseMode mode = release_mode_of(description);
  if (mode == ReleaseMode::unknown)
    fail_run(cc_exit_failure,
             "\n Release mode \"%s\" (line 11 of %s) is none of \"puff\", \"PUFF\", \"plume\", \"PLUME\":"
             " nothing is evaluated!\n",
             description.release_mode, description_file_name);
  if (settings.BLCKSZ < 1)
    fail_run(cc_exit_failure, "\n Block size BLCKSZ %i: at least 1 sample per block is needed!\n", settings.BLCKSZ);
  if (mode == ReleaseMode::puff)
    evaluate_puffs(settings, description, series);
  else
    evaluate_plume(settings, description, series);

  std::printf("\n\n\n Goodbye!\n");
  std::fflush(stdout);
  return cc_exit_ok;
}

int main(int argc, char** argv) {
  try {
    return run_plumex(argc - 1, argv + 1);
  } catch (const std::bad_alloc&) {
    std::printf("\n Not enough memory for this series!\n");
  } catch (const std::exception& error) {
    std::printf("\n Unexpected failure: %s!\n", error.what());
  }
  std::fflush(stdout);
  return cc_exit_failure;
}
