#include <gtest/gtest.h>

#include "ldastat/run/measurement_info.h"
#include "ldastat/run/run_settings.h"

TEST(classify_position, heights_of_the_examples) {
  RunSettings s;
  set_default_settings(s);
  s.rel_ht = 20.0f;
  s.ml_scl = 500;
  s.pl_min = 50.0f;
  s.pl_max = 100.0f;
  struct Case {
    const char* pos_z;
    int expected;
  };
  const Case cases[] = {
      {"25", 1},   // 12.5 m full scale, below 1.5 roughness heights (30 mm)
      {"30", 0},   // exactly 1.5 roughness heights
      {"60", 0},   // 30 m
      {"150", 2},  // 75 m: between the limits
      {"200", 2},  // exactly pl_max: not above it, but above pl_min
      {"100", 0},  // exactly pl_min: lower side
      {"250", 3},  // 125 m: above pl_max
  };
  MeasurementInfo info{};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos_z);
    classify_position(info, c.pos_z, s);
    EXPECT_EQ(info.position_class, c.expected);
  }
}

TEST(classify_position, defaults) {
  RunSettings s;
  set_default_settings(s);
  MeasurementInfo info{};
  classify_position(info, "100000", s);
  EXPECT_EQ(info.position_class, 0);
  classify_position(info, "100001", s);
  EXPECT_EQ(info.position_class, 3);
  classify_position(info, "-1.5", s);
  EXPECT_EQ(info.position_class, 1);
  classify_position(info, "", s);  // not a number: 0 mm
  EXPECT_EQ(info.position_class, 0);
}

TEST(split_measurement_name, last_three_characters) {
  RunSettings s;
  set_default_settings(s);
  MeasurementInfo info{};
  const char* cases[][2] = {{"abc", "abc"}, {"meas_01", "_01"}, {"tunnel_run017", "017"}};
  for (auto& c : cases) {
    set_measurement_name(s, c[0]);
    split_measurement_name(info, s);
    EXPECT_STREQ(info.meas_suffix, c[1]);
  }
}

TEST(wind_direction_degrees, leading_integer_in_tenths) {
  MeasurementInfo info{};
  const struct {
    const char* text;
    double degrees;
  } cases[] = {{"2700", 270.0}, {"2705", 270.5}, {"x", 0.0}, {"270.5", 27.0}};
  for (auto& c : cases) {
    std::snprintf(info.wind_direction, sizeof info.wind_direction, "%s", c.text);
    EXPECT_EQ(wind_direction_degrees(info), c.degrees) << c.text;
  }
}
