#include "tests/support/checked_run.h"

#include <gtest/gtest.h>

CheckedRun run_and_check(const std::string& program, const std::vector<std::string>& words,
                         const std::string& directory, int status, const std::string& fragment) {
  CheckedRun checked;
  checked.before = take_snapshot(directory);
  checked.run = run_program(program, words, directory);
  checked.after = take_snapshot(directory);
  EXPECT_EQ(checked.run.exit_status, status) << checked.run.output;
  EXPECT_NE(checked.run.output.find(fragment), std::string::npos)
      << "missing \"" << fragment << "\" in:\n"
      << checked.run.output;
  EXPECT_EQ(files_with_non_finite_numbers(written_files(checked.before, checked.after)),
            std::vector<std::string>{});
  return checked;
}
