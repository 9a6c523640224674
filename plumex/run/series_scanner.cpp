#include "plumex/run/series_scanner.h"

#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>

void start_line_parts(LinePartReader& reader, std::FILE* file, std::size_t buffer_bytes) {
  if (buffer_bytes < line_part_capacity) buffer_bytes = line_part_capacity;
  if (reader.capacity != buffer_bytes) {
    reader.buffer = std::make_unique<char[]>(buffer_bytes);
    reader.capacity = buffer_bytes;
  }
  reader.file = file;
  reader.begin = 0;
  reader.end = 0;
  reader.is_at_file_end = false;
}

// Moves the unread rest to the front and fills the buffer up.
static void refill(LinePartReader& reader) {
  std::size_t rest = reader.end - reader.begin;
  std::memmove(reader.buffer.get(), reader.buffer.get() + reader.begin, rest);
  reader.begin = 0;
  reader.end = rest;
  while (reader.end < reader.capacity && !reader.is_at_file_end) {
    std::size_t got = std::fread(reader.buffer.get() + reader.end, 1, reader.capacity - reader.end, reader.file);
    reader.end += got;
    if (got == 0) reader.is_at_file_end = true;
  }
}

bool next_line_part(LinePartReader& reader, const char** part_begin, const char** part_end) {
  if (reader.end - reader.begin < line_part_capacity && !reader.is_at_file_end) refill(reader);
  std::size_t available = reader.end - reader.begin;
  if (available == 0) return false;
  std::size_t limit = available < line_part_capacity ? available : line_part_capacity;
  const char* first = reader.buffer.get() + reader.begin;
  const char* line_end = static_cast<const char*>(std::memchr(first, '\n', limit));
  std::size_t length = line_end != nullptr ? static_cast<std::size_t>(line_end - first) + 1 : limit;
  reader.begin += length;
  *part_begin = first;
  *part_end = first + length;
  return true;
}

static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool is_digit(char c) { return c >= '0' && c <= '9'; }

// "%lf" itself on [p, end), for the forms the fast path leaves alone.
static const char* scan_number_with_sscanf(const char* p, const char* end, double& value) {
  char copy[line_part_capacity + 1];
  std::size_t length = static_cast<std::size_t>(end - p);
  assert(length <= line_part_capacity);
  std::memcpy(copy, p, length);
  copy[length] = '\0';
  int consumed = 0;
  if (std::sscanf(copy, "%lf%n", &value, &consumed) != 1) return nullptr;
  return p + consumed;
}

// Exact powers of ten: 10^22 is the largest power of ten a double holds.
static constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common form "digits[.digits]" with at most 19 digits, read as the
// integer w of all its digits divided by 10^f (f the fraction digits): when
// w <= 2^53 and f <= 22 both are exact doubles and the one division rounds
// correctly, so the value equals strtod's (Clinger's fast path). Returns
// nullptr, leaving the number to from_chars, for any other form or range,
// and when an exponent or an "x" follows.
static const char* scan_short_decimal(const char* p, const char* end, double& magnitude) {
  constexpr long max_digits = 19;  // below 10^19 the digits fit 64 bits
  std::uint64_t w = 0;
  const char* integer = p;
  for (; p < end && is_digit(*p); ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
  long digit_count = p - integer;
  long fraction_digits = 0;
  if (p < end && *p == '.') {
    const char* fraction = ++p;
    for (; p < end && is_digit(*p); ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
    fraction_digits = p - fraction;
    digit_count += fraction_digits;
  }
  // Past 19 digits w has wrapped around; it is not used then.
  if (digit_count > max_digits || fraction_digits > 22 || w > (std::uint64_t{1} << 53)) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return nullptr;
  magnitude = static_cast<double>(w) / exact_powers_of_ten[fraction_digits];
  return p;
}

// One number as "%lf" reads it from p (white space already skipped): the
// position after it, or nullptr when no number starts at p.
static const char* scan_number(const char* p, const char* end, double& value) {
  const char* digits = p;
  bool is_negative = false;
  if (digits < end && (*digits == '+' || *digits == '-')) {
    is_negative = *digits == '-';
    ++digits;
  }
  bool is_decimal = digits < end && (is_digit(*digits) || (*digits == '.' && digits + 1 < end && is_digit(digits[1])));
  if (is_decimal) {
    double magnitude = 0.0;
    if (const char* stop = scan_short_decimal(digits, end, magnitude)) {
      value = is_negative ? -magnitude : magnitude;
      return stop;
    }
    std::from_chars_result result = std::from_chars(digits, end, magnitude, std::chars_format::general);
    const char* stop = result.ptr;
    // "%lf" reads on over a dangling exponent ("2e", "2e+") and the "x" of
    // "0x", where from_chars stops; such numbers go to sscanf.
    bool is_longer_for_scanf =
        stop < end && (*stop == 'e' || *stop == 'E' ||
                       ((*stop == 'x' || *stop == 'X') && stop - digits == 1 && *digits == '0'));
    if (result.ec == std::errc() && !is_longer_for_scanf) {
      value = is_negative ? -magnitude : magnitude;
      return stop;
    }
  }
  return scan_number_with_sscanf(p, end, value);
}

int scan_sample_line(const char* begin, const char* end, double values[sample_columns]) {
  const char* p = begin;
  int count = 0;
  for (; count < sample_columns; ++count) {
    while (p < end && is_space(*p)) ++p;
    if (p == end) break;
    const char* next = scan_number(p, end, values[count]);
    if (next == nullptr) break;
    p = next;
  }
  for (int k = count; k < sample_columns; ++k) values[k] = 0.0;
  return count;
}
