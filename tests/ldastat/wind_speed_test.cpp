// The wind-speed distribution, called directly on filled buffers in a
// temporary working directory.
#include "ldastat/distributions/wind_speed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/ldastat/distribution_fixture.h"

struct SpeedCall {
  RunSettings settings = example_settings();
  MeasurementInfo info = example_info("U", "V");
  const char* series_nbr = "03";
  int series_counter = 2;
  float u_prandtl = 1.0f;
  const char* file_name = "proj_sub_K_FL_UV_lda1_2700_017_03_ORVA.hist";
};

static DistributionFile run_speed(const Components& samples, const SpeedCall& call = {}) {
  WorkingDirectory directory;
  directory.make_directory("FLUC_speed");
  SeriesBuffers& buffers = series_with(samples, call.series_nbr);
  ForkedRun run = run_forked([&] {
    wind_speed_distribution(buffers, call.settings, call.info, call.u_prandtl, call.series_counter);
  });
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, "");
  return read_distribution_file(directory.file(std::string("FLUC_speed/") + call.file_name));
}

// The procedure as specified: Sturges' rule, extrema from +-100000, one pass
// per class with (lo, hi], occurrences summed sample by sample.
static std::vector<std::string> per_class_rows(const Components& samples, int cn_spd, float u_ref) {
  int n = static_cast<int>(samples.a.size());
  int k = cn_spd > 0 ? cn_spd : static_cast<int>(std::log10(2.0 * (n / 2)) / std::log10(2.0) + 1);
  std::vector<double> p(n), q(n);
  double min_p = 100000.0, max_p = -100000.0, min_q = 100000.0, max_q = -100000.0;
  for (int i = 0; i < n; ++i) {
    p[i] = samples.a[i] / u_ref;
    q[i] = samples.b[i] / u_ref;
    if (p[i] < min_p) min_p = p[i];
    if (p[i] > max_p) max_p = p[i];
    if (q[i] < min_q) min_q = q[i];
    if (q[i] > max_q) max_q = q[i];
  }
  double w_p = (max_p - min_p) / (2 * k - 2) * 2.0;
  double w_q = (max_q - min_q) / (2 * k - 2) * 2.0;
  double lo_p = min_p - 0.5 * w_p, hi_p = min_p + 0.5 * w_p;
  double lo_q = min_q - 0.5 * w_q, hi_q = min_q + 0.5 * w_q;
  std::vector<std::string> rows;
  for (int j = 1; j <= k; ++j) {
    int count_p = 0, count_q = 0;
    double occurrence_p = 0.0, occurrence_q = 0.0;
    for (int i = 0; i < n; ++i) {
      if (lo_p < p[i] && p[i] <= hi_p) {
        count_p += 1;
        occurrence_p += 1.0 / n;
      }
      if (lo_q < q[i] && q[i] <= hi_q) {
        count_q += 1;
        occurrence_q += 1.0 / n;
      }
    }
    char row[256];
    std::snprintf(row, sizeof row, "%i   %5.4lf  %5.4lf   %i  %i   %5.4lf  %5.4lf", j,
                  lo_p + 0.5 * w_p, lo_q + 0.5 * w_q, count_p, count_q, occurrence_p, occurrence_q);
    rows.push_back(row);
    lo_p = lo_p + w_p;
    hi_p = lo_p + w_p;
    lo_q = lo_q + w_q;
    hi_q = lo_q + w_q;
  }
  return rows;
}

TEST(wind_speed, minimum_in_class_one_and_maximum_in_the_last_class) {
  // U_ref 1: p = 0, 0.5, 1.5, 4, 3.5 in classes of width 1 centred on
  // 0 ... 4, open below (0.5 in class 1, 1.5 in class 2); q = -1, 0, 1, 0,
  // -1 in classes of width 0.5 centred on -1 ... 1.
  SpeedCall call;
  call.settings.cn_spd = 5;
  DistributionFile result =
      run_speed({{0.0, 0.5, 1.5, 4.0, 3.5}, {-1.0, 0.0, 1.0, 0.0, -1.0}}, call);
  std::vector<std::string> expected = {
      "1   0.0000  -1.0000   2  2   0.4000  0.4000", "2   1.0000  -0.5000   1  0   0.2000  0.0000",
      "3   2.0000  0.0000   0  2   0.0000  0.4000",  "4   3.0000  0.5000   1  0   0.2000  0.0000",
      "5   4.0000  1.0000   1  1   0.2000  0.2000",
  };
  EXPECT_EQ(result.rows, expected);
}

TEST(wind_speed, constant_component_has_empty_classes_at_its_value) {
  // cn_spd 0, n 3: n_even 2, K 2. U_ref 2: p = 0.5, 1, 1.5 (width 1);
  // q = 1.5 everywhere (width 0, lower bound excluded).
  SpeedCall call;
  call.u_prandtl = 2.0f;
  DistributionFile result = run_speed({{1.0, 2.0, 3.0}, {3.0, 3.0, 3.0}}, call);
  std::vector<std::string> expected = {"1   0.5000  1.5000   2  0   0.6667  0.0000",
                                       "2   1.5000  1.5000   1  0   0.3333  0.0000"};
  EXPECT_EQ(result.rows, expected);
}

TEST(wind_speed, sturges_rule_rounds_the_count_down_to_even) {
  struct Case {
    int n;
    std::size_t class_count;
  };
  // log10(n_even) / log10(2) + 1, truncated: 16.61 + 1 for 100,000.
  const Case cases[] = {{100000, 17}, {100001, 17}, {1024, 11}, {3, 2}, {2, 2}};
  std::mt19937 random(3);
  std::normal_distribution<double> component(5.0, 1.0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    Components samples;
    for (int i = 0; i < c.n; ++i) {
      samples.a.push_back(component(random));
      samples.b.push_back(component(random) - 5.0);
    }
    EXPECT_EQ(run_speed(samples).rows.size(), c.class_count);
  }
}

TEST(wind_speed, given_class_count_holds_whatever_the_sample_count) {
  for (int n : {10, 5000}) {
    SCOPED_TRACE(n);
    Components samples;
    for (int i = 0; i < n; ++i) {
      samples.a.push_back(3.0 + std::sin(i));
      samples.b.push_back(std::cos(i));
    }
    SpeedCall call;
    call.settings.cn_spd = 100;
    std::vector<std::string> rows = run_speed(samples, call).rows;
    EXPECT_EQ(rows.size(), 100u);
  }
}

TEST(wind_speed, counts_and_occurrences_equal_those_of_per_class_passes) {
  struct Case {
    int cn_spd;
    int n;
    double step;  // 0: continuous values; else values rounded to this step
  };
  const Case cases[] = {{0, 20000, 0.0},   {0, 20000, 0.125}, {2, 3000, 0.0},
                        {17, 5000, 0.25},  {100, 5000, 0.0},  {100, 5000, 0.0625},
                        {1000, 3000, 0.0}, {1000, 3000, 0.01}};
  std::mt19937 random(20261211);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cn_spd << " " << c.step);
    std::normal_distribution<double> component(4.0, 1.5);
    Components samples;
    for (int i = 0; i < c.n; ++i) {
      double a = component(random), b = component(random) - 4.0;
      if (c.step > 0) {
        a = std::round(a / c.step) * c.step;
        b = std::round(b / c.step) * c.step;
      }
      samples.a.push_back(a);
      samples.b.push_back(b);
    }
    SpeedCall call;
    call.settings.cn_spd = c.cn_spd;
    call.settings.sc_fac = 0.8632f;
    call.u_prandtl = 5.0f;
    DistributionFile result = run_speed(samples, call);
    EXPECT_EQ(result.rows, per_class_rows(samples, c.cn_spd, 5.0f * 0.8632f));
  }
}

TEST(wind_speed, zone_title_carries_the_plain_series_number) {
  struct Case {
    int rfn_op;
    int ts_stn;
    int series_counter;
    const char* series_nbr;
    const char* file_name;
    const char* zone_line;
  };
  const Case cases[] = {
      // The third series of a run starting at 1: 3 in the title, 03 in the name.
      {0, 1, 2, "03", "proj_sub_K_FL_UW_lda1_2700_017_03_ORVA.hist",
       "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017_3\""},
      {0, 10, 1, "11", "proj_sub_K_FL_UW_lda1_2700_017_11_ORVA.hist",
       "ZONE T = \"proj_sub_K_FL_U_W_lda1_2700_017_11\""},
      {1, 1, 2, "03", "tunnel_run017_03_ORVA.hist", "ZONE T = \"tunnel_run017_03\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file_name);
    SpeedCall call;
    call.settings.rfn_op = c.rfn_op;
    call.settings.ts_stn = c.ts_stn;
    call.series_counter = c.series_counter;
    call.series_nbr = c.series_nbr;
    call.info = example_info("U", "W");
    call.file_name = c.file_name;
    DistributionFile result = run_speed({{1.0, 2.0}, {0.0, 1.0}}, call);
    ASSERT_LT(result.variables_line + 1, result.lines.size());
    EXPECT_EQ(result.variables_line, 91u);  // the full header block
    EXPECT_EQ(result.lines[0], "# ORVA fluctuations of wind speed derived from LDA time series");
    EXPECT_EQ(result.lines[32], "# 7 [number of columns]");
    EXPECT_EQ(result.lines[result.variables_line],
              "Variables = \"classnumber [-]\" \"U/U<sub>ref</sub> [-]\" "
              "\"W/U<sub>ref</sub> [-]\" \"occurrence U/U<sub>ref</sub> (abs) [-]\" "
              "\"occurrence W/U<sub>ref</sub> (abs) [-]\" "
              "\"occurrence U/U<sub>ref</sub> (norm) [-]\" "
              "\"occurrence W/U<sub>ref</sub> (norm) [-]\"");
    EXPECT_EQ(result.lines[result.variables_line + 1], c.zone_line);
    EXPECT_EQ(result.rows.size(), 2u);
  }
}

TEST(wind_speed, degenerate_series_write_no_nan) {
  struct Case {
    const char* rule;
    Components samples;
    float u_prandtl;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      // One sample: a single class of width 0 centred on it, empty.
      {"one sample", {{3.0}, {1.0}}, 2.0f, {"1   1.5000  0.5000   0  0   0.0000  0.0000"}},
      // U_ref 0: no normalised value exists; 999.999 marks the centres.
      {"zero reference velocity",
       {{1.0, 2.0, 0.0}, {0.0, -1.0, 0.0}},
       0.0f,
       {"1   999.999  999.999   0  0   0.0000  0.0000",
        "2   999.999  999.999   0  0   0.0000  0.0000"}},
      {"no samples", {{}, {}}, 1.0f, {"1   999.999  999.999   0  0   0.0000  0.0000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    SpeedCall call;
    call.u_prandtl = c.u_prandtl;
    EXPECT_EQ(run_speed(c.samples, call).rows, c.rows);
  }
}
