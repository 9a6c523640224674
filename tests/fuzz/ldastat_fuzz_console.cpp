// Fuzz-build replacement of ldastat/run/console.cpp, linked into the
// harnesses instead of it: fail_run prints its message as the program does,
// then throws the refusal back into the harness instead of ending the
// process, so that one refused input does not end the fuzzing run. The
// harnesses catch it; the programs never link this file.
#include <cstdarg>
#include <cstdio>

#include "ldastat/run/console.h"
#include "tests/fuzz/fuzz_support.h"

void fail_run(int status, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  fuzz_require(status >= exit_wind_tunnel && status <= exit_result_file,
               "fail_run with an undocumented exit status");
  throw FuzzRefusal{status};
}

// Standard input is never a terminal under the fuzzer.
void wait_for_key_if_terminal() {}
