// Console helpers of PLUMEX: the fatal exit and the key wait.
#pragma once

// Exit statuses of PLUMEX: every fatal condition ends the run with 1.
enum CcExitStatus : int {
  cc_exit_ok = 0,
  cc_exit_failure = 1,
};

// Prints the formatted message to standard output, flushes it and ends the
// process with `status`.
[[noreturn]] void fail_run(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Waits until a key is pressed, without consuming it, but only when standard
// input is a terminal: a run from a script or CI never waits.
void wait_for_key_if_terminal();

// The pause after a missing input file: a prompt and a key wait, both only
// when standard input is a terminal. No shell command is run.
void pause_for_key();
