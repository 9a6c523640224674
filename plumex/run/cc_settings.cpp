#include "plumex/run/cc_settings.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "plumex/run/console.h"
#include "plumex/run/leading_number.h"

namespace {

using TextField = char (CcSettings::*)[cc_text_option_capacity + 1];
using IntField = int CcSettings::*;
using RealField = double CcSettings::*;

// One option key; exactly one of the three field pointers is set.
struct OptionKey {
  const char* key;  // upper-case form, six characters and the colon
  TextField text;
  IntField integer;
  RealField real;
  const char* meaning;  // for the usage text
};

constexpr OptionKey text_key(const char* key, TextField field, const char* meaning) {
  return {key, field, nullptr, nullptr, meaning};
}
constexpr OptionKey int_key(const char* key, IntField field, const char* meaning) {
  return {key, nullptr, field, nullptr, meaning};
}
constexpr OptionKey real_key(const char* key, RealField field, const char* meaning) {
  return {key, nullptr, nullptr, field, meaning};
}

constexpr OptionKey option_keys[] = {
    text_key("INPUTF:", &CcSettings::INPUTF, "six-column series file"),
    int_key("POINT_:", &CcSettings::POINT_, "number of the measuring point (file name)"),
    text_key("NUMBER:", &CcSettings::NUMBER, "number of the measurement (file name)"),
    real_key("SAMPLE:", &CcSettings::SAMPLE, "sampling frequency, Hz"),
    real_key("D_SAMP:", &CcSettings::D_SAMP, "sample spacing factor: lines lie D_SAMP/SAMPLE s apart"),
    int_key("BLCKSZ:", &CcSettings::BLCKSZ, "samples averaged into one output value (at least 1)"),
    real_key("T_OPEN:", &CcSettings::T_OPEN, "hold-off time after an accepted trigger, s"),
    real_key("X_MEAS:", &CcSettings::X_MEAS, "measurement location X, model scale, mm"),
    real_key("Y_MEAS:", &CcSettings::Y_MEAS, "measurement location Y, model scale, mm"),
    real_key("Z_MEAS:", &CcSettings::Z_MEAS, "measurement location Z, model scale, mm"),
    int_key("SCALE_:", &CcSettings::SCALE_, "model scale N of 1:N"),
    real_key("SC_FAC:", &CcSettings::SC_FAC, "reference velocity / prandtl-tube velocity"),
    real_key("REFHGT:", &CcSettings::REFHGT, "reference height, model scale, m"),
    real_key("REFLTH:", &CcSettings::REFLTH, "reference length of the normalisation, m"),
    real_key("THRHLD:", &CcSettings::THRHLD, "dosage threshold of the puff detection, ppmv s"),
    real_key("T_NDLE:", &CcSettings::T_NDLE, "time correction, s (earlier rows are dropped)"),
    real_key("T_OFFS:", &CcSettings::T_OFFS, "offset window at the start of each release, s"),
    real_key("P_OFFS:", &CcSettings::P_OFFS, "concentration offset of a plume, ppmv"),
    real_key("TEMP__:", &CcSettings::TEMP__, "air temperature, degrees Celsius"),
    real_key("PRESS_:", &CcSettings::PRESS_, "air pressure, mmHg"),
    real_key("REPRO_:", &CcSettings::REPRO_, "reproducibility, ppmv (999.99: none)"),
    real_key("COEF_A:", &CcSettings::COEF_A, "slope of the source-flow calibration, (l/h)/V"),
    real_key("COEF_B:", &CcSettings::COEF_B, "offset of the source-flow calibration, l/h"),
};
static_assert(sizeof option_keys / sizeof option_keys[0] == cc_option_key_count);

constexpr int key_length = 7;

// True when the first seven characters of `word` (all of it when shorter)
// are the key in its upper-case form, or all of them in lower case.
bool word_has_key(const char* word, const char* upper_key) {
  if (std::strlen(word) < key_length) return false;
  if (std::memcmp(word, upper_key, key_length) == 0) return true;
  for (int i = 0; i < key_length; ++i) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(upper_key[i])));
    if (word[i] != lower) return false;
  }
  return true;
}

void store_value(CcSettings& settings, const OptionKey& option, const char* value) {
  if (option.text != nullptr) {
    if (std::strlen(value) > cc_text_option_capacity)
      fail_run(cc_exit_failure, "\n The value of option %.6s is longer than %i characters!\n",
               option.key, cc_text_option_capacity);
    std::strcpy(settings.*option.text, value);
  } else if (option.integer != nullptr) {
    settings.*option.integer = leading_int(value);
  } else {
    settings.*option.real = leading_double(value);
  }
}

}  // namespace

void set_default_cc_settings(CcSettings& settings) {
  settings.INPUTF[0] = '\0';
  settings.POINT_ = 0;
  std::strcpy(settings.NUMBER, "00");
  settings.SAMPLE = 1000.0;
  settings.D_SAMP = 1.0;
  settings.BLCKSZ = 10;
  settings.T_OPEN = 1.0;
  settings.X_MEAS = 999.999;
  settings.Y_MEAS = 999.999;
  settings.Z_MEAS = 999.999;
  settings.SCALE_ = 1;
  settings.SC_FAC = 1.0;
  settings.REFHGT = 1.0;
  settings.REFLTH = 0.0;
  settings.THRHLD = 999.999;
  settings.T_NDLE = 0.111;
  settings.T_OFFS = 0.2;
  settings.P_OFFS = 0.0;
  settings.TEMP__ = 21.0;
  settings.PRESS_ = 760.0;
  settings.REPRO_ = repro_not_given;
  settings.COEF_A = 0.0;
  settings.COEF_B = 0.0;
}

void parse_cc_option_words(CcSettings& settings, int word_count, const char* const* words) {
  for (int w = 0; w < word_count; ++w) {
    for (const OptionKey& option : option_keys) {
      if (!word_has_key(words[w], option.key)) continue;
      store_value(settings, option, words[w] + key_length);
      break;
    }
  }
}

void convert_pressure(CcSettings& settings) { settings.PRESS_ = settings.PRESS_ * mmhg_to_pa / 100.0; }

void print_cc_usage() {
  CcSettings defaults;
  set_default_cc_settings(defaults);
  std::printf(
      "usage: plumex KEY:value [KEY:value ...]\n"
      "       plumex --help | -h | --version\n\n"
      "Evaluates one concentration measurement: started in its directory, it reads\n"
      "\"logbook-info_cc.txt\" (line 11: plume or puff) and the series INPUTF, and\n"
      "writes one result file into the directory TS. At least one word is needed.\n"
      "A key is given in all upper or all lower case; a repeated key keeps its last\n"
      "value; numbers are leading numbers (0 without one).\n\n"
      " key      default   meaning\n");
  for (const OptionKey& option : option_keys) {
    char shown[32];
    if (option.text != nullptr) {
      const char* text = defaults.*option.text;
      std::snprintf(shown, sizeof shown, "%s", text[0] == '\0' ? "(none)" : text);
    } else if (option.integer != nullptr) {
      std::snprintf(shown, sizeof shown, "%i", defaults.*option.integer);
    } else {
      std::snprintf(shown, sizeof shown, "%g", defaults.*option.real);
    }
    std::printf(" %-8s %-9s %s\n", option.key, shown, option.meaning);
  }
  std::printf("\nExit status: 0 after a complete run, 1 after any refusal or failure.\n");
}
