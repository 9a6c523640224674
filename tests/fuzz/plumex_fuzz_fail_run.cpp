// Fuzz-build fail_run of PLUMEX. The harnesses compile plumex/run/console.cpp
// with its fail_run renamed (see CMakeLists.txt) and link this one instead:
// it prints the message as the program does, then throws the refusal back
// into the harness instead of ending the process. The program never links
// this file.
#include <cstdarg>
#include <cstdio>

#include "plumex/run/console.h"
#include "tests/fuzz/fuzz_support.h"

void fail_run(int status, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  fuzz_require(status == cc_exit_failure, "a PLUMEX refusal with a status other than 1");
  throw FuzzRefusal{status};
}
