#include "ldastat/run/measurement_info.h"

#include <cstdio>
#include <cstring>

#include "ldastat/run/console.h"
#include "ldastat/run/number_text.h"

namespace {

constexpr int first_used_line = 2;
constexpr int last_used_line = 11;

// Copies the first word of `line` into `word` and returns its full length.
std::size_t first_word(const char* line, char* word, std::size_t capacity) {
  while (*line == ' ' || *line == '\t') ++line;
  std::size_t length = 0;
  while (line[length] != '\0' && line[length] != ' ' && line[length] != '\t' &&
         line[length] != '\n' && line[length] != '\r')
    ++length;
  std::size_t kept = length < capacity ? length : capacity;
  std::memcpy(word, line, kept);
  word[kept] = '\0';
  return length;
}

char* field_of_line(MeasurementInfo& info, int line) {
  char* fields[] = {info.main_project, info.sub_project, info.wind_tunnel, info.meas_type,
                    info.principle,    info.instrument,  info.wind_direction,
                    info.component_1,  info.component_2, info.correlation};
  return fields[line - first_used_line];
}

}  // namespace

void read_logbook_file(MeasurementInfo& info, const char* path) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) fail_run(exit_description_file, "\nlogbook-information file aborted!\n");
  std::printf(" logbook-information file opened!\n");
  for (int line = first_used_line; line <= last_used_line; ++line) field_of_line(info, line)[0] = '\0';

  char part[description_part_capacity + 1];
  int line = 0;
  bool is_too_long = false;
  int too_long_line = 0;
  while (std::fgets(part, sizeof part, file) != nullptr) {
    ++line;
    if (line < first_used_line || line > last_used_line) continue;
    std::size_t length = first_word(part, field_of_line(info, line), description_word_capacity);
    if (length > description_word_capacity && !is_too_long) {
      is_too_long = true;
      too_long_line = line;
    }
  }
  // A file that opens but cannot be read (a directory of that name) gives
  // no entries at all; it is refused like a missing file, not checked.
  bool is_unreadable = std::ferror(file) != 0;
  std::fclose(file);
  if (is_unreadable)
    fail_run(exit_description_file, "\nlogbook-information file cannot be read: aborted!\n");
  if (is_too_long)
    fail_run(exit_description_file,
             "\n logbook-information file: the first word of line %i is longer than %i "
             "characters!\n",
             too_long_line, description_word_capacity);
}

void read_logbook(MeasurementInfo& info) { read_logbook_file(info, "logbook-info.txt"); }

static bool leaves_directory(const char* word) {
  return std::strchr(word, '/') != nullptr || std::strchr(word, '\\') != nullptr ||
         std::strcmp(word, "..") == 0;
}

void check_description(const MeasurementInfo& info) {
  std::printf("\n\n main project    : %s\n", info.main_project);
  std::printf(" sub project     : %s\n", info.sub_project);

  if (std::strcmp(info.wind_tunnel, "K") == 0)
    std::printf(" wind tunnel     : Kestrel\n\n");
  else if (std::strcmp(info.wind_tunnel, "H") == 0)
    std::printf(" wind tunnel     : Harrier\n\n");
  else
    fail_run(exit_wind_tunnel, " wind tunnel     : not identifyable!");

  if (std::strcmp(info.meas_type, "FL") == 0)
    std::printf(" measurement     : flow measurement\n");
  else
    fail_run(exit_measurement_type_or_series_file, " measurement     : not identifyable!");

  auto is_component = [](const char* name) {
    return std::strcmp(name, "U") == 0 || std::strcmp(name, "V") == 0 ||
           std::strcmp(name, "W") == 0;
  };
  if (!is_component(info.component_1))
    fail_run(exit_component_1_or_unequal_counts, " wind component 1: not identifyable!");
  std::printf(" wind component 1: %s\n", info.component_1);
  if (!is_component(info.component_2))
    fail_run(exit_component_2_or_reference_file, " wind component 2: not identifyable!");
  std::printf(" wind component 2: %s\n", info.component_2);

  std::printf(" wind direction  : %5.1lf deg\n\n", wind_direction_degrees(info));

  if (std::strcmp(info.principle, "LDA") == 0)
    std::printf(" principle of measurement: laser doppler anemometry\n");
  else if (std::strcmp(info.principle, "PIV") == 0)
    std::printf(" principle of measurement: particle image velocimetry\n");
  else if (std::strcmp(info.principle, "NUM") == 0)
    std::printf(" principle of measurement: numerical simulation\n");
  else
    fail_run(exit_principle, " principle of measurement: not identifyable!");

  std::printf(" instrument              : %s\n\n", info.instrument);

  if (std::strcmp(info.correlation, "cor") == 0)
    std::printf("                           correlated measurement\n");
  else if (std::strcmp(info.correlation, "ncor") == 0)
    std::printf("                           not a correlated measurement\n");
  else
    fail_run(exit_correlation_or_series_number, " status of correlation not identifyable!");

  // These words become parts of result-file names.
  struct Named {
    const char* label;
    const char* word;
  };
  const Named named[] = {{"main project", info.main_project}, {"sub project", info.sub_project},
                         {"wind tunnel", info.wind_tunnel},   {"measurement type", info.meas_type},
                         {"wind component 1", info.component_1},
                         {"wind component 2", info.component_2},
                         {"instrument", info.instrument},     {"wind direction", info.wind_direction},
                         {"correlation", info.correlation}};
  for (const Named& entry : named)
    if (leaves_directory(entry.word))
      fail_run(exit_description_file,
               "\n logbook-information file: the %s \"%s\" must not contain \"/\" or \"\\\" "
               "or be \"..\" (it is part of the result-file names)!\n",
               entry.label, entry.word);
}

void split_measurement_name(MeasurementInfo& info, const RunSettings& settings) {
  std::size_t length = std::strlen(settings.meas_c);
  const char* tail = length >= 3 ? settings.meas_c + length - 3 : settings.meas_c;
  std::size_t kept = std::strlen(tail) < 3 ? std::strlen(tail) : 3;
  std::memcpy(info.meas_suffix, tail, kept);
  info.meas_suffix[kept] = '\0';
}

void classify_position(MeasurementInfo& info, const char* pos_z, const RunSettings& settings) {
  double z = leading_double(pos_z);
  double z_fs = z / 1000.0 * settings.ml_scl;
  double h = 1.5 * static_cast<double>(settings.rel_ht);
  if (z_fs > static_cast<double>(settings.pl_max))
    info.position_class = 3;
  else if (z_fs > static_cast<double>(settings.pl_min))
    info.position_class = 2;
  else if (z < h)
    info.position_class = 1;
  else
    info.position_class = 0;
}

double wind_direction_degrees(const MeasurementInfo& info) {
  return leading_int(info.wind_direction) / 10.0;
}
