#include "plumex/run/leading_number.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

static bool is_white(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool is_digit(char c) { return c >= '0' && c <= '9'; }

int leading_int(const char* text) {
  while (is_white(*text)) ++text;
  bool is_negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  // One past INT_MAX is the magnitude of INT_MIN; larger values stop growing.
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; is_digit(*text); ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > limit) magnitude = limit;
  }
  if (is_negative) return static_cast<int>(-magnitude);
  return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

double leading_double(const char* text) {
  while (is_white(*text)) ++text;
  bool is_negative = *text == '-';
  const char* digits = text + ((*text == '+' || *text == '-') ? 1 : 0);
  // from_chars would also take "inf" and "nan"; only decimal digits start a number.
  if (!is_digit(digits[0]) && !(digits[0] == '.' && is_digit(digits[1]))) return 0.0;
  const char* end = digits + std::strlen(digits);
  double magnitude = 0.0;
  std::from_chars_result result = std::from_chars(digits, end, magnitude, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range)
    magnitude = std::strtod(std::string(digits, result.ptr).c_str(), nullptr);
  return is_negative ? -magnitude : magnitude;
}
