// Hostile inputs, end to end: whatever the measurement directory holds,
// LDASTAT ends with its documented exit status and a line that explains it,
// writes no "nan" or "inf" into a result file, and changes nothing but the
// result files the run is expected to write (earlier rows of the appended
// statistics file included).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/checked_run.h"
#include "tests/support/directory_snapshot.h"
#include "tests/support/program_run.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

using namespace std::string_literals;

namespace {

const char series_name[] = "m01.000001.bin";
const std::vector<std::string> short_names = {"meas_c:m01", "rfn_op:1"};

// n samples: increasing arrival times 1 ms apart, transit times of a few
// microseconds, two velocity components that vary.
SeriesFixture series_of(int n) {
  SeriesFixture f;
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 1.0);
  for (int i = 0; i < n; ++i) {
    f.channels[0].push_back(0.001 * (i + 1));
    f.channels[1].push_back(2.0e-6 + 1.0e-7 * (i % 5));
    f.channels[2].push_back(5.0 + 0.5 * noise(random));
    f.channels[3].push_back(0.2 * noise(random));
  }
  return f;
}

// A measurement directory: description, reference table, the "STAT"
// directory (so that a refused run is to leave everything as it was) and
// the series files given.
void write_measurement(const TempDirectory& dir, const std::vector<std::vector<unsigned char>>& series) {
  write_logbook_fixture(dir.file("logbook-info.txt"), LogbookFixture{});
  write_reference_fixture(dir.file("m01_wtref.txt"), std::vector<double>(45, 5.0));
  std::filesystem::create_directory(dir.file("STAT"));
  for (std::size_t k = 0; k < series.size(); ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "m01.%06zu.bin", k + 1);
    write_binary_file(dir.file(name), series[k]);
  }
}

struct Expectation {
  int status;
  std::string fragment;              // part of the explanatory console line
  std::vector<std::string> allowed;  // entries the run may add or change
};

// Runs LDASTAT and checks status, message, result files and the rest of
// the directory (earlier rows of the statistics file kept).
ProgramRun expect_run(const TempDirectory& dir, const std::vector<std::string>& words,
                      const Expectation& expected) {
  CheckedRun checked = run_and_check(LDASTAT_PATH, words, dir.path, expected.status, expected.fragment);
  EXPECT_EQ(changes_outside(checked.before, checked.after, expected.allowed), std::vector<std::string>{});
  EXPECT_EQ(files_not_kept_as_prefix(checked.before, checked.after, "STAT"), std::vector<std::string>{});
  return checked.run;
}

Expectation series_refused() { return {2, series_name, {}}; }

void put_int(std::vector<unsigned char>& bytes, std::size_t offset, std::int32_t value) {
  for (int b = 0; b < 4; ++b)
    bytes[offset + b] = static_cast<unsigned char>(static_cast<std::uint32_t>(value) >> (8 * b));
}

// Offsets in the file of series_of(6) with the default layout: header of
// 348 bytes, blocks of 128 header bytes and 6 samples of 8 bytes.
constexpr std::size_t first_block = 348;
constexpr std::size_t block_bytes = 128 + 6 * 8;

}  // namespace

TEST(hostile_series, file_cut_anywhere_is_refused) {
  std::vector<unsigned char> whole = encode_series_file(series_of(6));
  ASSERT_EQ(whole.size(), first_block + 4 * block_bytes);
  // Inside the header, at its fields, inside block headers and samples, at
  // block boundaries and one byte before the end.
  const std::size_t cuts[] = {0,   1,   7,   8,   11,  12,  100, 343, 344, 347, 348,
                              349, 353, 429, 430, 434, 476, 500, 523, 524, 700, 1051};
  for (std::size_t cut : cuts) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    TempDirectory dir;
    write_measurement(dir, {std::vector<unsigned char>(whole.begin(), whole.begin() + cut)});
    expect_run(dir, short_names, series_refused());
  }
}

TEST(hostile_series, lying_block_headers_are_refused) {
  struct Case {
    const char* rule;
    std::size_t offset;  // of the 32-bit field in the file
    std::int32_t value;
  };
  const std::size_t block_1 = first_block + block_bytes;
  const Case cases[] = {
      {"first-block offset negative", 8, -1},
      {"first-block offset past the end", 8, 1000000},
      {"first-block offset at the int limit", 8, INT_MAX},
      {"sample offset H negative", first_block + 2, -5},
      {"sample offset H past the end", first_block + 2, 1 << 30},
      {"bytes per sample 4", first_block + 78, 4},
      {"bytes per sample 0", first_block + 78, 0},
      {"bytes per sample -8", block_1 + 78, -8},
      {"count negative", first_block + 82, -1},
      {"count beyond the capacity", first_block + 82, 1500001},
      {"count at the int limit", block_1 + 82, INT_MAX},
      {"count whose byte size wraps 32 bits", first_block + 82, 0x20000000},
      {"count one more than the samples present", first_block + 3 * block_bytes + 82, 7},
      {"huge block count is ignored, but the count of the last block lies", 344, INT_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    std::vector<unsigned char> bytes = encode_series_file(series_of(6));
    put_int(bytes, c.offset, c.value);
    if (c.offset == 344) put_int(bytes, first_block + 3 * block_bytes + 82, 1000);
    TempDirectory dir;
    write_measurement(dir, {bytes});
    expect_run(dir, short_names, series_refused());
  }
}

TEST(hostile_series, unequal_counts_end_with_status_3) {
  SeriesFixture f = series_of(6);
  f.sample_count_override[2] = 5;
  TempDirectory dir;
  write_measurement(dir, {encode_series_file(f)});
  expect_run(dir, short_names, {3, "unequal data counts!!!/a/a/a\n", {}});
}

TEST(hostile_series, random_bytes_are_refused) {
  std::mt19937 random(11);
  for (std::size_t size : {1u, 64u, 347u, 348u, 600u, 4096u}) {
    SCOPED_TRACE("random bytes: " + std::to_string(size));
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    TempDirectory dir;
    write_measurement(dir, {bytes});
    expect_run(dir, short_names, series_refused());
  }
}

TEST(hostile_series, refused_series_keeps_earlier_statistics_rows) {
  // A first run writes the statistics of series 1; a second run over
  // series 1 and a broken series 2 may only append to that file.
  TempDirectory dir;
  std::vector<unsigned char> broken = encode_series_file(series_of(6));
  broken.resize(700);
  write_measurement(dir, {encode_series_file(series_of(300)), broken});
  expect_run(dir, short_names, {0, "processed!", {"STAT"}});
  ASSERT_TRUE(file_exists(dir.file("STAT/m01_ORVA.stat")));
  expect_run(dir, {"meas_c:m01", "rfn_op:1", "ts_nbr:2"},
             {2, "m01.000002.bin", {"STAT/m01_ORVA.stat"}});
}

TEST(hostile_series, degenerate_series_are_skipped_with_a_line) {
  struct Case {
    const char* rule;
    SeriesFixture series;
  };
  SeriesFixture equal_times = series_of(50);
  for (double& t : equal_times.channels[0]) t = 0.5;
  const Case cases[] = {
      {"zero samples", series_of(0)},
      {"one sample", series_of(1)},
      {"equal arrival times", equal_times},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_measurement(dir, {encode_series_file(c.series)});
    ProgramRun run = expect_run(
        dir, {"meas_c:m01", "rfn_op:1", "o_tims:1", "o_tsrs:1", "o_auto:1", "o_osub:1"},
        {0, series_name, {"STAT", "TS", "TS_resamp", "AUTOCORR", "OUTLIERS_deleted"}});
    EXPECT_NE(run.output.find("Goodbye"), std::string::npos);
    EXPECT_FALSE(file_exists(dir.file("STAT/m01_ORVA.stat")));  // nothing to report
  }
}

TEST(hostile_series, constant_series_writes_markers_not_nan) {
  SeriesFixture f = series_of(400);
  for (double& u : f.channels[2]) u = 5.0;
  for (double& v : f.channels[3]) v = 0.0;
  TempDirectory dir;
  write_measurement(dir, {encode_series_file(f)});
  expect_run(dir,
             {"meas_c:m01", "rfn_op:1", "o_tims:1", "o_tsrs:1", "o_auto:1", "o_osub:1",
              "o_spec:1", "fft_nn:64", "o_fluc:1", "o_hist:1"},
             {0, "processed!",
              {"STAT", "TS", "TS_resamp", "AUTOCORR", "OUTLIERS_deleted", "SPEC",
               "FLUC_direction", "FLUC_speed"}});
  EXPECT_NE(read_file(dir.file("STAT/m01_ORVA.stat")).find("999.999"), std::string::npos);
}

TEST(hostile_series, zero_reference_velocity_writes_no_infinity) {
  // A reference table without the row of the series gives 0 m/s, and every
  // normalisation by it would divide by zero.
  TempDirectory dir;
  write_measurement(dir, {encode_series_file(series_of(400))});
  write_text_file(dir.file("m01_wtref.txt"), "header only\n");
  expect_run(dir,
             {"meas_c:m01", "rfn_op:1", "o_tims:1", "o_tsrs:1", "o_spec:1", "fft_nn:64",
              "o_fluc:1", "o_hist:1"},
             {0, "processed!", {"STAT", "TS", "TS_resamp", "SPEC", "FLUC_direction", "FLUC_speed"}});
}

TEST(hostile_reference, missing_reference_file_ends_with_status_4) {
  TempDirectory dir;
  write_measurement(dir, {encode_series_file(series_of(50))});
  std::remove(dir.file("m01_wtref.txt").c_str());
  expect_run(dir, short_names, {4, "m01_wtref.txt", {}});
}

TEST(hostile_input, directories_in_place_of_input_files_are_refused) {
  // A directory opens like a file on some systems but cannot be read.
  TempDirectory series_dir;
  write_measurement(series_dir, {});
  std::filesystem::create_directory(series_dir.file(series_name));
  expect_run(series_dir, short_names, series_refused());

  TempDirectory reference_dir;
  write_measurement(reference_dir, {encode_series_file(series_of(50))});
  std::filesystem::remove(reference_dir.file("m01_wtref.txt"));
  std::filesystem::create_directory(reference_dir.file("m01_wtref.txt"));
  expect_run(reference_dir, short_names, {4, "m01_wtref.txt", {}});
}

TEST(hostile_reference, garbage_reference_tables_are_read_as_far_as_they_go) {
  std::mt19937 random(5);
  std::string binary(3000, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  const std::string tables[] = {
      "",                                        // empty file: no header, no rows
      binary,                                    // binary garbage
      "h\n1 run01 x y\n",                        // unreadable fourth item
      "h\n1 run01 4.9 " + std::string(5000, '7') + "\n",  // overlong line and number
      "h\n1 run01 4.9 1e999\n",                  // out of the float range
      "h\n1 run01 4.9 -5.0\n",                   // negative velocity
  };
  for (const std::string& table : tables) {
    SCOPED_TRACE(table.substr(0, 24));
    TempDirectory dir;
    write_measurement(dir, {encode_series_file(series_of(300))});
    write_text_file(dir.file("m01_wtref.txt"), table);
    expect_run(dir, {"meas_c:m01", "rfn_op:1", "o_tims:1"}, {0, "processed!", {"STAT", "TS"}});
  }
}

TEST(hostile_description, broken_description_files_end_with_their_status) {
  std::mt19937 random(3);
  std::string garbage(2000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  std::string valid = logbook_text(LogbookFixture{});
  struct Case {
    const char* rule;
    std::string text;
    int status;
    const char* fragment;
  };
  const Case cases[] = {
      {"empty file", "", 1, " wind tunnel     : not identifyable!"},
      {"three lines", "x\nproj\nsub\n", 1, " wind tunnel     : not identifyable!"},
      {"binary garbage", garbage, 8, "logbook-information file"},
      // A zero byte ends the word it is in.
      {"zero bytes in words", "x\np\0q\nsub\nK\0H\nFL\nLDA\ni\n2700\nU\nV\ncor\n"s, 0, "Goodbye"},
      // A line of 4000 characters counts as two lines and shifts the entries.
      {"overlong line", "x\n" + std::string(4000, 'p') + "\n" + valid.substr(valid.find('\n') + 1), 8,
       "longer than 19 characters"},
      // 3999 blanks fill one part; "proj" is then line 3 and "sub" the wind tunnel.
      {"overlong blank line", "x\n" + std::string(3999, ' ') + "proj\n" +
                                  valid.substr(valid.find("sub")),
       1, " wind tunnel     : not identifyable!"},
      {"20 000 empty lines after the entries",
       valid + std::string(20000, '\n'), 0, "Goodbye"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TempDirectory dir;
    write_text_file(dir.file("logbook-info.txt"), c.text);
    std::filesystem::create_directory(dir.file("STAT"));
    expect_run(dir, {"meas_c:m01"}, {c.status, c.fragment, {}});
  }
}

TEST(hostile_description, description_that_is_a_directory) {
  TempDirectory dir;
  std::filesystem::create_directory(dir.file("logbook-info.txt"));
  std::filesystem::create_directory(dir.file("STAT"));
  expect_run(dir, {"meas_c:m01"}, {8, "logbook-information file", {}});
}

TEST(hostile_options, overlong_and_odd_words_are_refused_or_harmless) {
  struct Case {
    std::vector<std::string> words;
    int status;
    const char* fragment;
  };
  const Case cases[] = {
      {{"meas_c:" + std::string(5000, 'm')}, 7, "measurement name"},
      {{"meas_c:m01", "ts_stn:-2147483648"}, 6, "number of timeseries too high!"},
      {{"meas_c:m01", "ts_stn:99999999999999999999"}, 6, "number of timeseries too high!"},
      {{"meas_c:m01", "ts_nbr:2147483647"}, 6, "number of timeseries too high!"},
      {{"meas_c:m01", "ml_scl:1e999", "sc_fac:1e999", "rel_ht:nan", "pl_min:-inf"}, 0, "Goodbye"},
      {{"meas_c:m01", "conf_i:nan"}, 7, "confidence interval must be set to"},
      {{"meas_c:m01", "fft_nn:-2147483648", "o_spec:1"}, 7, "fft_nn"},
      // Each class is a row: 2^31 classes would write about 100 GB.
      {{"meas_c:m01", "o_fluc:1", "cn_dir:2147483647"}, 7, "cn_dir:2147483647"},
      {{"meas_c:m01", "o_hist:1", "cn_spd:1500001"}, 7, "cn_spd:1500001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.back().substr(0, 40));
    TempDirectory dir;
    write_measurement(dir, {encode_series_file(series_of(300))});
    expect_run(dir, c.words, {c.status, c.fragment, {"STAT"}});
  }
}

TEST(hostile_results, result_directory_that_is_a_file_ends_with_status_9) {
  struct Case {
    std::vector<std::string> words;
    const char* directory;
  };
  const Case cases[] = {
      {{"meas_c:m01", "rfn_op:1"}, "STAT"},
      {{"meas_c:m01", "rfn_op:1", "o_tims:1"}, "TS"},
      {{"meas_c:m01", "rfn_op:1", "o_auto:1"}, "AUTOCORR"},
      {{"meas_c:m01", "o_osub:1"}, "OUTLIERS_deleted"},
      {{"meas_c:m01", "o_spec:1", "fft_nn:64"}, "SPEC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    TempDirectory dir;
    write_measurement(dir, {encode_series_file(series_of(300))});
    std::filesystem::remove_all(dir.file(c.directory));
    // A regular file where the directory should be: neither root nor
    // anybody else can create a file below it.
    write_text_file(dir.file(c.directory), "not a directory\n");
    expect_run(dir, c.words, {9, c.directory, {}});
  }
}

TEST(hostile_results, measurement_name_that_leaves_the_result_directory_is_refused) {
  // With short names the measurement name is the start of every result-file
  // name: "../m01" would write "STAT/../m01_ORVA.stat" beside "STAT".
  TempDirectory dir;
  write_measurement(dir, {});
  std::filesystem::create_directory(dir.file("run"));
  write_logbook_fixture(dir.file("run/logbook-info.txt"), LogbookFixture{});
  std::filesystem::create_directory(dir.file("run/STAT"));
  write_binary_file(dir.file("m01.000001.bin"), encode_series_file(series_of(300)));
  DirectorySnapshot before = take_snapshot(dir.path);
  ProgramRun run = run_program(LDASTAT_PATH, {"meas_c:../m01", "rfn_op:1"}, dir.file("run"));
  EXPECT_EQ(run.exit_status, 7) << run.output;
  EXPECT_NE(run.output.find("../m01"), std::string::npos) << run.output;
  EXPECT_EQ(changes_outside(before, take_snapshot(dir.path), {}), std::vector<std::string>{});
}
