// Running a built program in a directory, and small file helpers for tests.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
  int exit_status;     // the program's exit status (-1 when it did not exit normally)
  std::string output;  // everything it wrote to standard output
};

// Runs `program` with `words` in `directory`, feeding `input` to its
// standard input (so that it is never a terminal), and captures its output.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& words,
                       const std::string& directory, const std::string& input = "");

// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the object goes out of scope.
struct TempDirectory {
  std::string path;
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  std::string file(const std::string& name) const { return path + "/" + name; }
};

void write_text_file(const std::string& path, const std::string& text);
void write_binary_file(const std::string& path, const std::vector<unsigned char>& bytes);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
std::vector<std::string> split_lines(const std::string& text);
// Names of the entries of a directory, recursively, relative to it, sorted.
std::vector<std::string> list_files(const std::string& directory);
