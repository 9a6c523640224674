// Leading-number conversion of option values and description words.
#pragma once

// The decimal integer at the start of `text`: leading white space skipped,
// an optional sign, then digits up to the first other character ("12.7"
// gives 12). No digits give 0; a value beyond the int range is clamped to it.
int leading_int(const char* text);

// The longest decimal floating-point number at the start of `text`: leading
// white space skipped, optional sign, digits with an optional point and an
// optional exponent; what follows is ignored. No number gives 0.0, and so do
// "inf", "nan" and hexadecimal forms (which are not decimal numbers).
// Magnitudes beyond the double range give what strtod gives (inf or 0.0).
double leading_double(const char* text);
