// Locating a value among the classes of a distribution in one step.
//
// The classes are given by their bounds b[0] <= b[1] <= ... <= b[count],
// class t spanning b[t] to b[t + 1]. The bounds come from repeated
// additions of the class width, so they are only close to b[0] + t * width;
// the width serves as a first guess, and the result is always the class
// that comparing the value with the stored bounds gives.
#pragma once

// The class t with b[t] <= x < b[t + 1], or -1 when x lies in none
// (below b[0], at or above b[count], or NaN).
int locate_closed_below(const double* bounds, int count, double inverse_width, double x);

// The class t with b[t] < x <= b[t + 1], or -1 when x lies in none.
int locate_closed_above(const double* bounds, int count, double inverse_width, double x);
