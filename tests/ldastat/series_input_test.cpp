// Series input: choosing the series file, reading the binary series and the
// reference velocity of a series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "ldastat/input/reference_velocity.h"
#include "ldastat/input/series_buffers.h"
#include "ldastat/input/series_file.h"
#include "ldastat/run/run_settings.h"
#include "tests/ldastat/result_files_fixture.h"
#include "tests/ldastat/series_fixtures.h"
#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

namespace {

// Layout of the series file, as the format fixes it.
constexpr int first_block_offset_field = 8;
constexpr int block_sample_offset_field = 2;  // H, from the block start
constexpr int block_sample_size_field = 78;   // S
constexpr int block_sample_count_field = 82;  // N

// Settings whose meas_c is "<dir>/m", so that the input files are looked up
// in the test directory.
RunSettings settings_in(const TempDirectory& dir, int ts_stn) {
  RunSettings settings;
  set_default_settings(settings);
  std::string prefix = dir.file("m");
  EXPECT_LT(prefix.size(), static_cast<std::size_t>(meas_c_capacity));
  set_measurement_name(settings, prefix.c_str());
  settings.ts_stn = ts_stn;
  return settings;
}

// Four channels of n samples with values that differ from channel to
// channel and sample to sample.
SeriesFixture numbered_series(int n) {
  SeriesFixture fixture;
  for (int c = 0; c < 4; ++c)
    for (int i = 0; i < n; ++i) fixture.channels[c].push_back(c * 1000.0 + i * 0.125 - 3.0);
  return fixture;
}

// Writes `fixture` as "m.01.bin" in `dir` and reads it into the shared buffers.
SeriesBuffers& read_fixture(const TempDirectory& dir, const SeriesFixture& fixture) {
  std::string path = dir.file("m.01.bin");
  EXPECT_TRUE(write_series_fixture(path, fixture));
  SeriesBuffers& buffers = shared_series_buffers();
  clear_series_buffers(buffers);
  std::snprintf(buffers.series_file, sizeof buffers.series_file, "%s", path.c_str());
  read_series_file(buffers);
  return buffers;
}

void expect_channels_equal(const SeriesBuffers& buffers, const SeriesFixture& fixture) {
  for (int c = 0; c < 4; ++c) {
    SCOPED_TRACE(c);
    ASSERT_EQ(buffers.raw_count[c], static_cast<int>(fixture.channels[c].size()));
    // Byte for byte: the samples are copied, not converted.
    EXPECT_EQ(std::memcmp(buffers.raw[c], fixture.channels[c].data(),
                          fixture.channels[c].size() * sizeof(double)),
              0);
  }
}

void put_int(std::vector<unsigned char>& bytes, std::size_t offset, int value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) bytes[offset + b] = static_cast<unsigned char>(bits >> (8 * b));
}

int get_int(const std::vector<unsigned char>& bytes, std::size_t offset) {
  std::uint32_t bits = 0;
  for (int b = 3; b >= 0; --b) bits = (bits << 8) | bytes[offset + b];
  return static_cast<int>(bits);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

// --- choosing the file ------------------------------------------------------

TEST(select_series_file, widest_name_that_opens_wins_and_two_digits_are_untested) {
  struct Case {
    std::vector<std::string> present;
    int ts_stn;
    const char* expected_name;
    const char* expected_nbr;
  };
  const Case cases[] = {
      // Six digits are tried first.
      {{"m.000007.bin", "m.07.bin"}, 7, "m.000007.bin", "07"},
      {{"m.00007.bin", "m.007.bin"}, 7, "m.00007.bin", "07"},
      {{"m.0007.bin"}, 7, "m.0007.bin", "07"},
      {{"m.007.bin", "m.07.bin"}, 7, "m.007.bin", "07"},
      // One digit is never a candidate: the two-digit name is taken untested.
      {{"m.7.bin"}, 7, "m.07.bin", "07"},
      {{}, 7, "m.07.bin", "07"},
      {{"m.12.bin"}, 12, "m.12.bin", "12"},
      {{"m.000045.bin"}, 45, "m.000045.bin", "45"},
      {{}, 1, "m.01.bin", "01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected_name);
    TempDirectory dir;
    for (const std::string& name : c.present) write_text_file(dir.file(name), "x");
    RunSettings settings = settings_in(dir, c.ts_stn);
    SeriesBuffers& buffers = shared_series_buffers();
    select_series_file(buffers, settings, 0);
    EXPECT_EQ(std::string(buffers.series_file), dir.file(c.expected_name));
    EXPECT_STREQ(buffers.series_nbr, c.expected_nbr);
  }
}

TEST(select_series_file, series_number_counts_from_ts_stn) {
  TempDirectory dir;
  RunSettings settings = settings_in(dir, 3);
  SeriesBuffers& buffers = shared_series_buffers();
  select_series_file(buffers, settings, 2);
  EXPECT_EQ(std::string(buffers.series_file), dir.file("m.05.bin"));
  EXPECT_STREQ(buffers.series_nbr, "05");
}

TEST(select_series_file, series_number_outside_1_to_45_ends_the_run_with_status_6) {
  struct Case {
    int ts_stn;
    int ts_nbr;
  };
  // Series 0 and 46 are the first series of their runs.
  const Case cases[] = {{0, 1}, {-3, 1}, {46, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ts_stn);
    TempDirectory dir;
    write_measurement(dir, {1}, {5.0});
    ProgramRun run = run_program(
        LDASTAT_PATH,
        {"meas_c:run", "ts_stn:" + std::to_string(c.ts_stn), "ts_nbr:" + std::to_string(c.ts_nbr)},
        dir.path);
    EXPECT_EQ(run.exit_status, 6);
    EXPECT_TRUE(output_ends_with(run.output, "\n number of timeseries too high!\n")) << run.output;
    EXPECT_FALSE(contains(run.output, "input-file"));
  }
}

TEST(select_series_file, one_digit_file_is_skipped_silently) {
  TempDirectory dir;
  write_measurement(dir, {}, {5.0, 5.0, 5.0, 5.0, 5.0, 5.0, 5.0});
  ASSERT_TRUE(write_series_fixture(dir.file("run.7.bin"), realistic_series(7)));
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "ts_stn:7"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(output_ends_with(run.output, "correlated measurement\n\n Goodbye!\n")) << run.output;
  EXPECT_FALSE(contains(run.output, "run.07.bin"));
  EXPECT_FALSE(contains(run.output, "ref-file"));
}

// --- reading the binary file ------------------------------------------------

TEST(read_series_file, reads_four_blocks_completely_and_leaves_zeros_behind) {
  TempDirectory dir;
  SeriesFixture fixture = numbered_series(1000);
  // Values whose bytes are all different and that no conversion keeps.
  fixture.channels[2][0] = -0.0;
  fixture.channels[2][1] = std::numeric_limits<double>::denorm_min();
  fixture.channels[3][0] = 1.0000000000000002;
  fixture.channels[3][1] = -123456.789e-300;
  SeriesBuffers& buffers = read_fixture(dir, fixture);
  EXPECT_EQ(buffers.channel_count, 4);
  expect_channels_equal(buffers, fixture);
  EXPECT_TRUE(std::signbit(buffers.raw[2][0]));
  for (int c = 0; c < 4; ++c) EXPECT_EQ(buffers.raw[c][1000], 0.0);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(buffers.raw[4][i], 0.0) << i;
}

TEST(read_series_file, prints_the_read_line) {
  TempDirectory dir;
  write_measurement(dir, {1}, {5.0});
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "o_stat:0"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(
      contains(run.output, "correlated measurement\n\n\n\n input-file: \"run.01.bin\" read!\n"))
      << run.output;
}

TEST(read_series_file, block_count_of_two_still_reads_four_blocks) {
  TempDirectory dir;
  SeriesFixture fixture = numbered_series(50);
  fixture.block_count = 2;
  SeriesBuffers& buffers = read_fixture(dir, fixture);
  expect_channels_equal(buffers, fixture);
}

TEST(read_series_file, blocks_follow_each_other_by_header_and_sample_bytes) {
  TempDirectory dir;
  SeriesFixture fixture = numbered_series(10);
  fixture.first_block_offset = 400;
  fixture.block_header_size = 512;
  // The second block starts at 400 + 512 + 8 * 10 = 992.
  std::vector<unsigned char> bytes = encode_series_file(fixture);
  ASSERT_EQ(get_int(bytes, 992 + block_sample_offset_field), 512);
  ASSERT_EQ(get_int(bytes, 992 + block_sample_count_field), 10);
  SeriesBuffers& buffers = read_fixture(dir, fixture);
  expect_channels_equal(buffers, fixture);
}

TEST(read_series_file, header_texts_end_at_their_zero_byte_or_field_end) {
  struct Case {
    std::string pos_x, pos_y, pos_z, meas_date;
  };
  const Case cases[] = {
      {"-12.25", "300", "125.5", "Mon Dec 11 10:24:00 2026"},
      // All sixteen bytes of X and Y are text; the date fills its 128 bytes
      // up to the block count at offset 344.
      {"1111111111111111", "2222222222222222", "125.5", std::string(128, 'd')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos_x);
    TempDirectory dir;
    SeriesFixture fixture = numbered_series(5);
    fixture.pos_x = c.pos_x;
    fixture.pos_y = c.pos_y;
    fixture.pos_z = c.pos_z;
    fixture.meas_date = c.meas_date;
    SeriesBuffers& buffers = read_fixture(dir, fixture);
    EXPECT_EQ(std::string(buffers.pos_x), c.pos_x);
    EXPECT_EQ(std::string(buffers.pos_y), c.pos_y);
    EXPECT_EQ(std::string(buffers.pos_z), c.pos_z);
    EXPECT_EQ(std::string(buffers.meas_date), c.meas_date);
  }
}

TEST(read_series_file, channel_of_1500000_samples_fills_the_capacity) {
  TempDirectory dir;
  SeriesFixture fixture;
  for (int c = 0; c < 4; ++c) {
    fixture.channels[c].resize(max_series_samples);
    for (int i = 0; i < max_series_samples; ++i) fixture.channels[c][i] = c + i * 1e-3;
  }
  SeriesBuffers& buffers = read_fixture(dir, fixture);
  expect_channels_equal(buffers, fixture);
}

TEST(read_series_file, vanished_file_ends_the_run_with_status_2) {
  SeriesBuffers& buffers = shared_series_buffers();
  TempDirectory dir;
  std::snprintf(buffers.series_file, sizeof buffers.series_file, "%s",
                dir.file("m.01.bin").c_str());
  EXPECT_EXIT(read_series_file(buffers), testing::ExitedWithCode(2), "");
}

TEST(read_series_file, unequal_counts_print_the_four_counts_and_end_with_status_3) {
  TempDirectory dir;
  write_measurement(dir, {}, {5.0});
  SeriesFixture fixture = numbered_series(1000);
  fixture.channels[2].pop_back();
  ASSERT_TRUE(write_series_fixture(dir.file("run.01.bin"), fixture));
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run"}, dir.path);
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_TRUE(output_ends_with(run.output,
                               "correlated measurement\n"
                               "1000\n1000\n999\n1000\nunequal data counts!!!/a/a/a\n"))
      << run.output;
}

// A file that breaks its own format is refused before anything of it is used.
TEST(read_series_file, broken_file_is_refused_with_status_2) {
  // Blocks of 1000 samples with the default header of 128 bytes: block c
  // starts at 348 + c * (128 + 8000); the file ends at 32860.
  auto block = [](int c) { return static_cast<std::size_t>(348 + c * 8128); };
  struct Case {
    const char* what;
    std::function<void(std::vector<unsigned char>&)> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"short header", [](std::vector<unsigned char>& b) { b.resize(300); },
       "the header is shorter than 348 bytes (the file has 300 bytes)"},
      {"negative first block",
       [](std::vector<unsigned char>& b) { put_int(b, first_block_offset_field, -8); },
       "channel 0 starts at byte -8, outside the file of 32860 bytes"},
      {"first block past the end",
       [](std::vector<unsigned char>& b) { put_int(b, first_block_offset_field, 40000); },
       "channel 0 starts at byte 40000, outside the file of 32860 bytes"},
      {"block header cut off",
       [](std::vector<unsigned char>& b) { put_int(b, first_block_offset_field, 32800); },
       "the header of channel 0 is cut off by the end of the file"},
      {"negative sample offset",
       [&](std::vector<unsigned char>& b) { put_int(b, block(1) + block_sample_offset_field, -4); },
       "the samples of channel 1 start at byte 8472, outside the file of 32860 bytes"},
      {"sample offset past the end",
       [&](std::vector<unsigned char>& b) {
         put_int(b, block(2) + block_sample_offset_field, 1 << 30);
       },
       "the samples of channel 2 start at byte 1073758428, outside the file of 32860 bytes"},
      {"four bytes per sample",
       [&](std::vector<unsigned char>& b) { put_int(b, block(3) + block_sample_size_field, 4); },
       "channel 3 has 4 bytes per sample, not 8"},
      {"negative count",
       [&](std::vector<unsigned char>& b) { put_int(b, block(1) + block_sample_count_field, -1); },
       "channel 1 has a negative sample count (-1)"},
      {"count beyond the capacity",
       [&](std::vector<unsigned char>& b) {
         put_int(b, block(0) + block_sample_count_field, 1500001);
       },
       "channel 0 has 1500001 samples, more than 1500000"},
      {"count past the end",
       [&](std::vector<unsigned char>& b) {
         put_int(b, block(3) + block_sample_count_field, 1001);
       },
       "the file is shorter than its blocks announce (channel 3 ends at byte 32868, the file at "
       "byte 32860)"},
      {"file cut short", [](std::vector<unsigned char>& b) { b.resize(b.size() - 1); },
       "the file is shorter than its blocks announce (channel 3 ends at byte 32860, the file at "
       "byte 32859)"},
  };
  std::vector<unsigned char> valid = encode_series_file(numbered_series(1000));
  ASSERT_EQ(valid.size(), 32860u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDirectory dir;
    write_measurement(dir, {}, {5.0});
    std::vector<unsigned char> bytes = valid;
    c.spoil(bytes);
    write_binary_file(dir.file("run.01.bin"), bytes);
    ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run"}, dir.path);
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_TRUE(output_ends_with(
        run.output, std::string("\n LDA-timeseries run.01.bin refused: ") + c.message + "!\n"))
        << run.output;
    EXPECT_FALSE(contains(run.output, "read!"));
  }
}

// --- the reference velocity -------------------------------------------------

TEST(read_reference_velocity, row_is_chosen_by_its_position) {
  struct Case {
    const char* rule;
    std::string file;
    int ts_stn;
    int series_counter;
    float expected;
  };
  const std::string three_rows =
      "header\n10 run10 4.98 5.02\n11 run11 4.97 5.01\n12 run12 1.0 7.25\n";
  const Case cases[] = {
      {"series 1 takes line 2, whatever its first item", three_rows, 1, 0, 5.02f},
      {"series 2 takes line 3", three_rows, 1, 1, 5.01f},
      {"ts_stn 3 starts at line 4", three_rows, 3, 0, 7.25f},
      {"a row the file lacks is 0.0", three_rows, 1, 3, 0.0f},
      {"only a header line", "series name u_ref u_prandtl\n", 1, 0, 0.0f},
      {"an empty line keeps its row number", "h\n\n2 b 1.0 6.5\n", 2, 0, 6.5f},
      {"an empty row is 0.0", "h\n\n2 b 1.0 6.5\n", 1, 0, 0.0f},
      {"a row of three items is 0.0", "h\n1 a 5.0\n", 1, 0, 0.0f},
      {"the last row needs no line end", "h\n1 a 1.0 3.5", 1, 0, 3.5f},
      {"items after the fourth are ignored", "h\n1 a 1.0 3.5 9 9\n", 1, 0, 3.5f},
      // The first item is read as by "%i": a hexadecimal number is an integer,
      // but "08" is the octal 0 followed by the word "8", so "run08" is the
      // third item and is no number.
      {"hexadecimal first item", "h\n0x1A a 1.0 4.5\n", 1, 0, 4.5f},
      {"08 is octal 0 and a word", "h\n08 run08 1.0 4.5\n", 1, 0, 0.0f},
      // Values that are not finite as floats are unreadable.
      {"nan", "h\n1 a 1.0 nan\n", 1, 0, 0.0f},
      {"beyond the float range", "h\n1 a 1.0 1e39\n", 1, 0, 0.0f},
      // A line is read in parts of 3999 characters, each counting as a line:
      // the header of 3999 characters leaves its line end as row 1.
      {"long header: its line end is row 1", std::string(3999, 'h') + "\n1 a 1.0 2.5\n", 1, 0,
       0.0f},
      {"long header: the next line is row 2", std::string(3999, 'h') + "\n1 a 1.0 2.5\n", 2, 0,
       2.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_text_file(dir.file("m_wtref.txt"), c.file);
    RunSettings settings = settings_in(dir, c.ts_stn);
    float velocity = read_reference_velocity(settings, c.series_counter);
    EXPECT_EQ(velocity, c.expected);
  }
}

TEST(read_reference_velocity, rows_beyond_the_45th_series_do_no_harm) {
  TempDirectory dir;
  std::string text = "header\n";
  for (int k = 1; k <= 60; ++k)
    text += std::to_string(k) + " r " + "1.0 " + std::to_string(k) + ".5\n";
  write_text_file(dir.file("m_wtref.txt"), text);
  RunSettings settings = settings_in(dir, 45);
  EXPECT_EQ(read_reference_velocity(settings, 0), 45.5f);
}

TEST(read_reference_velocity, prints_prandtl_and_reference_velocity) {
  TempDirectory dir;
  write_measurement(dir, {1}, {5.0});
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run", "sc_fac:0.8632", "o_stat:0"}, dir.path);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(contains(run.output,
                       " read!\n"
                       " ref-file: run_wtref.txt opened!\n"
                       " U (prandtl-tube):  5.00 m/s\n"
                       " U (reference)   :  4.32 m/s\n"))
      << run.output;
}

TEST(read_reference_velocity, missing_file_ends_the_run_with_status_4) {
  TempDirectory dir;
  write_measurement(dir, {1}, {5.0});
  std::remove(dir.file("run_wtref.txt").c_str());
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:run"}, dir.path);
  EXPECT_EQ(run.exit_status, 4);
  EXPECT_TRUE(output_ends_with(run.output, " read!\n\n opening ref-file: run_wtref.txt aborted!\n"))
      << run.output;
}
