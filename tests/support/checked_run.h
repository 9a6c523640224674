// A program run between two snapshots of its directory, with the checks
// every run on hostile input must pass.
#pragma once

#include <string>
#include <vector>

#include "tests/support/directory_snapshot.h"
#include "tests/support/program_run.h"

struct CheckedRun {
  ProgramRun run;
  DirectorySnapshot before;  // the directory before the run
  DirectorySnapshot after;   // and after it
};

// Runs `program` with `words` in `directory` and expects (GoogleTest
// failures otherwise) exit status `status`, a console output holding
// `fragment`, and no "nan" or "inf" in any file the run wrote.
CheckedRun run_and_check(const std::string& program, const std::vector<std::string>& words,
                         const std::string& directory, int status, const std::string& fragment);
