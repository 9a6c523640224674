// RunSettings: the run parameters of LDASTAT, one field per option key.
//
// Filled once at start-up (defaults, command-line words, or the dialog) and
// read-only while series are processed. "float" fields are 32-bit on
// purpose: a value is converted as a double and rounded to float when
// stored, and that rounding shows in the results (999.999 is held as
// 999.9990234375). conf_i alone is a double.
#pragma once

constexpr int meas_c_capacity = 49;        // characters of the measurement name
constexpr int max_option_word_count = 25;  // words after the program name
constexpr int max_fft_length = 1500000;    // the series capacity
constexpr int max_class_count = 1500000;   // classes of a distribution, at most one per sample

struct RunSettings {
  char meas_c[meas_c_capacity + 1];  // measurement name, prefix of the input files
  int meas_c_length;                 // length of the name as given (may exceed the capacity)
  int ts_nbr;                        // number of series to process
  int ts_stn;                        // number of the first series
  int ml_scl;                        // model scale, the N of 1:N
  float ref_ht;                      // reference height, m, model scale
  float sc_fac;                      // scaling factor: Uref = u_prandtl * sc_fac
  float l_char;                      // characteristic length, m (kept, unused)
  float rel_ht;                      // height of the roughness elements, mm, model scale
  float pl_min;                      // lower prandtl-layer limit, m, full scale
  float pl_max;                      // upper prandtl-layer limit, m, full scale
  double conf_i;                     // confidence level, %
  int cn_dir;                        // classes of the wind-direction distribution
  int cn_spd;                        // classes of the wind-speed distribution, 0: computed
  int fft_nn;                        // samples per FFT segment
  float repro1;                      // reproducibility of component 1, m/s (999.999: none)
  float repro2;                      // reproducibility of component 2, m/s
  int o_stat;                        // switches: on only when exactly 1
  int o_tims;
  int o_spec;
  int o_fluc;
  int o_hist;
  int o_deft;
  int o_tsrs;
  int o_auto;
  int o_osub;
  int rfn_op;  // result-file naming: 0 long names, 1 short names
};

// A switch counts as on only when it holds exactly 1.
inline bool is_on(int switch_value) { return switch_value == 1; }

// Sets every field to its documented default.
void set_default_settings(RunSettings& settings);

// Stores the measurement name (cut at the capacity; meas_c_length keeps the
// given length so that check_run_options can refuse an overlong name).
void set_measurement_name(RunSettings& settings, const char* name);

// Parses the option words first to last: key = the first seven characters,
// value = the rest; a key matches only in its all-upper or all-lower form;
// unknown keys are ignored; a repeated key keeps its last value.
void parse_option_words(RunSettings& settings, int word_count, const char* const* words);

// Ends the run (exit status 7) when conf_i is not exactly 90, 95 or 99.
void check_confidence_level(const RunSettings& settings);

// Ends the run (exit status 7) with a clear message on an option that cannot
// work: fft_nn (when o_spec is on), cn_dir (o_fluc), cn_spd (o_hist),
// rfn_op, a measurement name shorter than 3 or longer than 49 characters, and
// with short names (rfn_op 1) a measurement name holding "/" or "\\".
void check_run_options(const RunSettings& settings);

// Creates the result directories whose switches are on; failures are silent.
void create_result_directories(const RunSettings& settings);

void print_banner();
void print_usage();

// The refusal of a call with too many words: texts, key wait, exit status 7.
[[noreturn]] void refuse_program_call();
