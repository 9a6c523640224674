// Reading a six-column series file line part by line part, and scanning the
// numbers of one part as "%lf %lf %lf %lf %lf %lf" does, without sscanf on
// the common path.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

// A read takes at most this many characters: a longer line is read in
// parts, and every part counts as a line of its own.
constexpr int line_part_capacity = 4999;
constexpr int sample_columns = 6;

// Walks a file in line parts as reads of at most line_part_capacity
// characters would see them: a part ends after its line end or after
// line_part_capacity characters, whichever comes first; a last line without
// a line end is a part too. The read buffer is allocated once per reader.
struct LinePartReader {
  std::FILE* file = nullptr;
  std::unique_ptr<char[]> buffer;
  std::size_t capacity = 0;  // bytes of buffer, at least line_part_capacity
  std::size_t begin = 0;     // first unread byte of buffer
  std::size_t end = 0;       // one past the last byte read into buffer
  bool is_at_file_end = false;
};

// Starts reading `file` from its current position with a buffer of
// `buffer_bytes` bytes (raised to line_part_capacity when smaller).
void start_line_parts(LinePartReader& reader, std::FILE* file, std::size_t buffer_bytes);

// The next part as [*part_begin, *part_end), its line end included when it
// has one; false at the end of the file. The part stays valid until the
// next call.
bool next_line_part(LinePartReader& reader, const char** part_begin, const char** part_end);

// Reads the columns of one line part like sscanf with "%lf %lf %lf %lf %lf
// %lf": white space before a number is skipped, a number may start with "+"
// or "-", reading stops at the first column that is not a number, and text
// after the sixth number is ignored. Every column not read is set to 0.0.
// Returns the number of columns read. Values are those of strtod; forms
// that from_chars alone would read differently (hexadecimal, "inf", "nan",
// a dangling exponent such as "1e+", magnitudes beyond the double range)
// are handed to sscanf itself.
int scan_sample_line(const char* begin, const char* end, double values[sample_columns]);
