// Writes the seed corpora of the harnesses from the project's measurement
// writers: fuzz_seed_writer DIRECTORY fills DIRECTORY/<harness>/ with a few
// valid inputs and near-valid variants (one field changed). Run at fuzz time,
// so that no binary corpus lives in the repository.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/concentration_generator/concentration_writer.h"
#include "tools/lda_measurement_generator/measurement_writer.h"

namespace fs = std::filesystem;

static void write_seed(const fs::path& directory, const std::string& name,
                       const std::string& bytes) {
  fs::create_directories(directory);
  std::FILE* file = std::fopen((directory / name).string().c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

static std::string as_text(const std::vector<unsigned char>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A short series: increasing arrival times, transit times of microseconds,
// two velocity components around 5 and 0 m/s.
static SeriesFixture series_of(int samples) {
  SeriesFixture f;
  for (int i = 0; i < samples; ++i) {
    f.channels[0].push_back(0.001 * (i + 1));
    f.channels[1].push_back(2.0e-6 + 1.0e-7 * (i % 3));
    f.channels[2].push_back(5.0 + 0.25 * ((i * 7) % 5 - 2));
    f.channels[3].push_back(0.1 * ((i * 3) % 5 - 2));
  }
  return f;
}

static void write_series_seeds(const fs::path& directory) {
  write_seed(directory, "valid_12", as_text(encode_series_file(series_of(12))));
  write_seed(directory, "one_sample", as_text(encode_series_file(series_of(1))));
  write_seed(directory, "empty_channels", as_text(encode_series_file(series_of(0))));
  SeriesFixture chained = series_of(10);
  chained.first_block_offset = 400;
  chained.block_header_size = 512;
  write_seed(directory, "chained_blocks", as_text(encode_series_file(chained)));
  SeriesFixture two_blocks = series_of(4);
  two_blocks.block_count = 2;
  write_seed(directory, "block_count_2", as_text(encode_series_file(two_blocks)));
  SeriesFixture unequal = series_of(5);
  unequal.sample_count_override[2] = 4;
  write_seed(directory, "unequal_counts", as_text(encode_series_file(unequal)));
  SeriesFixture full_texts = series_of(3);
  full_texts.pos_z = "123456789012345678";  // fills the field, no ending zero byte
  full_texts.meas_date = std::string(130, 'd');
  write_seed(directory, "unterminated_texts", as_text(encode_series_file(full_texts)));
  SeriesFixture wide = series_of(3);
  wide.bytes_per_sample = 4;
  write_seed(directory, "four_byte_samples", as_text(encode_series_file(wide)));
}

static void write_logbook_seeds(const fs::path& directory) {
  LogbookFixture valid;
  write_seed(directory, "valid", logbook_text(valid));
  LogbookFixture num = valid;
  num.principle = "NUM";
  num.correlation = "ncor";
  num.wind_tunnel = "H";
  num.component_1 = "V";
  num.component_2 = "W";
  write_seed(directory, "num_ncor", logbook_text(num));
  std::string text = logbook_text(valid);
  write_seed(directory, "ten_lines", text.substr(0, text.rfind("cor\n")));
  write_seed(directory, "second_words", "head\n  proj a\n\tsub b\nK x\nFL y\nLDA 2D\ni z\n2700 w\n"
                                        "U u\nV v\ncor c\nmore\n");
  write_seed(directory, "crlf", "head\r\nproj\r\nsub\r\nK\r\nFL\r\nPIV\r\ni\r\n2705\r\nU\r\nU\r\n"
                                "cor\r\n");
}

static void write_reference_seeds(const fs::path& directory) {
  // The first byte picks the series (byte % 45 + 1).
  write_seed(directory, "series_1", std::string(1, '\0') + reference_table_text({4.98, 5.01}));
  write_seed(directory, "series_2", std::string(1, '\1') + reference_table_text({4.98, 5.01}));
  std::vector<double> many(49, 5.0);
  write_seed(directory, "series_45", std::string(1, '\54') + reference_table_text(many));
  write_seed(directory, "header_only", std::string(1, '\0') + "header\n");
  write_seed(directory, "short_rows", std::string(1, '\2') + "h\n1 a\n\n2 b 3.0 x\n3 c 1 4.5\n");
}

static void write_ldastat_option_seeds(const fs::path& directory) {
  write_seed(directory, "example",
             "meas_c:name_of_measurement\nts_nbr:10\nts_stn:1\nml_scl:500\nref_ht:0.2\n"
             "sc_fac:0.8632\nl_char:1.5\nrel_ht:20.0\npl_min:15.0\npl_max:100.0\nconf_i:95.0\n"
             "cn_dir:360\ncn_spd:100\nfft_nn:16384\nrepro1:0.18\nrepro2:0.15\no_stat:1\n"
             "o_tims:1\no_spec:1\no_fluc:1\no_hist:1\no_deft:1\no_tsrs:1\no_auto:1\nrfn_op:1");
  write_seed(directory, "upper_case", "MEAS_C:m01\nTS_NBR:3\nCONF_I:9.5e1\nO_OSUB:1\nRFN_OP:0");
  write_seed(directory, "odd_values", "meas_c:ab\nts_nbr:\nml_scl:1:500\nconf_i:97.5\nfft_nn:1000");
}

static void write_cc_description_seeds(const fs::path& directory) {
  CcLogbookFixture plume;
  write_seed(directory, "plume", cc_logbook_text(plume));
  CcLogbookFixture puff = plume;
  puff.release_mode = "PUFF";
  puff.wind_direction = "270.5";
  puff.gas_factor = "0.5e1";
  write_seed(directory, "puff", cc_logbook_text(puff));
  std::string text = cc_logbook_text(plume);
  write_seed(directory, "eleven_lines", text.substr(0, text.find("S1")));
  write_seed(directory, "blanks_and_words", "t\n  demo x\n\tsub\n\nCC\n\n\n2705 deg\nC2H6\n1.0\n"
                                            "   puff two\n\n-1\n+2\n3e2\n16\n");
}

static void write_cc_series_seeds(const fs::path& directory) {
  fs::create_directories(directory);
  ConcentrationSeriesShape plume;
  plume.sample_count = 40;
  write_concentration_series((directory / "plume_40").string(), plume);
  ConcentrationSeriesShape puff;
  puff.is_puff = true;
  puff.sample_count = 90;
  puff.first_pulse = 5;
  puff.period_samples = 20;
  puff.pulse_samples = 3;
  puff.travel_time = 0.004;
  puff.puff_rise_time = 0.002;
  write_concentration_series((directory / "puff_90").string(), puff);
  write_seed(directory, "one_line", "0.0 5.0 2.0 40.0 0.0 2.0\n");
  write_seed(directory, "odd_lines", "0.001 5 2 40 5 2 extra\n\n+1e-3\t5.0 2 -4 0\n.5 5e0 2. 4E1 0 2\n"
                                     "0x1p3 inf nan 1e999 1e+ -\n");
}

static void write_cc_sample_line_seeds(const fs::path& directory) {
  const char* lines[] = {"0.001 5.0 2.0 40.0 5.0 2.0\n", "+1e-3\t5 2 -4\n", ".5 5e0 2. 4E1 0 2 x\n",
                         "0x1p3 inf nan 1e999 1e+ -\n", "  1e-400 -0 00012 9007199254740993\n"};
  int k = 0;
  for (const char* line : lines) write_seed(directory, "line_" + std::to_string(k++), line);
}

static void write_cc_option_seeds(const fs::path& directory) {
  write_seed(directory, "all_keys",
             "INPUTF:series.txt\nPOINT_:7\nNUMBER:00\nSAMPLE:1000\nD_SAMP:1\nBLCKSZ:10\n"
             "T_OPEN:1.0\nX_MEAS:1\nY_MEAS:2\nZ_MEAS:50\nSCALE_:300\nSC_FAC:0.86\nREFHGT:0.1\n"
             "REFLTH:0.1\nTHRHLD:50\nT_NDLE:0.111\nT_OFFS:0.2\nP_OFFS:0\nTEMP__:21\nPRESS_:750\n"
             "REPRO_:0.5\nCOEF_A:50\nCOEF_B:10");
  write_seed(directory, "lower_and_odd", "inputf:a\nsample:abc\nSAMPLE:\nSample:5\nnumber:\nblcksz:-3");
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: fuzz_seed_writer DIRECTORY\n");
    return 1;
  }
  fs::path root = argv[1];
  write_series_seeds(root / "ldastat_series_file");
  write_logbook_seeds(root / "ldastat_logbook");
  write_reference_seeds(root / "ldastat_reference_velocity");
  write_ldastat_option_seeds(root / "ldastat_option_words");
  write_cc_description_seeds(root / "plumex_description");
  write_cc_series_seeds(root / "plumex_series");
  write_cc_sample_line_seeds(root / "plumex_sample_line");
  write_cc_option_seeds(root / "plumex_option_words");
  return 0;
}
