// Writing LDASTAT measurement files: binary series files, "logbook-info.txt"
// and the reference-velocity table.
#pragma once

#include <array>
#include <string>
#include <vector>

// One binary series file described field by field, so that a broken file
// is a one-field change of a valid one.
struct SeriesFixture {
  std::string pos_x = "0.0";  // location texts, mm (at most 15 characters + zero byte)
  std::string pos_y = "0.0";
  std::string pos_z = "100.0";
  std::string meas_date = "11.12.2026";
  int first_block_offset = 348;  // header int at offset 8
  int block_count = 4;           // header int at offset 344
  int block_header_size = 128;   // H of every block (at least 86)
  int bytes_per_sample = 8;      // S of every block
  // Samples of the four channels: arrival time s, transit time s, two
  // velocity components m/s.
  std::array<std::vector<double>, 4> channels;
  // When >= 0, replaces the N field of that channel's block (the samples
  // written stay those of `channels`).
  std::array<int, 4> sample_count_override = {-1, -1, -1, -1};
};

// "measurement.NNNNNN.bin": the series number with `digits` digits (2 to 6),
// leading zeros.
std::string series_file_name(const std::string& measurement, int series_number, int digits);

// The bytes of the file (little-endian, whatever the host).
std::vector<unsigned char> encode_series_file(const SeriesFixture& fixture);

// Writes the file; returns false when it cannot be written.
bool write_series_fixture(const std::string& path, const SeriesFixture& fixture);

// The ten description words of lines 2 to 11 of "logbook-info.txt".
struct LogbookFixture {
  std::string main_project = "proj";
  std::string sub_project = "sub";
  std::string wind_tunnel = "K";
  std::string meas_type = "FL";
  std::string principle = "LDA";
  std::string instrument = "lda1";
  std::string wind_direction = "2700";
  std::string component_1 = "U";
  std::string component_2 = "V";
  std::string correlation = "cor";
};

std::string logbook_text(const LogbookFixture& logbook);
bool write_logbook_fixture(const std::string& path, const LogbookFixture& logbook);

// "%s_wtref.txt": a header line, then one row per series with the
// prandtl-tube velocity as its fourth item.
std::string reference_table_text(const std::vector<double>& prandtl_velocities);
bool write_reference_fixture(const std::string& path, const std::vector<double>& prandtl_velocities);
