#include "ldastat/run/number_text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

static const char* skip_blanks(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' ||
         *text == '\f')
    ++text;
  return text;
}

static bool is_digit(char c) { return c >= '0' && c <= '9'; }

int leading_int(const char* text) {
  const char* p = skip_blanks(text);
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  long long value = 0;
  for (; is_digit(*p); ++p) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double leading_double(const char* text) {
  const char* start = skip_blanks(text);
  const char* p = start;
  if (*p == '+' || *p == '-') ++p;
  const char* mantissa = p;
  while (is_digit(*p)) ++p;
  bool has_digits = p != mantissa;
  if (*p == '.') {
    ++p;
    const char* fraction = p;
    while (is_digit(*p)) ++p;
    has_digits = has_digits || p != fraction;
  }
  if (!has_digits) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (is_digit(*exponent)) {
      p = exponent;
      while (is_digit(*p)) ++p;
    }
  }
  // strtod on the copied number alone gives the correctly rounded value
  // without ever seeing what follows it.
  char number[512];
  std::size_t length = static_cast<std::size_t>(p - start);
  if (length >= sizeof number) length = sizeof number - 1;
  std::memcpy(number, start, length);
  number[length] = '\0';
  return std::strtod(number, nullptr);
}

float leading_float(const char* text) { return static_cast<float>(leading_double(text)); }
