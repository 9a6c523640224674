// Console helpers of LDASTAT: the fatal exit and the key wait.
#pragma once

#include <cstddef>

// Exit statuses of LDASTAT. The values 1 to 6 and 8 carry the meaning that
// stored scripts test for; 7 and 9 are refusals of this program.
enum ExitStatus : int {
  exit_ok = 0,
  exit_wind_tunnel = 1,
  exit_measurement_type_or_series_file = 2,
  exit_component_1_or_unequal_counts = 3,
  exit_component_2_or_reference_file = 4,
  exit_principle = 5,
  exit_correlation_or_series_number = 6,
  exit_command_line = 7,
  exit_description_file = 8,
  exit_result_file = 9,
  exit_out_of_memory = 10,
};

// Prints the formatted message to standard output, flushes it and ends the
// process with `status`.
[[noreturn]] void fail_run(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Zeroed memory for `count` values of `size` bytes, allocated once for the
// run and never freed (calloc: pages are only touched when used). Ends the
// run with status 10 when the machine cannot give it.
void* allocate_run_memory(std::size_t count, std::size_t size, const char* what);

// Waits until a key is pressed, without consuming it, but only when standard
// input is a terminal: a run from a script or CI never waits.
void wait_for_key_if_terminal();
