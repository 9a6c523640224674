#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "plumex/run/cc_settings.h"
#include "plumex/run/leading_number.h"

static CcSettings parsed(const std::vector<const char*>& words) {
  CcSettings settings;
  set_default_cc_settings(settings);
  parse_cc_option_words(settings, static_cast<int>(words.size()), words.data());
  return settings;
}

TEST(option_words, defaults) {
  CcSettings settings = parsed({});
  EXPECT_STREQ(settings.INPUTF, "");
  EXPECT_EQ(settings.POINT_, 0);
  EXPECT_STREQ(settings.NUMBER, "00");
  EXPECT_EQ(settings.SAMPLE, 1000.0);
  EXPECT_EQ(settings.D_SAMP, 1.0);
  EXPECT_EQ(settings.BLCKSZ, 10);
  EXPECT_EQ(settings.T_OPEN, 1.0);
  EXPECT_EQ(settings.X_MEAS, 999.999);
  EXPECT_EQ(settings.Y_MEAS, 999.999);
  EXPECT_EQ(settings.Z_MEAS, 999.999);
  EXPECT_EQ(settings.SCALE_, 1);
  EXPECT_EQ(settings.SC_FAC, 1.0);
  EXPECT_EQ(settings.REFHGT, 1.0);
  EXPECT_EQ(settings.REFLTH, 0.0);
  EXPECT_EQ(settings.THRHLD, 999.999);
  EXPECT_EQ(settings.T_NDLE, 0.111);
  EXPECT_EQ(settings.T_OFFS, 0.2);
  EXPECT_EQ(settings.P_OFFS, 0.0);
  EXPECT_EQ(settings.TEMP__, 21.0);
  EXPECT_EQ(settings.PRESS_, 760.0);
  EXPECT_EQ(settings.REPRO_, 999.99);
  EXPECT_EQ(settings.COEF_A, 0.0);
  EXPECT_EQ(settings.COEF_B, 0.0);
}

TEST(option_words, key_matches_in_upper_or_lower_form_only) {
  struct Case {
    const char* word;
    const char* expected;  // INPUTF afterwards
  };
  const Case cases[] = {
      {"INPUTF:data.txt", "data.txt"},
      {"inputf:data.txt", "data.txt"},
      {"Inputf:data.txt", ""},    // mixed case matches nothing
      {"INPUTF=data.txt", ""},    // the seventh character belongs to the key
      {"INPUTF", ""},             // shorter than a key
      {"INPUTF:", ""},            // empty value
      {"INPUTF: a b", " a b"},    // text values are taken unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_STREQ(parsed({c.word}).INPUTF, c.expected);
  }
}

TEST(option_words, every_key_in_both_forms) {
  const char* upper[] = {"POINT_:3", "NUMBER:x1",  "SAMPLE:2",  "D_SAMP:3",  "BLCKSZ:4",  "T_OPEN:5",
                         "X_MEAS:6", "Y_MEAS:7",   "Z_MEAS:8",  "SCALE_:9",  "SC_FAC:10", "REFHGT:11",
                         "REFLTH:12", "THRHLD:13", "T_NDLE:14", "T_OFFS:15", "P_OFFS:16", "TEMP__:17",
                         "PRESS_:18", "REPRO_:19", "COEF_A:20", "COEF_B:21"};
  for (bool is_lower : {false, true}) {
    SCOPED_TRACE(is_lower ? "lower" : "upper");
    std::vector<std::string> texts;
    for (const char* word : upper) {
      std::string text = word;
      if (is_lower)
        for (std::size_t i = 0; i < 7; ++i) text[i] = static_cast<char>(std::tolower(text[i]));
      texts.push_back(text);
    }
    std::vector<const char*> words;
    for (const std::string& text : texts) words.push_back(text.c_str());
    CcSettings s = parsed(words);
    EXPECT_EQ(s.POINT_, 3);
    EXPECT_STREQ(s.NUMBER, "x1");
    EXPECT_EQ(s.SAMPLE, 2.0);
    EXPECT_EQ(s.D_SAMP, 3.0);
    EXPECT_EQ(s.BLCKSZ, 4);
    EXPECT_EQ(s.T_OPEN, 5.0);
    EXPECT_EQ(s.X_MEAS, 6.0);
    EXPECT_EQ(s.Y_MEAS, 7.0);
    EXPECT_EQ(s.Z_MEAS, 8.0);
    EXPECT_EQ(s.SCALE_, 9);
    EXPECT_EQ(s.SC_FAC, 10.0);
    EXPECT_EQ(s.REFHGT, 11.0);
    EXPECT_EQ(s.REFLTH, 12.0);
    EXPECT_EQ(s.THRHLD, 13.0);
    EXPECT_EQ(s.T_NDLE, 14.0);
    EXPECT_EQ(s.T_OFFS, 15.0);
    EXPECT_EQ(s.P_OFFS, 16.0);
    EXPECT_EQ(s.TEMP__, 17.0);
    EXPECT_EQ(s.PRESS_, 18.0);
    EXPECT_EQ(s.REPRO_, 19.0);
    EXPECT_EQ(s.COEF_A, 20.0);
    EXPECT_EQ(s.COEF_B, 21.0);
  }
}

TEST(option_words, numbers_are_leading_numbers) {
  struct Case {
    const char* word;
    double sample;  // SAMPLE afterwards
  };
  const Case cases[] = {
      {"SAMPLE:", 0.0},        // empty value
      {"SAMPLE:abc", 0.0},     // no number
      {"SAMPLE:250Hz", 250.0},  // text after the number ignored
      {"SAMPLE:  12.5", 12.5},  // leading blanks skipped
      {"SAMPLE:+2e3", 2000.0},  // sign and exponent
      {"SAMPLE:-.5", -0.5},
      {"SAMPLE:1.5e", 1.5},    // an exponent without digits is not part of the number
      {"SAMPLE:0x10", 0.0},    // decimal numbers only
      {"SAMPLE:inf", 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(parsed({c.word}).SAMPLE, c.sample);
  }
}

TEST(option_words, integers_stop_at_the_first_non_digit) {
  struct Case {
    const char* word;
    int scale;
  };
  const Case cases[] = {{"SCALE_:500", 500}, {"SCALE_:7.9", 7},  {"SCALE_:-3", -3},
                        {"SCALE_:x5", 0},    {"SCALE_:", 0},     {"SCALE_:99999999999", 2147483647}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(parsed({c.word}).SCALE_, c.scale);
  }
}

TEST(option_words, repeated_key_keeps_last_value) {
  CcSettings settings = parsed({"SCALE_:100", "scale_:300", "POINT_:2"});
  EXPECT_EQ(settings.SCALE_, 300);
  EXPECT_EQ(settings.POINT_, 2);
}

TEST(option_words, unknown_words_are_ignored) {
  CcSettings settings = parsed({"FOO___:1", "whatever", "sample:5"});
  EXPECT_EQ(settings.SAMPLE, 5.0);
}

TEST(option_words, pressure_is_converted_to_hpa) {
  CcSettings settings = parsed({"PRESS_:750"});
  convert_pressure(settings);
  EXPECT_EQ(settings.PRESS_, 999.9177631578947);
  CcSettings defaults = parsed({});
  convert_pressure(defaults);
  EXPECT_EQ(defaults.PRESS_, 1013.25);
}

TEST(leading_number, doubles_and_ints) {
  EXPECT_EQ(leading_double("\t 3.25 mm"), 3.25);
  EXPECT_EQ(leading_double(""), 0.0);
  EXPECT_EQ(leading_double("."), 0.0);
  EXPECT_EQ(leading_double("1e999"), HUGE_VAL);
  EXPECT_EQ(leading_double("1e-999"), 0.0);
  EXPECT_EQ(leading_int(" 2705"), 2705);
  EXPECT_EQ(leading_int("270.5"), 270);
  EXPECT_EQ(leading_int("-99999999999"), -2147483647 - 1);
}
