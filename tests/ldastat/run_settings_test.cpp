#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ldastat/run/number_text.h"
#include "ldastat/run/run_settings.h"

static RunSettings parsed(const std::vector<const char*>& words) {
  RunSettings settings;
  set_default_settings(settings);
  parse_option_words(settings, static_cast<int>(words.size()), words.data());
  return settings;
}

TEST(run_settings, defaults_hold_single_precision_values) {
  RunSettings s = parsed({});
  EXPECT_EQ(s.meas_c[0], '\0');
  EXPECT_EQ(s.ts_nbr, 1);
  EXPECT_EQ(s.ts_stn, 1);
  EXPECT_EQ(s.ml_scl, 1);
  EXPECT_EQ(s.conf_i, 95.0);
  EXPECT_EQ(s.cn_dir, 360);
  EXPECT_EQ(s.cn_spd, 0);
  EXPECT_EQ(s.fft_nn, 16384);
  EXPECT_EQ(static_cast<double>(s.repro1), 999.9990234375);
  EXPECT_EQ(static_cast<double>(s.repro2), 999.9990234375);
  EXPECT_EQ(s.pl_min, 100.0f);
  EXPECT_EQ(s.o_stat, 1);
  EXPECT_EQ(s.o_tims + s.o_spec + s.o_fluc + s.o_hist + s.o_deft + s.o_tsrs + s.o_auto +
                s.o_osub + s.rfn_op,
            0);
}

TEST(option_words, integer_keys_and_values) {
  struct Case {
    const char* word;
    int expected_ts_nbr;
  };
  const Case cases[] = {
      {"ts_nbr:3", 3},    // lower-case key
      {"TS_NBR:3", 3},    // upper-case key
      {"Ts_nbr:3", 1},    // mixed case matches nothing
      {"ts_nbr=3", 1},    // wrong separator: another key
      {"tsnbr:3", 1},     // six characters: another key
      {"ts_nbr:", 0},     // empty value converts to 0
      {"ts_nbr", 1},      // shorter than a key
      {"ts_nbr:  -4x", -4},  // leading blanks and sign, stop at the first other character
      {"ts_nbr:abc", 0},  // no digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(parsed({c.word}).ts_nbr, c.expected_ts_nbr);
  }
}

TEST(option_words, model_scale_is_an_integer_conversion) {
  EXPECT_EQ(parsed({"ml_scl:1:500"}).ml_scl, 1);
  EXPECT_EQ(parsed({"ml_scl:500.7"}).ml_scl, 500);
  EXPECT_EQ(parsed({"ML_SCL:500"}).ml_scl, 500);
}

TEST(option_words, float_fields_are_rounded_to_single_precision) {
  RunSettings s = parsed({"sc_fac:0.8632", "ref_ht:0.2", "repro1:0.18", "rel_ht:"});
  EXPECT_EQ(s.sc_fac, 0.8632f);
  EXPECT_EQ(static_cast<double>(s.ref_ht), static_cast<double>(0.2f));
  EXPECT_NE(static_cast<double>(s.ref_ht), 0.2);
  EXPECT_EQ(s.repro1, 0.18f);
  EXPECT_EQ(s.rel_ht, 0.0f);
  EXPECT_EQ(static_cast<double>(parsed({"repro2:999.999"}).repro2), 999.9990234375);
}

TEST(option_words, confidence_is_a_double) {
  EXPECT_EQ(parsed({"conf_i:9.5e1"}).conf_i, 95.0);
  EXPECT_EQ(parsed({"conf_i:95.00001"}).conf_i, 95.00001);
}

TEST(option_words, repeated_key_keeps_last_value) {
  EXPECT_EQ(parsed({"ts_stn:2", "ts_stn:5"}).ts_stn, 5);
  EXPECT_EQ(parsed({"TS_STN:2", "ts_stn:5", "x:1"}).ts_stn, 5);
}

TEST(option_words, measurement_name_keeps_its_given_length) {
  RunSettings s = parsed({"meas_c:tunnel_run017"});
  EXPECT_STREQ(s.meas_c, "tunnel_run017");
  EXPECT_EQ(s.meas_c_length, 13);
  std::string long_word = "meas_c:" + std::string(60, 'a');
  RunSettings long_name = parsed({long_word.c_str()});
  EXPECT_EQ(long_name.meas_c_length, 60);
  EXPECT_EQ(std::strlen(long_name.meas_c), 49u);
}

TEST(number_text, leading_numbers) {
  EXPECT_EQ(leading_double(" 12.5abc"), 12.5);
  EXPECT_EQ(leading_double("-.5"), -0.5);
  EXPECT_EQ(leading_double("1e"), 1.0);
  EXPECT_EQ(leading_double("2.5e2x"), 250.0);
  EXPECT_EQ(leading_double("inf"), 0.0);
  EXPECT_EQ(leading_double("nan"), 0.0);
  EXPECT_EQ(leading_double("0x10"), 0.0);
  EXPECT_EQ(leading_double("."), 0.0);
  EXPECT_EQ(leading_int("99999999999"), 2147483647);
  EXPECT_EQ(leading_int("-99999999999"), -2147483647 - 1);
  EXPECT_EQ(leading_int("+7"), 7);
}
