#include <gtest/gtest.h>

#include "tests/support/program_run.h"

TEST(startup, version_word_prints_version) {
  TempDirectory dir;
  ProgramRun run = run_program(LDASTAT_PATH, {"--version"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, "LDASTAT 1.0.0\n");
}
