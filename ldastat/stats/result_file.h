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
#include "ldastat/run/run_settings.h"

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
  ResultFile& operator=(ResultFile&& other) noexcept;  // closes a file this one holds
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

// The name base of a result file: long_name_stem with rfn_op 0, meas_c
// with rfn_op 1 (start-up admits no other value).
void result_name_base(const RunSettings& settings, const MeasurementInfo& info, char* out,
                      std::size_t capacity);

// The marker of a quantity the file layout provides for but the series does
// not give, as "%6.3lf" writes 999.999.
constexpr const char* marker_text = "999.999";

// One formatted value of a result row.
constexpr int value_text_capacity = 352;  // "%6.8lf" of the largest double fits
struct ValueText {
  char text[value_text_capacity];
};

// The single double argument in `format`, or marker_text when it is NaN or
// infinite: a result file never shows "nan" or "inf".
ValueText value_text(const char* format, ...) __attribute__((format(printf, 1, 2)));
