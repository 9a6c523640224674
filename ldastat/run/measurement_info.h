// MeasurementInfo: the measurement description of "logbook-info.txt".
//
// Ten one-word text fields read once at start-up, the measurement suffix
// derived from the name, and the position class of the current series.
#pragma once

#include "ldastat/run/run_settings.h"

constexpr int description_word_capacity = 19;  // characters of one description word
constexpr int description_part_capacity = 3999;  // a longer line counts as several lines

struct MeasurementInfo {
  char main_project[description_word_capacity + 1];    // line 2
  char sub_project[description_word_capacity + 1];     // line 3
  char wind_tunnel[description_word_capacity + 1];     // line 4: "K" or "H"
  char meas_type[description_word_capacity + 1];       // line 5: "FL"
  char principle[description_word_capacity + 1];       // line 6: "LDA", "PIV" or "NUM"
  char instrument[description_word_capacity + 1];      // line 7
  char wind_direction[description_word_capacity + 1];  // line 8: tenths of a degree, as text
  char component_1[description_word_capacity + 1];     // line 9: "U", "V" or "W"
  char component_2[description_word_capacity + 1];     // line 10
  char correlation[description_word_capacity + 1];     // line 11: "cor" or "ncor"
  char meas_suffix[4];                                 // last three characters of meas_c
  int position_class;                                  // 0..3, set per series
};

// Reads "logbook-info.txt" from the working directory: the first word of
// lines 2 to 11 (leading blanks and tabs skipped, the word ends at a blank,
// tab or line end; an empty line gives an empty word). Ends the run with
// status 8 when the file cannot be opened or a used word is longer than 19
// characters.
void read_logbook(MeasurementInfo& info);

// Same as read_logbook, from the given path (for tests and fuzzing).
void read_logbook_file(MeasurementInfo& info, const char* path);

// Checks the coded entries and prints the description; ends the run with
// the documented status on the first unknown entry, and with status 8 on a
// word that would lead a result-file name out of the measurement directory.
void check_description(const MeasurementInfo& info);

// meas_suffix = the last three characters of meas_c (at least three long).
void split_measurement_name(MeasurementInfo& info, const RunSettings& settings);

// Sets position_class from the height text of the current series.
//   3: full-scale height above pl_max, 2: above pl_min,
//   1: below 1.5 roughness heights, 0: otherwise.
void classify_position(MeasurementInfo& info, const char* pos_z, const RunSettings& settings);

// The approach-flow direction in degrees: the leading integer of the
// wind_direction text divided by 10.0.
double wind_direction_degrees(const MeasurementInfo& info);
