#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "plumex/processing/result_file.h"

namespace {

struct Records {
  CcSettings settings;
  CcDescription description;
  CcSeries series;
};

// Defaults everywhere, the pressure converted as after parsing.
Records& default_records() {
  static Records records;
  set_default_cc_settings(records.settings);
  convert_pressure(records.settings);
  records.description = CcDescription{};
  records.description.gas_factor = 1.0;
  records.series.reference_velocity = 10.0;
  records.series.source_flow_mean = 0.0;
  return records;
}

std::string result_path(const CcSettings& settings, const CcDescription& description) {
  static char path[result_path_capacity];
  format_result_path(path, settings, description);
  return path;
}

}  // namespace

TEST(source_strength, default_air_gives_the_correction_factor) {
  // 1 l/h at 21.0 degrees and 1013.25 hPa: (294.15 * 101325) / (273.15 * 101325).
  Records& r = default_records();
  r.settings.COEF_B = 1.0;
  EXPECT_EQ(source_strength(r.settings, r.description, r.series), 2.7777777777777776e-07 * 1.0768808347062053);
}

TEST(source_strength, calibrated_flow) {
  // q_S,mean 2.0 V, COEF_A 50, COEF_B 10: 110 l/h, 118.46 l/h in the tunnel air.
  Records& r = default_records();
  r.series.source_flow_mean = 2.0;
  r.settings.COEF_A = 50.0;
  r.settings.COEF_B = 10.0;
  double strength = source_strength(r.settings, r.description, r.series);
  EXPECT_EQ(strength, 3.290469217157849e-05);
  char shown[32];
  std::snprintf(shown, sizeof shown, "%0.2lf", strength / litre_per_hour);
  EXPECT_STREQ(shown, "118.46");
}

TEST(reproducibility, normalised_unless_not_given) {
  Records& r = default_records();
  r.settings.REFLTH = 0.1;
  normalise_reproducibility(r.settings, ResultKind::plume, 10.0, 1.0e-5, 0.0);
  EXPECT_EQ(r.settings.REPRO_, 999.99);  // the default stays

  r.settings.REPRO_ = 2.0;
  normalise_reproducibility(r.settings, ResultKind::plume, 10.0, 1.0e-5, 0.0);
  EXPECT_EQ(r.settings.REPRO_, 0.020000000000000004);  // L^2 (REPRO_ U_ref) / Q / 1e6

  r.settings.REPRO_ = 2.0;
  normalise_reproducibility(r.settings, ResultKind::puff, 10.0, 1.0e-5, 1.0e-6);
  EXPECT_EQ(r.settings.REPRO_, 0.0020000000000000005);  // L^3 REPRO_ / V / 1e6
}

TEST(result_name, zero_prefixes_by_range) {
  struct Case {
    const char* source;
    int wind_direction_tenths;
    int point;
    double z_meas;
    int scale;
    const char* number;
    const char* expected;
  };
  const Case cases[] = {
      {"S1", 2700, 7, 50.0, 300, "00", "TS/S1_WD2700_P007_Z01500_00_nd.dts"},
      {"S1", 2700, 7, 999.999, 1, "00", "TS/S1_WD2700_P007_Z00099_00_nd.dts"},  // Z_MEAS default
      {"S1", 455, 0, 0.0, 1, "00", "TS/S1_WD0455_P000_Z00000_00_nd.dts"},
      {"S1", 5, 1234, 100.0, 1, "3", "TS/S1_WD0005_P1234_Z00010_3_nd.dts"},     // P1234 unchanged
      {"S1", 45, -1, 1234567.0, 1, "00", "TS/S1_WD0045_P-1_Z123456_00_nd.dts"},  // P-1, Z beyond five digits
      {"", 12345, 99, -5.0, 100, "x", "TS/_WD12345_P099_Z-50_x_nd.dts"},         // empty source name
      {"S2", -10, 10, 99.9, 10, "00", "TS/S2_WD-10_P010_Z00099_00_nd.dts"},      // 99.9 truncated to 99
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    Records& r = default_records();
    std::snprintf(r.description.source_name, sizeof r.description.source_name, "%s", c.source);
    r.description.wind_direction_tenths = c.wind_direction_tenths;
    r.settings.POINT_ = c.point;
    r.settings.Z_MEAS = c.z_meas;
    r.settings.SCALE_ = c.scale;
    std::snprintf(r.settings.NUMBER, sizeof r.settings.NUMBER, "%s", c.number);
    EXPECT_EQ(result_path(r.settings, r.description), c.expected);
  }
}

TEST(result_numbers, non_finite_numbers_become_the_marker) {
  EXPECT_EQ(finite_or_marker(HUGE_VAL), 999.99);
  EXPECT_EQ(finite_or_marker(-HUGE_VAL), 999.99);
  EXPECT_EQ(finite_or_marker(std::nan("")), 999.99);
  EXPECT_EQ(finite_or_marker(-0.5), -0.5);
}

TEST(result_numbers, rows_print_as_fixed_with_two_decimals) {
  // The digits printf gives for "%.2lf": ties of the binary value, negative
  // zero, large and tiny magnitudes, and a pseudo-random spread.
  std::vector<double> values = {0.0,     -0.0,     0.125,   0.375,  2.675, -0.004, -0.005,  0.005,
                                1.005,   999.99,   1.0e22,  1.0e300, 5e-324, 0.35,  19.45,  -19.45,
                                123456789.125, 9007199254740991.0, 9007199254740992.0, 4503599627370495.5,
                                0.015,   1.0 / 3.0, -1.0e300, 2.2250738585072014e-308};
  for (int k = -400; k <= 400; ++k) {  // exact ties: eighths
    values.push_back(k / 8.0);
    values.push_back(1099511627776.0 + k / 8.0);
  }
  std::uint64_t state = 7;
  for (int i = 0; i < 20000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
    values.push_back((unit - 0.5) * std::pow(10.0, static_cast<double>(i % 12) - 3.0));
  }
  for (double value : values) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.2lf", value);
    char actual[fixed_2_capacity + 1];
    *format_fixed_2(actual, value) = '\0';
    ASSERT_STREQ(actual, expected) << value;
  }
}
