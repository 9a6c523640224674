// Writing PLUMEX measurements: "logbook-info_cc.txt" and a realistic
// six-column concentration series (time, prandtl-tube velocity, background
// concentration, concentration, trigger, source-flow signal).
#pragma once

#include <cstdint>
#include <string>

// The fifteen lines of "logbook-info_cc.txt", one word each.
struct CcLogbookFixture {
  std::string title = "logbook-info";  // line 1, not evaluated
  std::string main_project = "demo";
  std::string sub_project = "street_canyon";
  std::string wind_tunnel = "BLWT";
  std::string meas_type = "CC";
  std::string line_6 = "FID";  // lines 6 and 7, not evaluated
  std::string line_7 = "2026-12-11";
  std::string wind_direction = "2700";  // tenths of a degree
  std::string released_gas = "C2H6";
  std::string gas_factor = "1.0";
  std::string release_mode = "plume";
  std::string source_name = "S1";
  std::string release_x = "0.0";  // mm, model scale
  std::string release_y = "0.0";
  std::string release_z = "5.0";
};

std::string cc_logbook_text(const CcLogbookFixture& logbook);
bool write_cc_logbook_fixture(const std::string& path, const CcLogbookFixture& logbook);

// A synthetic measurement. Plume: the concentration fluctuates around its
// mean (log-normal, correlated over a few tens of samples). Puff: a 5 V
// trigger pulse of pulse_samples every period_samples samples from
// first_pulse; each pulse releases a puff that arrives after the travel
// time, with a peak that varies from puff to puff (some stay weak).
// Deterministic for a seed on every platform.
struct ConcentrationSeriesShape {
  bool is_puff = false;
  int sample_count = 60000;
  double sample_rate = 1000.0;      // Hz (the SAMPLE option)
  double spacing_factor = 1.0;      // lines lie spacing_factor / sample_rate s apart (D_SAMP)
  std::uint64_t seed = 1;
  double prandtl_velocity = 5.0;    // m/s, mean of column 2
  double background = 2.0;          // ppmv, mean of column 3
  double plume_mean = 40.0;         // ppmv above the background (plume)
  double source_flow = 2.0;         // V, mean of column 6
  int first_pulse = 100;            // sample of the first trigger pulse (puff)
  int period_samples = 2000;        // samples from pulse to pulse
  int pulse_samples = 50;           // samples of each pulse at 5 V
  double travel_time = 0.4;         // s from trigger to the puff's arrival
  double puff_peak = 300.0;         // ppmv, median peak above the background
  double puff_rise_time = 0.15;     // s from arrival to the peak
};

// Writes the series; false when the file cannot be written.
bool write_concentration_series(const std::string& path, const ConcentrationSeriesShape& shape);
