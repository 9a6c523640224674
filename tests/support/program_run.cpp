#include "tests/support/program_run.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

static std::string shell_quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

ProgramRun run_program(const std::string& program, const std::vector<std::string>& words,
                       const std::string& directory, const std::string& input) {
  std::string input_path = directory + "/.stdin_of_test";
  write_text_file(input_path, input);
  std::string command = "cd " + shell_quote(directory) + " && " + shell_quote(program);
  for (const std::string& word : words) command += " " + shell_quote(word);
  command += " < " + shell_quote(input_path) + " 2>/dev/null";
  ProgramRun run{-1, {}};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("popen failed");
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  int status = pclose(pipe);
  fs::remove(input_path);
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

TempDirectory::TempDirectory() {
  std::string pattern = (fs::temp_directory_path() / "wt_test_XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = name.data();
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  // Make read-only test directories removable again.
  for (auto it = fs::recursive_directory_iterator(path, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path, ignored);
}

void write_text_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

void write_binary_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool file_exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> list_files(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(directory))
    names.push_back(fs::relative(entry.path(), directory).string());
  std::sort(names.begin(), names.end());
  return names;
}
