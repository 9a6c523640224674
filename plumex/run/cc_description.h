// CcDescription: the measurement description "logbook-info_cc.txt".
//
// Entry k is the first word of line k (white space before it skipped, the
// word ending at the next white space); a line without a word, or a line
// the file does not have, leaves its entry empty. Lines are read in parts of
// at most 4999 characters, each part counting as a line, so that a word
// never exceeds description_word_capacity and is never cut.
#pragma once

constexpr int description_word_capacity = 4999;
constexpr const char* description_file_name = "logbook-info_cc.txt";

struct CcDescription {
  char main_project[description_word_capacity + 1];  // line 2
  char sub_project[description_word_capacity + 1];   // line 3
  char wind_tunnel[description_word_capacity + 1];   // line 4, printed unchanged
  char meas_type[description_word_capacity + 1];     // line 5
  char wind_direction[description_word_capacity + 1];  // line 8: tenths of a degree, as text
  int wind_direction_tenths;                            // leading integer of line 8
  double wind_direction_deg;                            // wind_direction_tenths / 10.0
  char released_gas[description_word_capacity + 1];     // line 9
  char gas_factor_text[description_word_capacity + 1];  // line 10
  double gas_factor;                                    // its leading number
  char release_mode[description_word_capacity + 1];     // line 11: "plume"/"PLUME" or "puff"/"PUFF"
  char source_name[description_word_capacity + 1];      // line 12, first field of the result-file name
  char release_x[description_word_capacity + 1];        // lines 13 to 15: source location, model scale, mm
  char release_y[description_word_capacity + 1];
  char release_z[description_word_capacity + 1];
  double source_x;  // leading numbers of release_x, release_y, release_z, mm
  double source_y;
  double source_z;
};

// Reads `path` into `description` and prints "logbook-information file
// opened!". A file that cannot be opened ends the run (status 1) with
// "logbook-information file aborted!".
void read_description_file(const char* path, CcDescription& description);

// read_description_file on description_file_name in the working directory.
void read_description(CcDescription& description);

enum class ReleaseMode { plume, puff, unknown };

// "plume"/"PLUME" and "puff"/"PUFF"; every other word, "Puff" included, is unknown.
ReleaseMode release_mode_of(const CcDescription& description);
