// concentration_generator: writes a sample PLUMEX measurement into a
// directory: "logbook-info_cc.txt" and a six-column series, plume or puff.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/concentration_generator/concentration_writer.h"

static void print_usage() {
  std::printf(
      "usage: concentration_generator [option ...]\n\n"
      "Writes DIRECTORY/logbook-info_cc.txt and DIRECTORY/FILE, a six-column series\n"
      "(time, prandtl-tube velocity, background, concentration, trigger, source flow).\n\n"
      " --mode plume|puff   release mode of the measurement (default plume)\n"
      " --samples N         lines of the series (default 60000)\n"
      " --rate HZ           sampling frequency (default 1000)\n"
      " --seed N            seed of the noise (default 1)\n"
      " --period N          puff: samples from trigger pulse to pulse (default 2000)\n"
      " --pulse N           puff: samples of each 5 V pulse (default 50)\n"
      " --directory DIR     where to write, created when missing (default .)\n"
      " --output FILE       name of the series (default concentration_MODE.txt)\n"
      " --help              this text\n");
}

static bool read_count(const char* text, long long minimum, long long& value) {
  char* end = nullptr;
  long long parsed = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || parsed < minimum || parsed > 2000000000) return false;
  value = parsed;
  return true;
}

int main(int argc, char** argv) {
  ConcentrationSeriesShape shape;
  CcLogbookFixture logbook;
  std::string directory = ".";
  std::string output;
  for (int a = 1; a < argc; ++a) {
    std::string option = argv[a];
    if (option == "--help" || option == "-h") {
      print_usage();
      return 0;
    }
    if (a + 1 >= argc) {
      std::printf("option %s needs a value (see --help)\n", option.c_str());
      return 1;
    }
    const char* value = argv[++a];
    long long number = 0;
    bool is_valid = true;
    if (option == "--mode") {
      is_valid = std::strcmp(value, "plume") == 0 || std::strcmp(value, "puff") == 0;
      shape.is_puff = std::strcmp(value, "puff") == 0;
    } else if (option == "--samples") {
      is_valid = read_count(value, 1, number);
      shape.sample_count = static_cast<int>(number);
    } else if (option == "--rate") {
      is_valid = read_count(value, 1, number);
      shape.sample_rate = static_cast<double>(number);
    } else if (option == "--seed") {
      is_valid = read_count(value, 0, number);
      shape.seed = static_cast<std::uint64_t>(number);
    } else if (option == "--period") {
      is_valid = read_count(value, 2, number);
      shape.period_samples = static_cast<int>(number);
    } else if (option == "--pulse") {
      is_valid = read_count(value, 1, number);
      shape.pulse_samples = static_cast<int>(number);
    } else if (option == "--directory") {
      directory = value;
    } else if (option == "--output") {
      output = value;
    } else {
      std::printf("unknown option %s (see --help)\n", option.c_str());
      return 1;
    }
    if (!is_valid) {
      std::printf("bad value \"%s\" for %s (see --help)\n", value, option.c_str());
      return 1;
    }
  }
  const char* mode = shape.is_puff ? "puff" : "plume";
  if (output.empty()) output = std::string("concentration_") + mode + ".txt";
  logbook.release_mode = mode;

  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  std::string logbook_path = directory + "/logbook-info_cc.txt";
  std::string series_path = directory + "/" + output;
  if (!write_cc_logbook_fixture(logbook_path, logbook)) {
    std::printf("cannot write %s\n", logbook_path.c_str());
    return 1;
  }
  if (!write_concentration_series(series_path, shape)) {
    std::printf("cannot write %s\n", series_path.c_str());
    return 1;
  }
  std::printf("wrote %s and %s (%i lines, %s)\n", logbook_path.c_str(), series_path.c_str(), shape.sample_count,
              mode);
  return 0;
}
