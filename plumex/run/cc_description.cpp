#include "plumex/run/cc_description.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "plumex/run/console.h"
#include "plumex/run/leading_number.h"

static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Copies the first word of `line` into `word` (empty when there is none).
static void copy_first_word(const char* line, char* word) {
  while (is_space(*line)) ++line;
  std::size_t length = 0;
  while (line[length] != '\0' && !is_space(line[length])) ++length;
  std::memcpy(word, line, length);
  word[length] = '\0';
}

void read_description_file(const char* path, CcDescription& description) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) fail_run(cc_exit_failure, "\nlogbook-information file aborted!\n");
  std::printf("logbook-information file opened!\n\n");

  char* entries[] = {nullptr,
                     description.main_project,
                     description.sub_project,
                     description.wind_tunnel,
                     description.meas_type,
                     nullptr,
                     nullptr,
                     description.wind_direction,
                     description.released_gas,
                     description.gas_factor_text,
                     description.release_mode,
                     description.source_name,
                     description.release_x,
                     description.release_y,
                     description.release_z};
  constexpr int entry_count = sizeof entries / sizeof entries[0];
  for (char* entry : entries)
    if (entry != nullptr) entry[0] = '\0';

  auto line = std::make_unique<char[]>(description_word_capacity + 1);
  for (int k = 0; k < entry_count && std::fgets(line.get(), description_word_capacity + 1, file) != nullptr; ++k)
    if (entries[k] != nullptr) copy_first_word(line.get(), entries[k]);
  std::fclose(file);

  description.wind_direction_tenths = leading_int(description.wind_direction);
  description.wind_direction_deg = description.wind_direction_tenths / 10.0;
  description.gas_factor = leading_double(description.gas_factor_text);
  description.source_x = leading_double(description.release_x);
  description.source_y = leading_double(description.release_y);
  description.source_z = leading_double(description.release_z);
}

void read_description(CcDescription& description) { read_description_file(description_file_name, description); }

ReleaseMode release_mode_of(const CcDescription& description) {
  const char* mode = description.release_mode;
  if (std::strcmp(mode, "puff") == 0 || std::strcmp(mode, "PUFF") == 0) return ReleaseMode::puff;
  if (std::strcmp(mode, "plume") == 0 || std::strcmp(mode, "PLUME") == 0) return ReleaseMode::plume;
  return ReleaseMode::unknown;
}
