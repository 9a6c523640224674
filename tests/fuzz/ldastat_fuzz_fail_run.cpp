// Fuzz-build fail_run of LDASTAT. The harnesses compile ldastat/run/console.cpp
// with its fail_run renamed (see CMakeLists.txt) and link this one instead:
// it prints the message as the program does, then throws the refusal back
// into the harness instead of ending the process, so that one refused input
// does not end the fuzzing run. The programs never link this file.
#include <cstdarg>
#include <cstdio>

#include "ldastat/run/console.h"
#include "tests/fuzz/fuzz_support.h"

void fail_run(int status, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  fuzz_require(status != exit_ok, "a refusal with exit status 0");
  throw FuzzRefusal{status};
}
