#include "ldastat/run/run_settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "ldastat/run/console.h"
#include "ldastat/run/number_text.h"

#if defined(_WIN32)
#include <direct.h>
#else
#include <sys/stat.h>
#endif

void set_default_settings(RunSettings& s) {
  std::memset(&s, 0, sizeof s);
  s.ts_nbr = 1;
  s.ts_stn = 1;
  s.ml_scl = 1;
  s.ref_ht = 1.0f;
  s.sc_fac = 1.0f;
  s.l_char = 1.0f;
  s.rel_ht = 0.0f;
  s.pl_min = 100.0f;
  s.pl_max = 100.0f;
  s.conf_i = 95.0;
  s.cn_dir = 360;
  s.cn_spd = 0;
  s.fft_nn = 16384;
  s.repro1 = static_cast<float>(999.999);
  s.repro2 = static_cast<float>(999.999);
  s.o_stat = 1;
}

void set_measurement_name(RunSettings& settings, const char* name) {
  std::size_t length = std::strlen(name);
  settings.meas_c_length = length > 100000 ? 100000 : static_cast<int>(length);
  std::size_t kept = length > meas_c_capacity ? meas_c_capacity : length;
  std::memcpy(settings.meas_c, name, kept);
  settings.meas_c[kept] = '\0';
}

namespace {

enum class FieldType { text, integer, single, dual };

struct OptionKey {
  const char* upper;
  const char* lower;
  FieldType type;
  std::size_t offset;
};

#define FIELD(name) offsetof(RunSettings, name)
const OptionKey option_keys[] = {
    {"MEAS_C:", "meas_c:", FieldType::text, FIELD(meas_c)},
    {"TS_NBR:", "ts_nbr:", FieldType::integer, FIELD(ts_nbr)},
    {"TS_STN:", "ts_stn:", FieldType::integer, FIELD(ts_stn)},
    {"ML_SCL:", "ml_scl:", FieldType::integer, FIELD(ml_scl)},
    {"REF_HT:", "ref_ht:", FieldType::single, FIELD(ref_ht)},
    {"SC_FAC:", "sc_fac:", FieldType::single, FIELD(sc_fac)},
    {"L_CHAR:", "l_char:", FieldType::single, FIELD(l_char)},
    {"REL_HT:", "rel_ht:", FieldType::single, FIELD(rel_ht)},
    {"CN_SPD:", "cn_spd:", FieldType::integer, FIELD(cn_spd)},
    {"CONF_I:", "conf_i:", FieldType::dual, FIELD(conf_i)},
    {"CN_DIR:", "cn_dir:", FieldType::integer, FIELD(cn_dir)},
    {"FFT_NN:", "fft_nn:", FieldType::integer, FIELD(fft_nn)},
    {"REPRO1:", "repro1:", FieldType::single, FIELD(repro1)},
    {"REPRO2:", "repro2:", FieldType::single, FIELD(repro2)},
    {"PL_MIN:", "pl_min:", FieldType::single, FIELD(pl_min)},
    {"PL_MAX:", "pl_max:", FieldType::single, FIELD(pl_max)},
    {"O_STAT:", "o_stat:", FieldType::integer, FIELD(o_stat)},
    {"O_TIMS:", "o_tims:", FieldType::integer, FIELD(o_tims)},
    {"O_SPEC:", "o_spec:", FieldType::integer, FIELD(o_spec)},
    {"O_FLUC:", "o_fluc:", FieldType::integer, FIELD(o_fluc)},
    {"O_HIST:", "o_hist:", FieldType::integer, FIELD(o_hist)},
    {"O_DEFT:", "o_deft:", FieldType::integer, FIELD(o_deft)},
    {"O_TSRS:", "o_tsrs:", FieldType::integer, FIELD(o_tsrs)},
    {"O_AUTO:", "o_auto:", FieldType::integer, FIELD(o_auto)},
    {"O_OSUB:", "o_osub:", FieldType::integer, FIELD(o_osub)},
    {"RFN_OP:", "rfn_op:", FieldType::integer, FIELD(rfn_op)},
};
#undef FIELD

constexpr int key_length = 7;

void store_value(RunSettings& settings, const OptionKey& key, const char* value) {
  char* field = reinterpret_cast<char*>(&settings) + key.offset;
  switch (key.type) {
    case FieldType::text:
      set_measurement_name(settings, value);
      break;
    case FieldType::integer: {
      int number = leading_int(value);
      std::memcpy(field, &number, sizeof number);
      break;
    }
    case FieldType::single: {
      float number = leading_float(value);
      std::memcpy(field, &number, sizeof number);
      break;
    }
    case FieldType::dual: {
      double number = leading_double(value);
      std::memcpy(field, &number, sizeof number);
      break;
    }
  }
}

}  // namespace

void parse_option_words(RunSettings& settings, int word_count, const char* const* words) {
  for (int w = 0; w < word_count; ++w) {
    const char* word = words[w];
    std::size_t length = std::strlen(word);
    char key[key_length + 1];
    std::size_t key_size = length < key_length ? length : key_length;
    std::memcpy(key, word, key_size);
    key[key_size] = '\0';
    const char* value = word + key_size;
    for (const OptionKey& option : option_keys) {
      if (std::strcmp(key, option.upper) == 0 || std::strcmp(key, option.lower) == 0) {
        store_value(settings, option, value);
        break;
      }
    }
  }
}

static const char abort_line[] = "\n program will be aborted!\n";

void check_confidence_level(const RunSettings& settings) {
  if (settings.conf_i == 90.0 || settings.conf_i == 95.0 || settings.conf_i == 99.0) return;
  std::printf("\n\n\a\a\a confidence interval must be set to:\n 90, 95 or 99%%\n");
  std::printf("%s", abort_line);
  wait_for_key_if_terminal();
  fail_run(exit_command_line, "%s", "");
}

static bool is_power_of_two(int n) { return n > 0 && (n & (n - 1)) == 0; }

void check_run_options(const RunSettings& s) {
  if (s.meas_c_length < 3 || s.meas_c_length > meas_c_capacity)
    fail_run(exit_command_line,
             "\n measurement name \"%s\" must have 3 to %i characters (it has %i)!\n%s",
             s.meas_c, meas_c_capacity, s.meas_c_length, abort_line);
  // Short result-file names begin with the measurement name.
  if (s.rfn_op == 1 &&
      (std::strchr(s.meas_c, '/') != nullptr || std::strchr(s.meas_c, '\\') != nullptr))
    fail_run(exit_command_line,
             "\n measurement name \"%s\" must not contain \"/\" or \"\\\" with rfn_op:1 (it is "
             "part of the result-file names)!\n%s",
             s.meas_c, abort_line);
  if (is_on(s.o_spec) && (!is_power_of_two(s.fft_nn) || s.fft_nn < 2 || s.fft_nn > max_fft_length))
    fail_run(exit_command_line,
             "\n fft_nn:%i is not possible: the number of samples for FFT must be a power of two"
             " from 2 to %i!\n%s",
             s.fft_nn, max_fft_length, abort_line);
  // Every class is a row of its file: a class number beyond the series
  // capacity only writes gigabytes of empty classes.
  if (is_on(s.o_fluc) && (s.cn_dir < 1 || s.cn_dir > max_class_count))
    fail_run(exit_command_line,
             "\n cn_dir:%i is not possible: the classnumber of the wind direction must be from "
             "1 to %i!\n%s",
             s.cn_dir, max_class_count, abort_line);
  if (is_on(s.o_hist) && (s.cn_spd == 1 || s.cn_spd < 0 || s.cn_spd > max_class_count))
    fail_run(exit_command_line,
             "\n cn_spd:%i is not possible: the classnumber of the wind speed must be 0 "
             "(calculated) or from 2 to %i!\n%s",
             s.cn_spd, max_class_count, abort_line);
  if (s.rfn_op != 0 && s.rfn_op != 1)
    fail_run(exit_command_line,
             "\n rfn_op:%i is not possible: the result-file naming must be 0 (long names) or 1 "
             "(short names)!\n%s",
             s.rfn_op, abort_line);
}

static void make_directory(const char* name) {
#if defined(_WIN32)
  (void)_mkdir(name);
#else
  (void)mkdir(name, 0777);
#endif
}

void create_result_directories(const RunSettings& s) {
  struct Entry {
    int switch_value;
    const char* directory;
  };
  const Entry entries[] = {{s.o_stat, "STAT"},           {s.o_tims, "TS"},
                           {s.o_spec, "SPEC"},           {s.o_fluc, "FLUC_direction"},
                           {s.o_hist, "FLUC_speed"},     {s.o_deft, "DEFTIME"},
                           {s.o_tsrs, "TS_resamp"},      {s.o_auto, "AUTOCORR"},
                           {s.o_osub, "OUTLIERS_deleted"}};
  for (const Entry& entry : entries)
    if (is_on(entry.switch_value)) make_directory(entry.directory);
}

void print_banner() {
  std::printf(
      "\n\n\n"
      " *******************************************\n"
      " *     W I N D   T U N N E L - D A T A     *\n"
      " *             A N A L Y S I S             *\n"
      " *                                         *\n"
      " *                 LDASTAT                 *\n"
      " * --------------------------------------- *\n"
      " *******************************************\n"
      "\n\n");
}

void print_usage() {
  std::printf(
      "\n\n\n"
      " For starting the program enter no more than the following 22 parameters:\n"
      " 1. name of program              : \"LDASTAT\"\n"
      "                                   (the first parameter and must be entered!)\n"
      " 2. name of measurement          : \"meas_c:(char)\"\n"
      " 3. number of timeseries         : \"ts_nbr:(int)\"  (by default: 1)\n"
      " 4. number of first timeseries   : \"ts_stn:(int)\"  (by default: 1)\n"
      " 5. model scale                  : \"ml_scl:(float)\"  (by default: 1 (i.e. 1:1))\n"
      " 6. reference height\n"
      "    (model scale [m])            : \"ref_ht:(float)\"  (by default: 1.0 m)\n"
      " 7. scaling factor               : \"sc_fac:(float)\"  (by default: 1.0)\n"
      " 8. characteristic length\n"
      "    (model scale [m])            : \"l_char:(float)\"  (by default: 1.0 m)\n"
      " 9. height of roughness elements\n"
      "    (model scale [mm])           : \"rel_ht:(float)\"  (by default: 0.0 mm)\n"
      "10. lower limit of\n"
      "    prandtl-layer height\n"
      "    (full scale [m])             : \"pl_min:(float)\"  (by default: 100.0 m)\n"
      "11. upper limit of\n"
      "    prandtl-layer height\n"
      "    (full scale)                 : \"pl_max:(float)\"  (by default: 100.0 m)\n"
      "12. confidence interval\n"
      "    (statistic analysis)         : \"conf_i:(double)\"  (by default: 95.0 %%)\n"
      "13. classnumber\n"
      "    (frequency distribution of\n"
      "     wind direction)             : \"cn_dir:(int)\"  (by default: 360)\n"
      "14. classnumber\n"
      "    (frequency distribution of\n"
      "     wind speed)                 : \"cn_spd:(int))\"  (by default: \"0\")\n"
      "15. number of samples for FFT    : \"fft_nn:(int (2^n))\"  (by default: 16384)\n"
      "16. reproducability\n"
      "    (1st windcomponent)          : \"repro1:(float)\"  (by default: 999.999)\n"
      "\n"
      "17. reproducability\n"
      "    (2nd windcomponent)          : \"repro2:(float)\"  (by default: 999.999)\n"
      "\n"
      "18. switch for output:\n"
      "    statistic file               : \"o_stat:(int(1:ON, 0:OFF))\"\n"
      "                                   (by default: 1/ON)\n"
      "\n"
      "19. switch for output:\n"
      "    time series                  : \"o_tims:(int(1:ON, 0:OFF))\"\n"
      "                                   (by default: 0/OFF)\n"
      "\n"
      "20. switch for output:\n"
      "    TKE-spectrum                 : \"o_spec:(int(1:ON, 0:OFF))\"\n"
      "                                   (by default: 0/OFF)\n"
      "\n"
      "21. switch for output:\n"
      "    fluctuation of wind direction: \"o_fluc:(int(1:ON, 0:OFF))\"\n"
      "                                   (by default: 0/OFF)\n"
      "\n"
      "22. switch for output:\n"
      "    fluctuation of wind speed    : \"o_hist:(int(1:ON, 0:OFF))\"\n"
      "                                   (by default: 0/OFF)\n"
      "\n"
      " Example:\n"
      " LDASTAT meas_c:name_of_measurement ts_nbr:10 ts_stn:1 ml_scl:500 ref_ht:0.2 "
      "sc_fac:0.8632 l_char:1.5 rel_ht:20.0 pl_min:15.0 pl_max:100.0 conf_i:95.0 cn_dir:360 "
      "cn_spd:100 fft_nn:16384 repro1:0.18 repro2:0.15 o_stat:1 o_tims:1 o_spec:1 o_fluc:1 "
      "o_hist:1\n"
      "\n\n");
}

void refuse_program_call() {
  std::printf("\n\n\a\a\a wrong program call!\n");
  print_usage();
  std::printf("%s", abort_line);
  wait_for_key_if_terminal();
  fail_run(exit_command_line, "%s", "");
}
