// Shared pieces of the libFuzzer harnesses.
//
// A harness works in a private scratch directory (created on first use, the
// process changes into it, removed when the process ends) and with standard
// output sent to /dev/null, so that the programs' console protocol costs
// little and files written by one input never meet the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Thrown by the fuzz build's replacement of a program's fatal exit: the
// input was refused with `status`. Never thrown in a program build.
struct FuzzRefusal {
  int status;
};

// The private directory (absolute path); the first call creates it, changes
// into it, silences standard output and takes standard input from /dev/null.
const std::string& fuzz_directory();

// Writes `size` bytes to `name` inside the private directory (replacing an
// earlier file) and returns the file's absolute path.
std::string write_fuzz_file(const char* name, const std::uint8_t* data, std::size_t size);

// Aborts the process (a finding for libFuzzer) with `what` on standard error
// when `condition` is false. Used for the invariants a reader promises.
void fuzz_require(bool condition, const char* what);

// True when `text` ends with a zero byte within its `capacity` bytes.
bool is_terminated(const char* text, std::size_t capacity);

// True when `text` is terminated within `capacity` bytes and holds no
// blank, tab or line end: one word of a description file (or none).
bool is_one_word(const char* text, std::size_t capacity);

// The number of open file descriptors of the process. A harness compares
// it before and after an input: a reader that does not close its file on
// every path would exhaust the descriptors of a long run.
int open_descriptor_count();

// Runs one input through `run` and aborts when it left a descriptor open;
// the body of every LLVMFuzzerTestOneInput.
int run_fuzz_input(void (*run)(const std::uint8_t*, std::size_t), const std::uint8_t* data,
                   std::size_t size);
