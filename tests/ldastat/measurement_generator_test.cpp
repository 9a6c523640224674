// The sample-measurement generator: the statistics of its series, and the
// directory it writes, read by LDASTAT.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ldastat/input/series_buffers.h"
#include "ldastat/input/series_file.h"
#include "tests/ldastat/result_files_fixture.h"
#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"
#include "tools/lda_measurement_generator/synthetic_series.h"

namespace {

double mean_of(const std::vector<double>& values) {
  double sum = 0.0;
  for (double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

double deviation_of(const std::vector<double>& values) {
  double mean = mean_of(values);
  double sum = 0.0;
  for (double v : values) sum += (v - mean) * (v - mean);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

// 200,000 samples at 1000 Hz with T = 0.05 s: about 2000 independent
// stretches, so means and deviations are good to about 2 % of sigma.
SyntheticSeries long_series() {
  SyntheticSeries series;
  series.sample_count = 200000;
  series.data_rate = 1000.0;
  series.mean_1 = 5.0;
  series.mean_2 = -0.5;
  series.turbulence_intensity_1 = 0.10;
  series.turbulence_intensity_2 = 0.06;
  series.correlation = -0.3;
  series.time_scale = 0.05;
  series.seed = 42;
  return series;
}

}  // namespace

TEST(synthesize_series, arrivals_are_a_poisson_process_of_the_data_rate) {
  SeriesFixture fixture;
  synthesize_series(long_series(), fixture);
  const std::vector<double>& t = fixture.channels[0];
  ASSERT_EQ(t.size(), 200000u);
  // The count over the span: 1000 Hz within a few standard errors (sqrt(n)).
  EXPECT_NEAR(static_cast<double>(t.size()) / t.back(), 1000.0, 10.0);
  // Exponential gaps: a fraction exp(-1) of them is longer than the mean gap.
  int long_gaps = 0;
  for (std::size_t i = 1; i < t.size(); ++i) {
    ASSERT_GT(t[i], t[i - 1]);
    if (t[i] - t[i - 1] > 1e-3) ++long_gaps;
  }
  EXPECT_NEAR(long_gaps / 199999.0, std::exp(-1.0), 0.005);
}

TEST(synthesize_series, components_have_the_given_moments_and_time_scale) {
  SyntheticSeries parameters = long_series();
  SeriesFixture fixture;
  synthesize_series(parameters, fixture);
  const std::vector<double>& u = fixture.channels[2];
  const std::vector<double>& w = fixture.channels[3];
  // Mean speed sqrt(5^2 + 0.5^2) = 5.0249: sigma 0.50249 and 0.30149.
  EXPECT_NEAR(mean_of(u), 5.0, 0.03);
  EXPECT_NEAR(mean_of(w), -0.5, 0.02);
  EXPECT_NEAR(deviation_of(u), 0.50249, 0.02);
  EXPECT_NEAR(deviation_of(w), 0.30149, 0.012);

  double mu = mean_of(u), mw = mean_of(w), su = deviation_of(u), sw = deviation_of(w);
  double cross = 0.0, lag = 0.0;
  for (std::size_t i = 0; i < u.size(); ++i) {
    cross += (u[i] - mu) * (w[i] - mw);
    if (i > 0) lag += (u[i] - mu) * (u[i - 1] - mu);
  }
  EXPECT_NEAR(cross / u.size() / (su * sw), -0.3, 0.04);
  // Neighbours an exponential gap apart correlate by E[exp(-dt/T)] =
  // rate / (rate + 1/T) = 1000 / 1020.
  EXPECT_NEAR(lag / (u.size() - 1) / (su * su), 1000.0 / 1020.0, 0.01);
}

TEST(synthesize_series, transit_times_are_a_few_microseconds) {
  SyntheticSeries parameters = long_series();
  parameters.sample_count = 20000;
  SeriesFixture fixture;
  synthesize_series(parameters, fixture);
  // Chords of a 50 um volume at about 5 m/s: mean 50 um * 0.694 / 5 m/s.
  for (double transit : fixture.channels[1]) {
    ASSERT_GT(transit, 1e-6);
    ASSERT_LT(transit, 20e-6);
  }
  EXPECT_NEAR(mean_of(fixture.channels[1]), 6.9e-6, 0.5e-6);
}

TEST(synthesize_series, outliers_lie_far_outside_four_deviations) {
  SyntheticSeries parameters = long_series();
  parameters.sample_count = 20000;
  parameters.outlier_count = 5;
  SeriesFixture fixture;
  synthesize_series(parameters, fixture);
  // Beyond 7 sigma nothing of the gaussian process is met in 20000 samples.
  std::vector<std::size_t> far;
  for (std::size_t i = 0; i < fixture.channels[2].size(); ++i)
    if (std::fabs(fixture.channels[2][i] - 5.0) > 7 * 0.50249) far.push_back(i);
  ASSERT_EQ(far.size(), 5u);
  for (std::size_t k = 0; k < far.size(); ++k) EXPECT_EQ(far[k] / 4000, k);
}

TEST(synthesize_series, same_seed_gives_the_same_series) {
  SyntheticSeries parameters;
  parameters.sample_count = 1000;
  SeriesFixture first, second, other;
  synthesize_series(parameters, first);
  synthesize_series(parameters, second);
  parameters.seed = 2;
  synthesize_series(parameters, other);
  EXPECT_EQ(first.channels, second.channels);
  EXPECT_NE(first.channels[2], other.channels[2]);
}

#ifdef LDA_MEASUREMENT_GENERATOR_PATH
TEST(lda_measurement_generator, writes_a_measurement_that_ldastat_reads) {
  TempDirectory dir;
  ProgramRun made = run_program(LDA_MEASUREMENT_GENERATOR_PATH,
                                {"--directory", "gen", "--name", "gen_run001", "--pair", "UW",
                                 "--first", "2", "--series", "2", "--samples", "3000",
                                 "--digits", "2", "--heights", "50,150.5", "--prandtl", "4.25",
                                 "--outliers", "2"},
                                dir.path);
  ASSERT_EQ(made.exit_status, 0) << made.output;
  std::string gen = dir.file("gen");
  EXPECT_EQ(list_files(gen),
            (std::vector<std::string>{"gen_run001.02.bin", "gen_run001.03.bin",
                                      "gen_run001_wtref.txt", "logbook-info.txt"}));
  std::vector<std::string> logbook = split_lines(read_file(gen + "/logbook-info.txt"));
  ASSERT_EQ(logbook.size(), 11u);
  EXPECT_EQ(logbook[8], "U");
  EXPECT_EQ(logbook[9], "W");
  // Rows 1 to 3, so that row k belongs to series k.
  EXPECT_EQ(split_lines(read_file(gen + "/gen_run001_wtref.txt")).size(), 4u);

  SeriesBuffers& buffers = shared_series_buffers();
  const char* heights[] = {"50", "150.5"};
  for (int k = 0; k < 2; ++k) {
    clear_series_buffers(buffers);
    std::snprintf(buffers.series_file, sizeof buffers.series_file, "%s/gen_run001.0%d.bin",
                  gen.c_str(), k + 2);
    read_series_file(buffers);
    EXPECT_EQ(buffers.raw_count[0], 3000);
    EXPECT_STREQ(buffers.pos_z, heights[k]);
  }

  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:gen_run001", "ts_stn:2", "ts_nbr:2"}, gen);
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find(" input-file: \"gen_run001.03.bin\" read!\n"
                            " ref-file: gen_run001_wtref.txt opened!\n"
                            " U (prandtl-tube):  4.25 m/s\n"),
            std::string::npos)
      << run.output;
}

TEST(lda_measurement_generator, help_and_refusals) {
  TempDirectory dir;
  ProgramRun help = run_program(LDA_MEASUREMENT_GENERATOR_PATH, {"--help"}, dir.path);
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.output.rfind("Usage: lda_measurement_generator", 0), 0u);
  // Each refused call writes nothing.
  const std::vector<std::vector<std::string>> refused = {
      {"--samples", "1500001"}, {"--series", "0"},  {"--first", "44", "--series", "3"},
      {"--pair", "UU"},         {"--name", "ab"},   {"--heights", "1234567890123456"},
      {"--rate", "fast"},       {"--unknown", "1"}, {"--samples"},
  };
  for (const std::vector<std::string>& words : refused) {
    SCOPED_TRACE(words[0]);
    ProgramRun run = run_program(LDA_MEASUREMENT_GENERATOR_PATH, words, dir.path);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(list_files(dir.path), std::vector<std::string>{});
  }
}
#endif
