// lda_measurement_generator: writes a complete LDASTAT measurement directory
// ("logbook-info.txt", "<name>_wtref.txt" and the binary series files) from
// a stochastic model with known statistics (see synthetic_series.h).
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/lda_measurement_generator/measurement_writer.h"
#include "tools/lda_measurement_generator/synthetic_series.h"

constexpr int last_series_number = 45;
constexpr int location_text_capacity = 15;
constexpr int date_text_capacity = 127;
constexpr int measurement_name_capacity = 49;

struct GeneratorOptions {
  std::string directory = ".";
  std::string name = "demo_run001";
  std::string pair = "UV";
  int series_count = 3;
  int first_series = 1;
  int digits = 6;
  std::vector<std::string> heights = {"100.0"};
  std::string pos_x = "0.0";
  std::string pos_y = "0.0";
  std::string date = "11.12.2026";
  double prandtl = -1.0;  // negative: the mean speed
  std::string wind_tunnel = "K";
  std::string principle = "LDA";
  std::string direction = "2700";
  std::string instrument = "lda2d";
  std::uint64_t seed = 1;
  SyntheticSeries series;
};

static void print_help() {
  std::printf(
      "Usage: lda_measurement_generator [option value]...\n"
      "\n"
      "Writes a measurement directory for LDASTAT: \"logbook-info.txt\", the\n"
      "reference-velocity table NAME_wtref.txt and one binary series file per\n"
      "series. Arrival times are a Poisson process of the mean data rate; both\n"
      "velocity components are first-order autoregressive (Ornstein-Uhlenbeck)\n"
      "processes sampled at the arrival times, so that the integral time scale is\n"
      "the one given; transit times are the chords of a %g um measuring volume\n"
      "divided by the particle speed.\n"
      "\n"
      "Options (defaults in brackets):\n"
      "  --directory DIR     where to write; created when missing [.]\n"
      "  --name NAME         measurement name (meas_c), 3 to 49 characters [demo_run001]\n"
      "  --pair UV|UW|VW     the two measured wind components [UV]\n"
      "  --series N          number of series, 1 to 45 [3]\n"
      "  --first K           number of the first series [1]\n"
      "  --digits D          digits of the series number in the file names, 2 to 6 [6]\n"
      "  --samples N         samples per series, 1 to 1500000 [20000]\n"
      "  --rate HZ           mean data rate [500]\n"
      "  --mean-1 M          mean of the first component, m/s [5.0]\n"
      "  --mean-2 M          mean of the second component, m/s [0.0]\n"
      "  --intensity-1 I     turbulence intensity of the first component, sigma/mean speed [0.10]\n"
      "  --intensity-2 I     turbulence intensity of the second component [0.05]\n"
      "  --correlation R     correlation coefficient of the two fluctuations, -1 to 1 [0.0]\n"
      "  --time-scale S      integral time scale of the fluctuations, s [0.05]\n"
      "  --heights Z1,Z2,... measuring heights, mm model scale; series i takes entry i,\n"
      "                      cycling through the list [100.0]\n"
      "  --x X, --y Y        location X and Y, mm model scale [0.0]\n"
      "  --outliers N        outliers per series: samples of the first component set 8 to 12\n"
      "                      standard deviations off the mean [0]\n"
      "  --prandtl U         prandtl-tube velocity of every series, m/s [the mean speed]\n"
      "  --date TEXT         date of measurement in the series headers [11.12.2026]\n"
      "  --tunnel K|H        wind-tunnel code [K]\n"
      "  --principle LDA|NUM principle of measurement [LDA]\n"
      "  --direction D       approach-flow direction, tenths of a degree [2700]\n"
      "  --seed S            seed of the random series; the same seed gives the same files [1]\n"
      "  --help              this text\n",
      SyntheticSeries{}.volume_diameter * 1e6);
}

[[noreturn]] static void refuse(const std::string& message) {
  std::fprintf(stderr, "lda_measurement_generator: %s (see --help)\n", message.c_str());
  std::exit(1);
}

static long long parse_integer(const std::string& option, const char* text, long long low,
                               long long high) {
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || value < low || value > high)
    refuse(option + " needs a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not \"" + text + "\"");
  return value;
}

static double parse_real(const std::string& option, const char* text, double low, double high) {
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno != 0 || !std::isfinite(value) || value < low ||
      value > high)
    refuse(option + " needs a number from " + std::to_string(low) + " to " + std::to_string(high) +
           ", not \"" + text + "\"");
  return value;
}

static std::string location_text(const std::string& option, const std::string& text) {
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || text.size() > location_text_capacity)
    refuse(option + " needs decimal numbers of at most 15 characters, not \"" + text + "\"");
  return text;
}

static std::vector<std::string> height_list(const std::string& text) {
  std::vector<std::string> heights;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    heights.push_back(location_text("--heights", text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return heights;
}

static std::string choice(const std::string& option, const std::string& text,
                          const std::vector<std::string>& allowed) {
  for (const std::string& word : allowed)
    if (text == word) return text;
  std::string list;
  for (const std::string& word : allowed) list += (list.empty() ? "" : ", ") + word;
  refuse(option + " must be one of " + list + ", not \"" + text + "\"");
}

static GeneratorOptions parse_options(int argc, char** argv) {
  GeneratorOptions o;
  SyntheticSeries& s = o.series;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      print_help();
      std::exit(0);
    }
    if (i + 1 >= argc) refuse("unknown option or missing value: \"" + option + "\"");
    const char* value = argv[++i];
    if (option == "--directory")
      o.directory = value;
    else if (option == "--name")
      o.name = value;
    else if (option == "--pair")
      o.pair = choice(option, value, {"UV", "UW", "VW"});
    else if (option == "--series")
      o.series_count = static_cast<int>(parse_integer(option, value, 1, last_series_number));
    else if (option == "--first")
      o.first_series = static_cast<int>(parse_integer(option, value, 1, last_series_number));
    else if (option == "--digits")
      o.digits = static_cast<int>(parse_integer(option, value, 2, 6));
    else if (option == "--samples")
      s.sample_count = static_cast<int>(parse_integer(option, value, 1, max_synthetic_samples));
    else if (option == "--rate")
      s.data_rate = parse_real(option, value, 1.0, 1e7);
    else if (option == "--mean-1")
      s.mean_1 = parse_real(option, value, -1000.0, 1000.0);
    else if (option == "--mean-2")
      s.mean_2 = parse_real(option, value, -1000.0, 1000.0);
    else if (option == "--intensity-1")
      s.turbulence_intensity_1 = parse_real(option, value, 0.0, 10.0);
    else if (option == "--intensity-2")
      s.turbulence_intensity_2 = parse_real(option, value, 0.0, 10.0);
    else if (option == "--correlation")
      s.correlation = parse_real(option, value, -1.0, 1.0);
    else if (option == "--time-scale")
      s.time_scale = parse_real(option, value, 0.0, 1e6);
    else if (option == "--heights")
      o.heights = height_list(value);
    else if (option == "--x")
      o.pos_x = location_text(option, value);
    else if (option == "--y")
      o.pos_y = location_text(option, value);
    else if (option == "--outliers")
      s.outlier_count = static_cast<int>(parse_integer(option, value, 0, 1000));
    else if (option == "--prandtl")
      o.prandtl = parse_real(option, value, 0.0, 1000.0);
    else if (option == "--date")
      o.date = value;
    else if (option == "--tunnel")
      o.wind_tunnel = choice(option, value, {"K", "H"});
    else if (option == "--principle")
      o.principle = choice(option, value, {"LDA", "NUM"});
    else if (option == "--direction")
      o.direction = std::to_string(parse_integer(option, value, 0, 3600));
    else if (option == "--seed")
      o.seed = static_cast<std::uint64_t>(parse_integer(option, value, 0, 0x7fffffffffffffffLL));
    else
      refuse("unknown option \"" + option + "\"");
  }
  if (o.name.size() < 3 || o.name.size() > measurement_name_capacity ||
      o.name.find_first_of("/\\ \t") != std::string::npos)
    refuse("--name needs 3 to 49 characters without blanks or path separators");
  if (o.first_series + o.series_count - 1 > last_series_number)
    refuse("the last series number, --first + --series - 1, must not exceed 45");
  if (o.date.empty() || o.date.size() > date_text_capacity)
    refuse("--date needs 1 to 127 characters");
  if (s.outlier_count > s.sample_count / 10)
    refuse("--outliers must not exceed a tenth of --samples");
  return o;
}

static void write_or_refuse(bool is_written, const std::string& path) {
  if (!is_written) refuse("cannot write \"" + path + "\"");
  std::printf("wrote %s\n", path.c_str());
}

int main(int argc, char** argv) {
  GeneratorOptions o = parse_options(argc, argv);
  std::error_code error;
  std::filesystem::create_directories(o.directory, error);
  if (error) refuse("cannot create the directory \"" + o.directory + "\"");
  std::string base = o.directory + "/";

  LogbookFixture logbook;
  logbook.main_project = "demo";
  logbook.sub_project = "generated";
  logbook.wind_tunnel = o.wind_tunnel;
  logbook.principle = o.principle;
  logbook.instrument = o.instrument;
  logbook.wind_direction = o.direction;
  logbook.component_1 = o.pair.substr(0, 1);
  logbook.component_2 = o.pair.substr(1, 1);
  write_or_refuse(write_logbook_fixture(base + "logbook-info.txt", logbook),
                  base + "logbook-info.txt");

  // One row per series number from 1 on, so that row k belongs to series k.
  double prandtl = o.prandtl >= 0.0 ? o.prandtl : synthetic_mean_speed(o.series);
  int last_series = o.first_series + o.series_count - 1;
  std::vector<double> velocities(static_cast<std::size_t>(last_series), prandtl);
  std::string reference_path = base + o.name + "_wtref.txt";
  write_or_refuse(write_reference_fixture(reference_path, velocities), reference_path);

  SeriesFixture fixture;
  fixture.pos_x = o.pos_x;
  fixture.pos_y = o.pos_y;
  fixture.meas_date = o.date;
  for (int i = 0; i < o.series_count; ++i) {
    int number = o.first_series + i;
    SyntheticSeries series = o.series;
    // A distinct, reproducible stream per series number.
    series.seed = o.seed * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(number);
    fixture.pos_z = o.heights[static_cast<std::size_t>(i) % o.heights.size()];
    synthesize_series(series, fixture);
    std::string path = base + series_file_name(o.name, number, o.digits);
    write_or_refuse(write_series_fixture(path, fixture), path);
  }
  return 0;
}
