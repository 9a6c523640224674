#include "ldastat/run/dialog.h"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "ldastat/run/console.h"
#include "ldastat/run/number_text.h"

// Characters kept of one input line. A longer line is read to its end and
// the rest dropped, so it never becomes the next answer. What is kept is
// longer than any valid answer or measurement name, so a cut line gets the
// answer a whole one would: asked again, or the name refused with its typed
// length. A value is read from the kept part.
constexpr std::size_t dialog_line_capacity = 255;
using DialogLine = char[dialog_line_capacity + 1];

namespace {

// One value question: exactly one of the three field pointers is set. The
// lines are printf formats with at most one conversion, of the field's kind
// (checked below); a line without a conversion shows no value.
struct ValueQuestion {
  int RunSettings::*int_field = nullptr;
  float RunSettings::*float_field = nullptr;
  double RunSettings::*double_field = nullptr;
  const char* current_line = nullptr;
  const char* entry_prompt = nullptr;
  const char* after_yes = nullptr;
  const char* after_no = nullptr;  // nullptr: the same as after yes
};

// One output question: "y" sets the switch to `changed_value`, the opposite
// of its default. The question line states the default, not the value.
struct OutputQuestion {
  int RunSettings::*field;
  int changed_value;
  const char* question_line;
  const char* after_yes;
  const char* after_no;
};

enum class Answer { yes, no, other };

constexpr ValueQuestion value_questions[] = {
    {.int_field = &RunSettings::ts_nbr,
     .current_line = "number of time series by default: %i\n",
     .entry_prompt = "Enter the number of time series!\n",
     .after_yes = "number of time series: %i\n\n"},
    {.int_field = &RunSettings::ts_stn,
     .current_line = "number of the first time series by default: %i\n",
     .entry_prompt = "Enter the number of the first time series!\n",
     .after_yes = "first time series: %i\n\n"},
    {.int_field = &RunSettings::ml_scl,
     .current_line = "scale by default: %i\n",
     .entry_prompt = "Enter the scale!\n(e.g. for \"1:500\" only enter \"500\")\n",
     .after_yes = "scale: 1:%i\n\n"},
    {.float_field = &RunSettings::ref_ht,
     .current_line = "reference height by default: %5.3lf m\n",
     .entry_prompt = "Enter the reference height (model scale in meters)!\n",
     .after_yes = "reference height: %5.3lf m\n\n"},
    {.float_field = &RunSettings::sc_fac,
     .current_line = "scale factor by default: %lf\n",
     .entry_prompt = "Enter the scale factor!\n",
     .after_yes = "scale factor: %lf\n\n"},
    {.float_field = &RunSettings::l_char,
     .current_line = "characteristic length by default: %5.3lf m\n",
     .entry_prompt = "Enter the characteristic length (model scale in meters)!\n",
     .after_yes = "characteristic length: %5.3lf m\n\n"},
    {.float_field = &RunSettings::rel_ht,
     .current_line = "height of roughness elements by default: %5.1lf mm\n",
     .entry_prompt = "Enter the height of roughness elements (model scale in millimeters)!\n",
     .after_yes = "height of roughness elements: %5.1lf mm\n\n"},
    {.float_field = &RunSettings::pl_min,
     .current_line = "lower limit of prandtl-layer height by default: %5.3lf m\n",
     .entry_prompt = "Enter the lower limit of prandtl-layer height (full scale in meters)!\n",
     .after_yes = "lower limit of prandtl-layer height: %5.3lf m\n\n"},
    {.float_field = &RunSettings::pl_max,
     .current_line = "upper limit of prandtl-layer height by default: %5.3lf m\n",
     .entry_prompt = "Enter the upper limit of prandtl-layer height (full scale in meters)!\n",
     .after_yes = "upper limit of prandtl-layer height: %5.3lf m\n\n"},
    // Not checked against 90, 95 and 99 as on the command line: another
    // level gives confidence intervals of 0.
    {.double_field = &RunSettings::conf_i,
     .current_line = "confidence inteval for statistic analysis by default: %5.1lf %%\n",
     .entry_prompt = "Enter the confidence inteval for statistic analysis (in percent)!\n",
     .after_yes = "confidence inteval for statistic analysis: %5.1lf %%\n\n"},
    {.int_field = &RunSettings::cn_dir,
     .current_line = "classnumber (freq. dist. of wind direction) by default: %i\n",
     .entry_prompt = "Enter the classnumber (freq. dist. of wind direction)!\n",
     .after_yes = "classnumber (freq. dist. of wind direction): %i\n\n"},
    {.int_field = &RunSettings::cn_spd,
     .current_line = "classnumber (freq. dist. of wind speed) by default: will be calculated!\n",
     .entry_prompt = "Enter the classnumber (freq. dist. of wind speed)!\n",
     .after_yes = "classnumber (freq. dist. of wind speed): %i\n\n",
     .after_no = "classnumber (freq. dist. of wind speed): will be calculated!\n\n"},
    {.int_field = &RunSettings::fft_nn,
     .current_line = "number of samples for FFT by default: %i\n",
     .entry_prompt = "Enter the number of samples for FFT!\n",
     .after_yes = "number of samples for FFT: %i\n\n"},
    {.float_field = &RunSettings::repro1,
     .current_line = "reproducability (1st wind component) by default: %5.3lf m/s\n",
     .entry_prompt = "Enter the reproducability (1st wind component) in m/s!\n",
     .after_yes = "reproducability (1st wind component): %5.2lf m/s\n\n",
     .after_no = "reproducability (1st wind component):  n o t   d e f i n e d\n\n"},
    {.float_field = &RunSettings::repro2,
     .current_line = "reproducability (2nd wind component) by default: %5.3lf\n",
     .entry_prompt = "Enter the reproducability (2nd wind component) in m/s!\n",
     .after_yes = "reproducability (2nd wind component): %5.2lf m/s\n\n",
     .after_no = "reproducability (2nd wind component):  n o t   d e f i n e d\n\n"},
};

constexpr OutputQuestion output_questions[] = {
    {&RunSettings::o_stat, 0, "output for statistics by default \"ON\"!\n",
     "output for statistics \"OFF\"!\n\n", "output for statistics \"ON\"!\n\n"},
    {&RunSettings::o_tims, 1, "output for time series by default \"OFF\"!\n",
     "output for time series \"ON\"!\n\n", "output for time series \"OFF\"!\n\n"},
    {&RunSettings::o_spec, 1, "output for spectrum by default \"OFF\"!\n",
     "output for spectrum \"ON\"!\n\n", "output for spectrum \"OFF\"!\n\n"},
    {&RunSettings::o_fluc, 1, "output for fluctuations of wind-direction by default \"OFF\"!\n",
     "output for fluctuations of wind-direction \"ON\"!\n\n",
     "output for fluctuations of wind-direction \"OFF\"!\n\n"},
    {&RunSettings::o_hist, 1, "output for fluctuations of wind-speed by default \"OFF\"!\n",
     "output for fluctuations of wind-speed \"ON\"!\n\n",
     "output for fluctuations of wind-speed \"OFF\"!\n\n"},
};

// True when `format` has at most one conversion and that one is `%i` for an
// int field or `%f`/`%lf` with width and precision for a real one ("%%" is
// no conversion). This stands in for the compiler's format check, which
// cannot see formats taken from a table.
constexpr bool is_format_of_kind(const char* format, bool is_int) {
  int conversion_count = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    if (*p == '\0') return false;
    while ((*p >= '0' && *p <= '9') || *p == '.') ++p;
    if (is_int) {
      if (*p != 'i') return false;
    } else {
      if (*p == 'l') ++p;
      if (*p != 'f') return false;
    }
    ++conversion_count;
  }
  return conversion_count <= 1;
}

// The entry prompts and the output texts are printed as they are.
constexpr bool has_percent_sign(const char* text) {
  for (const char* p = text; *p != '\0'; ++p)
    if (*p == '%') return true;
  return false;
}

constexpr bool are_questions_sound() {
  for (const ValueQuestion& q : value_questions) {
    int field_count = (q.int_field != nullptr) + (q.float_field != nullptr) +
                      (q.double_field != nullptr);
    if (field_count != 1 || q.current_line == nullptr || q.entry_prompt == nullptr ||
        q.after_yes == nullptr)
      return false;
    bool is_int = q.int_field != nullptr;
    if (!is_format_of_kind(q.current_line, is_int) || !is_format_of_kind(q.after_yes, is_int))
      return false;
    if (q.after_no != nullptr && !is_format_of_kind(q.after_no, is_int)) return false;
    if (has_percent_sign(q.entry_prompt)) return false;
  }
  for (const OutputQuestion& q : output_questions)
    if (has_percent_sign(q.question_line) || has_percent_sign(q.after_yes) ||
        has_percent_sign(q.after_no))
      return false;
  return true;
}
static_assert(are_questions_sound(), "a question text does not fit the way it is printed");

}  // namespace

// Reads one line of standard input into `line` without its line end (a
// carriage return before the line feed belongs to the line end) and returns
// the length of the whole line, the dropped rest included. A last line
// without a line feed counts as a line. The end of the input ends the run:
// no later read could give an answer.
static std::size_t read_dialog_line(DialogLine& line) {
  std::fflush(stdout);
  int c = std::getchar();
  if (c == EOF)
    fail_run(exit_command_line,
             "\n\n the input ended before all questions were answered!\n"
             "\n program will be aborted!\n");
  std::size_t typed_length = 0;
  bool is_carriage_return_last = false;
  for (; c != EOF && c != '\n'; c = std::getchar()) {
    if (typed_length < dialog_line_capacity) line[typed_length] = static_cast<char>(c);
    ++typed_length;
    is_carriage_return_last = c == '\r';
  }
  if (is_carriage_return_last) --typed_length;
  line[typed_length < dialog_line_capacity ? typed_length : dialog_line_capacity] = '\0';
  return typed_length;
}

// Prints "change it? (y/n)" and reads the answer; only a lone y, Y, n or N
// counts, anything else ("yes", an empty line) is Answer::other.
static Answer read_answer(DialogLine& line) {
  std::printf("change it? (y/n)\n");
  read_dialog_line(line);
  if (std::strcmp(line, "y") == 0 || std::strcmp(line, "Y") == 0) return Answer::yes;
  if (std::strcmp(line, "n") == 0 || std::strcmp(line, "N") == 0) return Answer::no;
  return Answer::other;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
// Prints a line of `question` with the current value of its field;
// is_format_of_kind has checked that the format fits the field.
static void print_value_line(const char* format, const ValueQuestion& question,
                             const RunSettings& settings) {
  if (question.int_field != nullptr)
    std::printf(format, settings.*question.int_field);
  else if (question.float_field != nullptr)
    std::printf(format, static_cast<double>(settings.*question.float_field));
  else
    std::printf(format, settings.*question.double_field);
}
#pragma GCC diagnostic pop

// Stores the value typed in `line`: ints as the leading integer, floats as
// the leading number rounded to single precision, the double as it is.
static void store_value(RunSettings& settings, const ValueQuestion& question, const char* line) {
  if (question.int_field != nullptr)
    settings.*question.int_field = leading_int(line);
  else if (question.float_field != nullptr)
    settings.*question.float_field = leading_float(line);
  else
    settings.*question.double_field = leading_double(line);
}

static void ask_value_question(RunSettings& settings, const ValueQuestion& question,
                               DialogLine& line) {
  Answer answer;
  do {
    print_value_line(question.current_line, question, settings);
    answer = read_answer(line);
  } while (answer == Answer::other);
  if (answer == Answer::yes) {
    std::fputs(question.entry_prompt, stdout);
    read_dialog_line(line);
    store_value(settings, question, line);
    print_value_line(question.after_yes, question, settings);
  } else {
    const char* after_no = question.after_no != nullptr ? question.after_no : question.after_yes;
    print_value_line(after_no, question, settings);
  }
}

static void ask_output_question(RunSettings& settings, const OutputQuestion& question,
                                DialogLine& line) {
  Answer answer;
  do {
    std::fputs(question.question_line, stdout);
    answer = read_answer(line);
  } while (answer == Answer::other);
  if (answer == Answer::yes) {
    settings.*question.field = question.changed_value;
    std::fputs(question.after_yes, stdout);
  } else {
    std::fputs(question.after_no, stdout);
  }
}

void run_dialog(RunSettings& settings) {
  DialogLine line;
  std::printf("Enter the name of the measurement!\n");
  std::size_t typed_length = read_dialog_line(line);
  // Stored with its typed length, also when the line was cut, so that the
  // start-up refuses a name that is too short or too long just as on the
  // command line.
  set_measurement_name(settings, line);
  if (typed_length > dialog_line_capacity)
    settings.meas_c_length = typed_length > INT_MAX ? INT_MAX : static_cast<int>(typed_length);
  std::printf("measurement: %s\n\n", settings.meas_c);
  for (const ValueQuestion& question : value_questions) ask_value_question(settings, question, line);
  for (const OutputQuestion& question : output_questions)
    ask_output_question(settings, question, line);
}
