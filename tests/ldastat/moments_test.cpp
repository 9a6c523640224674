#include "ldastat/stats/moments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/ldastat/result_files_fixture.h"

namespace {

// Expected values below were worked out with every running sum rounded to
// a 32-bit float after each addition; they are compared exactly.
MomentStatistics moments_of(const std::vector<double>& first, const std::vector<double>& second,
                            double conf_i) {
  SeriesBuffers& buffers = example_series("0.0", "0.0", "100.0");
  int n = static_cast<int>(first.size());
  for (int i = 0; i < n; ++i) {
    buffers.raw[2][i] = first[i];
    buffers.raw[3][i] = second[i];
  }
  buffers.raw_count[0] = n;
  MomentStatistics moments{};
  compute_moments(buffers, conf_i, moments);
  return moments;
}

}  // namespace

TEST(moments, one_to_four) {
  MomentStatistics m = moments_of({1, 2, 3, 4}, {2, 4, 6, 8}, 95.0);
  EXPECT_EQ(m.mean[0], 2.5f);
  EXPECT_EQ(m.rms[0], 1.1180340051651f);
  EXPECT_EQ(m.confidence[0], 1.0956733226776123f);  // 1.118034 / 2 * 1.96
  EXPECT_EQ(m.skewness[0], 0.0f);
  EXPECT_EQ(m.flatness[0], 1.6399999856948853f);
  // The second component is twice the first.
  EXPECT_EQ(m.mean[1], 5.0f);
  EXPECT_EQ(m.rms[1], 2.2360680103302f);
  EXPECT_EQ(m.skewness[1], 0.0f);
  EXPECT_EQ(m.flatness[1], 1.6399999856948853f);
}

TEST(moments, confidence_follows_the_level) {
  struct Case {
    double conf_i;
    float confidence;  // rms 1.7320508 / 2 * z
  };
  const Case cases[] = {
      {95.0, 1.697409749031067f},
      {90.0, 1.4246118068695068f},
      {99.0, 2.230881452560425f},
      {80.0, 0.0f},  // not tabulated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.conf_i);
    MomentStatistics m = moments_of({0, 0, 0, 4}, {1, 1, 1, 1}, c.conf_i);
    EXPECT_EQ(m.mean[0], 1.0f);
    EXPECT_EQ(m.rms[0], 1.7320507764816284f);
    EXPECT_EQ(m.skewness[0], 1.154700517654419f);
    EXPECT_EQ(m.flatness[0], 2.3333332538604736f);
    EXPECT_EQ(m.confidence[0], c.confidence);
  }
}

TEST(moments, covariance_divides_by_n) {
  MomentStatistics m = moments_of({1, 2, 3, 4}, {2, 4, 6, 8}, 95.0);
  EXPECT_EQ(m.covariance, 2.5f);  // 10 / 4, not 10 / 3
}

TEST(moments, float_running_sum_loses_quarters_past_two_to_the_23) {
  std::vector<double> level(1000000, 10.25);
  MomentStatistics m = moments_of(level, level, 95.0);
  EXPECT_EQ(m.mean[0], 10.102299690246582f);  // the sum ends at 10,102,300
  EXPECT_EQ(m.mean[1], 10.102299690246582f);
}

TEST(moments, constant_component_has_undefined_skewness_and_flatness) {
  MomentStatistics m = moments_of({1, 2, 3, 4}, {0.5, 0.5, 0.5, 0.5}, 95.0);
  EXPECT_EQ(m.mean[1], 0.5f);
  EXPECT_EQ(m.rms[1], 0.0f);
  EXPECT_EQ(m.confidence[1], 0.0f);
  EXPECT_TRUE(std::isnan(m.skewness[1]));
  EXPECT_TRUE(std::isnan(m.flatness[1]));
  EXPECT_EQ(m.covariance, 0.0f);
  // The other component is unaffected.
  EXPECT_EQ(m.flatness[0], 1.6399999856948853f);
}
