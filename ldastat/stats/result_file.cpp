#include "ldastat/stats/result_file.h"

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <utility>

#include "ldastat/run/console.h"

ResultFile::ResultFile(ResultFile&& other) noexcept : handle(other.handle) {
  std::memcpy(path, other.path, sizeof path);
  other.handle = nullptr;
}

ResultFile& ResultFile::operator=(ResultFile&& other) noexcept {
  if (this != &other) {
    if (handle != nullptr) std::fclose(handle);
    handle = std::exchange(other.handle, nullptr);
    std::memcpy(path, other.path, sizeof path);
  }
  return *this;
}

ResultFile::~ResultFile() {
  if (handle != nullptr) std::fclose(handle);
}

void format_name(char* out, std::size_t capacity, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  int length = std::vsnprintf(out, capacity, format, args);
  va_end(args);
  if (length < 0 || static_cast<std::size_t>(length) >= capacity)
    fail_run(exit_result_file, "\n result-file name too long: \"%.60s...\"\n", out);
}

ResultFile open_result_file(const char* directory, const char* name, ResultFileMode mode) {
  ResultFile file;
  format_name(file.path, sizeof file.path, "%s%c%s", directory, result_path_separator, name);
  file.handle = std::fopen(file.path, mode == ResultFileMode::append ? "a" : "w");
  if (file.handle == nullptr)
    fail_run(exit_result_file, "\n result file \"%s\" cannot be created: %s!\n", file.path,
             std::strerror(errno));
  return file;
}

void close_result_file(ResultFile& file) {
  std::FILE* handle = std::exchange(file.handle, nullptr);
  if (handle == nullptr) return;
  bool failed = std::ferror(handle) != 0;
  if (std::fclose(handle) != 0) failed = true;
  if (failed) fail_run(exit_result_file, "\n result file \"%s\" could not be written!\n", file.path);
}

void long_name_stem(const MeasurementInfo& info, char* out, std::size_t capacity) {
  format_name(out, capacity, "%s_%s_%s_%s_%s%s_%s_%s_%s", info.main_project, info.sub_project,
              info.wind_tunnel, info.meas_type, info.component_1, info.component_2,
              info.instrument, info.wind_direction, info.meas_suffix);
}

void long_zone_stem(const MeasurementInfo& info, char* out, std::size_t capacity) {
  format_name(out, capacity, "%s_%s_%s_%s_%s_%s_%s_%s_%s", info.main_project, info.sub_project,
              info.wind_tunnel, info.meas_type, info.component_1, info.component_2,
              info.instrument, info.wind_direction, info.meas_suffix);
}

void result_name_base(const RunSettings& settings, const MeasurementInfo& info, char* out,
                      std::size_t capacity) {
  if (settings.rfn_op == 1)
    format_name(out, capacity, "%s", settings.meas_c);
  else
    long_name_stem(info, out, capacity);
}

ValueText value_text(const char* format, ...) {
  ValueText value;
  std::va_list args;
  va_start(args, format);
  std::va_list peek;
  va_copy(peek, args);
  double number = va_arg(peek, double);
  va_end(peek);
  int length;
  if (std::isfinite(number))
    length = std::vsnprintf(value.text, sizeof value.text, format, args);
  else
    length = std::snprintf(value.text, sizeof value.text, "%s", marker_text);
  va_end(args);
  assert(length >= 0 && length < value_text_capacity);
  (void)length;
  return value;
}
