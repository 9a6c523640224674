#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

static std::string scratch_directory;

static void remove_scratch_directory() {
  std::error_code ignored;
  if (!scratch_directory.empty()) fs::remove_all(scratch_directory, ignored);
}

const std::string& fuzz_directory() {
  if (!scratch_directory.empty()) return scratch_directory;
  // Memory-backed where available: the harnesses write a file per input.
  const char* base = fs::is_directory("/dev/shm") ? "/dev/shm" : nullptr;
  std::string pattern =
      (base != nullptr ? fs::path(base) : fs::temp_directory_path()) / "wt_fuzz_XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr || chdir(name.data()) != 0) {
    std::perror("fuzz scratch directory");
    std::abort();
  }
  scratch_directory = name.data();
  std::atexit(remove_scratch_directory);
  // Standard input from /dev/null: a key wait never waits under the fuzzer.
  if (std::freopen("/dev/null", "w", stdout) == nullptr ||
      std::freopen("/dev/null", "r", stdin) == nullptr)
    std::abort();
  return scratch_directory;
}

std::string write_fuzz_file(const char* name, const std::uint8_t* data, std::size_t size) {
  std::string path = fuzz_directory() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  fuzz_require(file != nullptr, "cannot create the input file");
  if (size > 0) fuzz_require(std::fwrite(data, 1, size, file) == size, "cannot write the input file");
  fuzz_require(std::fclose(file) == 0, "cannot close the input file");
  return path;
}

void fuzz_require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

bool is_terminated(const char* text, std::size_t capacity) {
  return std::memchr(text, '\0', capacity) != nullptr;
}

int open_descriptor_count() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

bool is_one_word(const char* text, std::size_t capacity) {
  if (!is_terminated(text, capacity)) return false;
  return std::strpbrk(text, " \t\r\n") == nullptr;
}

int run_fuzz_input(void (*run)(const std::uint8_t*, std::size_t), const std::uint8_t* data,
                   std::size_t size) {
  int descriptors = open_descriptor_count();
  run(data, size);
  fuzz_require(open_descriptor_count() == descriptors, "the input left a file open");
  return 0;
}
