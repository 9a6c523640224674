#include "ldastat/input/series_file.h"

#include <bit>
#include <cassert>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "ldastat/run/console.h"

// File header: offsets and lengths of the fields that are read.
constexpr int header_size = 348;
constexpr int first_block_field = 8;
constexpr int location_x_field = 12;
constexpr int location_y_field = 28;
constexpr int location_z_field = 44;
constexpr int location_length = 16;
constexpr int date_field = 216;
constexpr int date_length = 128;
constexpr int block_count_field = 344;

// Channel block header: offsets of its fields; its fixed part is 86 bytes.
constexpr int block_fixed_size = 86;
constexpr int sample_offset_field = 2;
constexpr int sample_size_field = 78;
constexpr int sample_count_field = 82;
constexpr int sample_size = 8;

constexpr int first_series_number = 1;
constexpr int last_series_number = 45;

static_assert(sizeof(SeriesBuffers::pos_x) > location_length, "a full location field must fit");
static_assert(sizeof(SeriesBuffers::meas_date) > date_length, "a full date field must fit");
static_assert(sizeof(double) == sample_size, "samples are read straight into doubles");

void select_series_file(SeriesBuffers& buffers, const RunSettings& settings, int series_counter) {
  int k = settings.ts_stn + series_counter;
  if (k < first_series_number || k > last_series_number)
    fail_run(exit_correlation_or_series_number, "\n number of timeseries too high!\n");
  for (int digits = 6; digits >= 2; --digits) {
    int length = std::snprintf(buffers.series_file, sizeof buffers.series_file, "%s.%0*d.bin",
                               settings.meas_c, digits, k);
    // meas_c holds at most 49 characters, so every candidate fits.
    assert(length > 0 && length < static_cast<int>(sizeof buffers.series_file));
    (void)length;
    if (digits == 2 || series_file_opens(buffers.series_file)) break;
  }
  std::snprintf(buffers.series_nbr, sizeof buffers.series_nbr, "%02d", k);
}

bool series_file_opens(const char* name) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// 32-bit signed little-endian integer, whatever the host's byte order.
static int little_endian_int(const unsigned char* bytes) {
  std::uint32_t bits = 0;
  for (int b = 3; b >= 0; --b) bits = (bits << 8) | bytes[b];
  return static_cast<int>(bits);
}

// Reorders, in place, doubles whose bytes were read in little-endian order.
static void decode_little_endian_doubles(double* values, int count) {
  for (int i = 0; i < count; ++i) {
    unsigned char bytes[sizeof(double)];
    std::memcpy(bytes, &values[i], sizeof bytes);
    std::uint64_t bits = 0;
    for (int b = 7; b >= 0; --b) bits = (bits << 8) | bytes[b];
    std::memcpy(&values[i], &bits, sizeof bits);
  }
}

// The text of a header field: up to its zero byte, or the whole field when
// the zero byte is missing.
static void copy_field_text(char* out, const unsigned char* field, int field_length) {
  int length = 0;
  while (length < field_length && field[length] != 0) ++length;
  std::memcpy(out, field, static_cast<std::size_t>(length));
  out[length] = '\0';
}

// Refusal of a file that breaks its own format: the file, what is wrong,
// and the end of the run with status 2.
[[noreturn]] static void refuse_series_file(const char* name, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

static void refuse_series_file(const char* name, const char* format, ...) {
  char what[256];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(what, sizeof what, format, args);
  va_end(args);
  fail_run(exit_measurement_type_or_series_file, "\n LDA-timeseries %s refused: %s!\n", name, what);
}

// The reads: positioned, whole or not at all.
static bool read_at(std::FILE* file, long long offset, void* out, std::size_t size) {
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(out, 1, size, file) == size;
}

static long long size_of_file(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  return std::ftell(file);
}

namespace {

// Closes the series file on every path out of the reader, refusals included.
struct OpenSeriesFile {
  std::FILE* file;
  explicit OpenSeriesFile(std::FILE* opened) : file(opened) {}
  OpenSeriesFile(const OpenSeriesFile&) = delete;
  OpenSeriesFile& operator=(const OpenSeriesFile&) = delete;
  ~OpenSeriesFile() {
    if (file != nullptr) std::fclose(file);
  }
};

}  // namespace

void read_series_file(SeriesBuffers& buffers) {
  const char* name = buffers.series_file;
  OpenSeriesFile open_file{std::fopen(name, "rb")};
  std::FILE* file = open_file.file;
  if (file == nullptr)
    fail_run(exit_measurement_type_or_series_file, "open LDA-timeseries %s aborted!", name);

  long long file_size = size_of_file(file);
  unsigned char header[header_size];
  if (file_size >= 0 && file_size < header_size)
    refuse_series_file(name, "the header is shorter than 348 bytes (the file has %lld bytes)",
                       file_size);
  if (file_size < 0 || !read_at(file, 0, header, sizeof header))
    refuse_series_file(name, "the file cannot be read");
  copy_field_text(buffers.pos_x, header + location_x_field, location_length);
  copy_field_text(buffers.pos_y, header + location_y_field, location_length);
  copy_field_text(buffers.pos_z, header + location_z_field, location_length);
  copy_field_text(buffers.meas_date, header + date_field, date_length);
  // The announced number of blocks is not trusted: four are always read.
  (void)little_endian_int(header + block_count_field);
  buffers.channel_count = read_channels;

  long long block = little_endian_int(header + first_block_field);
  for (int c = 0; c < read_channels; ++c) {
    if (block < 0 || block >= file_size)
      refuse_series_file(name, "channel %i starts at byte %lld, outside the file of %lld bytes", c,
                         block, file_size);
    unsigned char block_header[block_fixed_size];
    if (block + block_fixed_size > file_size ||
        !read_at(file, block, block_header, sizeof block_header))
      refuse_series_file(name, "the header of channel %i is cut off by the end of the file", c);
    long long samples_at = block + little_endian_int(block_header + sample_offset_field);
    int size = little_endian_int(block_header + sample_size_field);
    int count = little_endian_int(block_header + sample_count_field);
    if (samples_at < block || samples_at > file_size)
      refuse_series_file(name,
                         "the samples of channel %i start at byte %lld, outside the file of "
                         "%lld bytes",
                         c, samples_at, file_size);
    if (size != sample_size)
      refuse_series_file(name, "channel %i has %i bytes per sample, not 8", c, size);
    if (count < 0)
      refuse_series_file(name, "channel %i has a negative sample count (%i)", c, count);
    if (count > max_series_samples)
      refuse_series_file(name, "channel %i has %i samples, more than %i", c, count,
                         max_series_samples);
    long long block_end = samples_at + static_cast<long long>(sample_size) * count;
    if (block_end > file_size ||
        !read_at(file, samples_at, buffers.raw[c], static_cast<std::size_t>(sample_size) * count))
      refuse_series_file(name,
                         "the file is shorter than its blocks announce (channel %i ends at byte "
                         "%lld, the file at byte %lld)",
                         c, block_end, file_size);
    if (std::endian::native != std::endian::little)
      decode_little_endian_doubles(buffers.raw[c], count);
    buffers.raw_count[c] = count;
    block = block_end;
  }

  const int* counts = buffers.raw_count;
  if (counts[0] != counts[1] || counts[0] != counts[2] || counts[0] != counts[3])
    fail_run(exit_component_1_or_unequal_counts, "%i\n%i\n%i\n%i\nunequal data counts!!!/a/a/a\n",
             counts[0], counts[1], counts[2], counts[3]);
  std::fclose(file);
  open_file.file = nullptr;
  std::printf("\n\n\n input-file: \"%s\" read!\n", name);
}
