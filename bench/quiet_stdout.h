// Benchmarks of operations that print console lines: the lines go to
// /dev/null while the object lives, so that the report stays readable.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

struct QuietStdout {
  int saved;
  QuietStdout() {
    std::fflush(stdout);
    saved = dup(STDOUT_FILENO);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;
};
