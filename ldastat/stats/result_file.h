// The one opener of LDASTAT result files, and the name parts they share.
//
// Every result file is opened through open_result_file and closed through
// close_result_file (or by the destructor of ResultFile on any other path).
// A file that cannot be created, or a write that fails, ends the run with
// status 9 and a message naming the file: nothing is ever written through a
// null handle.
#pragma once

#include <cstddef>
#include <cstdio>

#include "ldastat/run/measurement_info.h"

constexpr int result_path_capacity = 512;

#if defined(_WIN32)
constexpr char result_path_separator = '\\';
#else
constexpr char result_path_separator = '/';
#endif

enum class ResultFileMode { replace, append };

struct ResultFile {
  std::FILE* handle = nullptr;
  char path[result_path_capacity] = {};

  ResultFile() = default;
  ResultFile(const ResultFile&) = delete;
  ResultFile& operator=(const ResultFile&) = delete;
  ResultFile(ResultFile&& other) noexcept;
  ~ResultFile();
};

// Formats into a fixed buffer; a text that does not fit ends the run with
// status 9 (a cut file name would silently write somewhere else).
void format_name(char* out, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Opens "directory<sep>name" in text mode, replacing or appending.
ResultFile open_result_file(const char* directory, const char* name, ResultFileMode mode);

// Checks for write errors, closes the file; a failure ends the run (status 9).
void close_result_file(ResultFile& file);

// "main_sub_tunnel_type_C1C2_instrument_direction_suffix": the stem shared by
// the long result-file names (components joined without separator).
void long_name_stem(const MeasurementInfo& info, char* out, std::size_t capacity);

// "main_sub_tunnel_type_C1_C2_instrument_direction_suffix": the stem of the
// long zone titles (components separated by an underscore).
void long_zone_stem(const MeasurementInfo& info, char* out, std::size_t capacity);
