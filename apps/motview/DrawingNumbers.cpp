#include "apps/motview/DrawingNumbers.h"

#include <cmath>
#include <cstdio>

long toHundredths(double inches) {
  return std::lround(inches * 100.0);
}

void appendHundredths(std::string* out, long hundredths) {
  if (hundredths < 0) {
    out->push_back('-');
    hundredths = -hundredths;
  }
  *out += std::to_string(hundredths / 100);
  const long cents = hundredths % 100;
  if (cents == 0) return;
  out->push_back('.');
  out->push_back((char)('0' + cents / 10));
  if (cents % 10) out->push_back((char)('0' + cents % 10));
}

void appendShort(std::string* out, double value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  *out += text;
}

void appendFixed(std::string* out, double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  *out += text;
}
