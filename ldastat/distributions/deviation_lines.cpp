#include "ldastat/distributions/deviation_lines.h"

#include <charconv>
#include <cmath>
#include <cstring>

constexpr int deviation_line_capacity = 40;  // longest line of the fast paths, and more
constexpr int deviation_chunk_size = 8192;

// "%.2f" of |value| < 1e9 into `out`; returns the end. |value| * 100 is
// rounded once, off by at most 2^-17 from the exact product; unless it lies
// within 2^-10 of a half, its nearest integer is the exact product rounded,
// which is what printf prints. Near a half, to_chars decides from the exact
// binary value (ties to even, as printf).
static char* format_two_decimals(char* out, char* end, double value) {
  double scaled = std::fabs(value) * 100.0;
  double nearest = std::nearbyint(scaled);
  if (std::fabs(scaled - nearest) > 0.5 - 1.0 / 1024)
    return std::to_chars(out, end, value, std::chars_format::fixed, 2).ptr;
  if (std::signbit(value)) *out++ = '-';
  long long hundredths = static_cast<long long>(nearest);
  out = std::to_chars(out, end, hundredths / 100).ptr;
  int fraction = static_cast<int>(hundredths % 100);
  out[0] = '.';
  out[1] = static_cast<char>('0' + fraction / 10);
  out[2] = static_cast<char>('0' + fraction % 10);
  return out + 3;
}

void write_deviation_lines(std::FILE* out, const double* deviation, int count) {
  static const char prefix[] = " delta: ";
  constexpr int prefix_length = sizeof prefix - 1;
  char chunk[deviation_chunk_size];
  int used = 0;
  for (int i = 0; i < count; ++i) {
    if (used > deviation_chunk_size - deviation_line_capacity) {
      std::fwrite(chunk, 1, static_cast<std::size_t>(used), out);
      used = 0;
    }
    double value = deviation[i];
    // The width 3 never pads a number with two decimals. Non-finite and
    // huge values, never met in practice, go to fprintf.
    if (std::fabs(value) < 1e9) {
      char* line = chunk + used;
      std::memcpy(line, prefix, prefix_length);
      char* end =
          format_two_decimals(line + prefix_length, line + deviation_line_capacity - 1, value);
      *end = '\n';
      used += static_cast<int>(end + 1 - line);
    } else {
      std::fwrite(chunk, 1, static_cast<std::size_t>(used), out);
      used = 0;
      std::fprintf(out, " delta: %3.2lf\n", value);
    }
  }
  std::fwrite(chunk, 1, static_cast<std::size_t>(used), out);
}
