#include <gtest/gtest.h>

#include "tests/support/program_run.h"

TEST(plumex_placeholder, program_exists) {
  TempDirectory dir;
  ProgramRun run = run_program(PLUMEX_PATH, {}, dir.path);
  EXPECT_NE(run.exit_status, -1);
}
