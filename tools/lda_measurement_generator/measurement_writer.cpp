#include "tools/lda_measurement_generator/measurement_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

static void put_int(std::vector<unsigned char>& bytes, std::size_t offset, int value) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) bytes[offset + b] = static_cast<unsigned char>(bits >> (8 * b));
}

static void put_double(std::vector<unsigned char>& bytes, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int b = 0; b < 8; ++b) bytes[offset + b] = static_cast<unsigned char>(bits >> (8 * b));
}

static void put_text(std::vector<unsigned char>& bytes, std::size_t offset, std::size_t field,
                     const std::string& text) {
  for (std::size_t i = 0; i < field && i < text.size(); ++i)
    bytes[offset + i] = static_cast<unsigned char>(text[i]);
}

std::string series_file_name(const std::string& measurement, int series_number, int digits) {
  char number[32];
  std::snprintf(number, sizeof number, ".%0*d.bin", digits, series_number);
  return measurement + number;
}

std::vector<unsigned char> encode_series_file(const SeriesFixture& f) {
  std::size_t header_end = f.first_block_offset > 348 ? static_cast<std::size_t>(f.first_block_offset) : 348;
  std::vector<unsigned char> bytes(header_end, 0);
  put_text(bytes, 0, 6, "LDASER");
  put_int(bytes, 8, f.first_block_offset);
  put_text(bytes, 12, 16, f.pos_x);
  put_text(bytes, 28, 16, f.pos_y);
  put_text(bytes, 44, 16, f.pos_z);
  put_text(bytes, 72, 128, "generated series");
  put_text(bytes, 200, 16, "LDA");
  put_text(bytes, 216, 128, f.meas_date);
  put_int(bytes, 344, f.block_count);
  std::size_t position = static_cast<std::size_t>(f.first_block_offset);
  for (int c = 0; c < 4; ++c) {
    const std::vector<double>& samples = f.channels[c];
    int count = f.sample_count_override[c] >= 0 ? f.sample_count_override[c]
                                                 : static_cast<int>(samples.size());
    std::size_t block_size = static_cast<std::size_t>(f.block_header_size) + 8 * samples.size();
    if (bytes.size() < position + block_size) bytes.resize(position + block_size, 0);
    put_int(bytes, position + 2, f.block_header_size);
    put_text(bytes, position + 6, 68, "channel " + std::to_string(c));
    put_int(bytes, position + 78, f.bytes_per_sample);
    put_int(bytes, position + 82, count);
    for (std::size_t i = 0; i < samples.size(); ++i)
      put_double(bytes, position + static_cast<std::size_t>(f.block_header_size) + 8 * i, samples[i]);
    // The next block follows where the announced count says it does.
    position += static_cast<std::size_t>(f.block_header_size) +
                static_cast<std::size_t>(f.bytes_per_sample) * static_cast<std::size_t>(count);
  }
  return bytes;
}

static bool write_bytes(const std::string& path, const void* data, std::size_t size,
                        const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return false;
  bool ok = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

bool write_series_fixture(const std::string& path, const SeriesFixture& fixture) {
  std::vector<unsigned char> bytes = encode_series_file(fixture);
  return write_bytes(path, bytes.data(), bytes.size(), "wb");
}

std::string logbook_text(const LogbookFixture& l) {
  return "logbook of the measurement\n" + l.main_project + "\n" + l.sub_project + "\n" +
         l.wind_tunnel + "\n" + l.meas_type + "\n" + l.principle + "\n" + l.instrument + "\n" +
         l.wind_direction + "\n" + l.component_1 + "\n" + l.component_2 + "\n" + l.correlation +
         "\n";
}

bool write_logbook_fixture(const std::string& path, const LogbookFixture& logbook) {
  std::string text = logbook_text(logbook);
  return write_bytes(path, text.data(), text.size(), "w");
}

std::string reference_table_text(const std::vector<double>& prandtl_velocities) {
  std::string text = "series name u_ref u_prandtl\n";
  char row[128];
  for (std::size_t k = 0; k < prandtl_velocities.size(); ++k) {
    std::snprintf(row, sizeof row, "%zu run%02zu %.4f %.6f\n", k + 1, k + 1,
                  prandtl_velocities[k] * 0.99, prandtl_velocities[k]);
    text += row;
  }
  return text;
}

bool write_reference_fixture(const std::string& path, const std::vector<double>& prandtl_velocities) {
  std::string text = reference_table_text(prandtl_velocities);
  return write_bytes(path, text.data(), text.size(), "w");
}
