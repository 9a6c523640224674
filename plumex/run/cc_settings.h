// CcSettings: the run settings of PLUMEX, one field per option key.
//
// Filled once at start-up (defaults, then the command-line words, then the
// pressure conversion) and read-only afterwards, except REPRO_, which
// normalise_reproducibility rewrites once before the result file is written.
#pragma once

constexpr int cc_text_option_capacity = 299;  // characters of INPUTF and NUMBER
constexpr int cc_option_key_count = 23;
// An exact comparison with this value means that no reproducibility was given.
constexpr double repro_not_given = 999.99;
constexpr double mmhg_to_pa = 133.32236842105263;

struct CcSettings {
  char INPUTF[cc_text_option_capacity + 1];  // six-column series file, relative to the working directory
  int POINT_;                                // number of the measuring point (result-file name only)
  char NUMBER[cc_text_option_capacity + 1];  // number of the measurement (last field of the result-file name)
  double SAMPLE;                             // sampling frequency, Hz
  double D_SAMP;                             // consecutive lines lie D_SAMP / SAMPLE s apart
  int BLCKSZ;                                // samples averaged into one output value
  double T_OPEN;                             // hold-off time after an accepted release trigger, s
  double X_MEAS;                             // measurement location, model scale, mm
  double Y_MEAS;
  double Z_MEAS;                             // height of the measurement location, model scale, mm
  int SCALE_;                                // model scale denominator N of 1:N
  double SC_FAC;                             // reference velocity = prandtl-tube velocity * SC_FAC
  double REFHGT;                             // reference height, model scale, m
  double REFLTH;                             // reference length L of the normalisation, m (0: not given)
  double THRHLD;                             // dosage threshold of the puff detection, ppmv s
  double T_NDLE;                             // time correction subtracted from every output time, s
  double T_OFFS;                             // offset window at the start of each release, s
  double P_OFFS;                             // concentration offset of the plume mode, ppmv
  double TEMP__;                             // air temperature, degrees Celsius
  double PRESS_;                             // air pressure: mmHg as given, hPa after convert_pressure
  double REPRO_;                             // reproducibility, ppmv (999.99: none); normalised later
  double COEF_A;                             // slope of the source-flow calibration, (l/h)/V
  double COEF_B;                             // offset of the source-flow calibration, l/h
};

// Sets every field to its default (PRESS_ in mmHg: 760.0).
void set_default_cc_settings(CcSettings& settings);

// Parses the option words first to last: key = the first seven characters
// (the whole word when shorter), value = the rest. A key matches only in its
// all-upper or all-lower form; other words are ignored; a repeated key keeps
// its last value. Numbers are leading numbers (0 without one). A text value
// longer than cc_text_option_capacity ends the run (status 1): a cut file
// name would read or write another file.
void parse_cc_option_words(CcSettings& settings, int word_count, const char* const* words);

// PRESS_ from mmHg to hPa; called once, after parsing.
void convert_pressure(CcSettings& settings);

// The short usage text of --help: the call and every key with its default.
void print_cc_usage();
