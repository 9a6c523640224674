// Records and helpers for the tests of the LDASTAT result writers: the
// writers are called directly with records filled by the test, in a
// temporary working directory.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ldastat/input/series_buffers.h"
#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"
#include "tests/support/program_run.h"

// One SeriesBuffers for the whole test program (far too large to allocate
// per test). Tests set the counts and the samples they use.
inline SeriesBuffers& shared_series_buffers() {
  static SeriesBuffers* buffers = allocate_series_buffers();
  return *buffers;
}

template <std::size_t N>
void set_text(char (&field)[N], const char* text) {
  std::snprintf(field, N, "%s", text);
}

// The description of the examples: proj/sub, tunnel K, FL with LDA,
// instrument lda1, direction 2700, suffix "017" (meas_c "tunnel_run017").
inline MeasurementInfo example_info(const char* component_1, const char* component_2) {
  MeasurementInfo info{};
  set_text(info.main_project, "proj");
  set_text(info.sub_project, "sub");
  set_text(info.wind_tunnel, "K");
  set_text(info.meas_type, "FL");
  set_text(info.principle, "LDA");
  set_text(info.instrument, "lda1");
  set_text(info.wind_direction, "2700");
  set_text(info.component_1, component_1);
  set_text(info.component_2, component_2);
  set_text(info.correlation, "cor");
  set_text(info.meas_suffix, "017");
  info.position_class = 0;
  return info;
}

inline RunSettings example_settings() {
  RunSettings settings;
  set_default_settings(settings);
  set_measurement_name(settings, "tunnel_run017");
  return settings;
}

// Location texts, date and series number of the current series.
inline SeriesBuffers& example_series(const char* pos_x, const char* pos_y, const char* pos_z,
                                     const char* series_nbr = "03") {
  SeriesBuffers& buffers = shared_series_buffers();
  set_text(buffers.pos_x, pos_x);
  set_text(buffers.pos_y, pos_y);
  set_text(buffers.pos_z, pos_z);
  set_text(buffers.meas_date, "11.12.2026");
  set_text(buffers.series_nbr, series_nbr);
  buffers.raw_count[0] = 0;
  buffers.resampled_count = 0;
  return buffers;
}

// A fresh temporary directory that is the working directory while the
// object lives.
struct WorkingDirectory {
  TempDirectory directory;
  std::string previous;
  WorkingDirectory() {
    char here[4096];
    if (getcwd(here, sizeof here) != nullptr) previous = here;
    if (chdir(directory.path.c_str()) != 0) std::abort();
  }
  ~WorkingDirectory() {
    if (!previous.empty() && chdir(previous.c_str()) != 0) std::abort();
  }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;
  std::string file(const std::string& name) const { return directory.file(name); }
  void make_directory(const std::string& name) const {
    if (mkdir(directory.file(name).c_str(), 0755) != 0) std::abort();
  }
};

struct ForkedRun {
  int exit_status;     // -1 when the child did not exit normally
  std::string output;  // its standard output
};

// Runs `body` in a child process (so that a fatal exit ends only the
// child) and captures its standard output.
template <typename Body>
ForkedRun run_forked(Body body) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) std::abort();
  std::fflush(stdout);
  pid_t child = fork();
  if (child < 0) std::abort();
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    body();
    std::fflush(stdout);
    _exit(0);
  }
  close(pipe_ends[1]);
  ForkedRun run{-1, {}};
  char chunk[4096];
  ssize_t got;
  while ((got = read(pipe_ends[0], chunk, sizeof chunk)) > 0)
    run.output.append(chunk, static_cast<std::size_t>(got));
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

// The lines of a file with their line ends removed.
inline std::vector<std::string> file_lines(const std::string& path) {
  return split_lines(read_file(path));
}
