// Leading-number conversion of option values and description texts.
#pragma once

// The decimal integer at the start of `text`: leading blanks and tabs
// skipped, an optional sign, then digits up to the first other character.
// No digits give 0; a value beyond the int range is clamped to it.
int leading_int(const char* text);

// The longest decimal floating-point number at the start of `text`: leading
// blanks and tabs skipped, optional sign, digits with an optional point and
// an optional exponent. No number gives 0.0. Only decimal forms count:
// "inf", "nan" and hexadecimal numbers read as 0.0 (or up to the "0" of "0x").
// A magnitude beyond the double range gives +-HUGE_VAL, as strtod does; the
// result writers show such a value as the marker.
double leading_double(const char* text);

// leading_double rounded to float (the value of a "float" setting).
float leading_float(const char* text);
