#ifndef DRAWING_NUMBERS_H
#define DRAWING_NUMBERS_H

// The numbers the drawings are written with. Positions go in as whole
// hundredths of an inch, finer than any drawing shows, so that the same
// take always gives the same text.

#include <string>

// The nearest whole number of hundredths (halves away from zero).
long toHundredths(double inches);

// "12.34", "-0.05", "3.1", "7": hundredths as a decimal number of inches,
// trailing zeros dropped.
void appendHundredths(std::string* out, long hundredths);

// A size or a scale: at most `digits` significant digits, "%g" style.
void appendShort(std::string* out, double value, int digits);

// value with exactly `decimals` decimals ("2.000"), as labels show it.
void appendFixed(std::string* out, double value, int decimals);

#endif
