#include "apps/motconv/MovNumberWriter.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace {

bool hasDefaultFloatFormat(const std::ostream& out) {
  const std::ios_base::fmtflags special = std::ios_base::floatfield | std::ios_base::uppercase |
                                          std::ios_base::showpoint | std::ios_base::showpos;
  return (out.flags() & special) == 0 && out.precision() == 6 && out.width() == 0;
}

const double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

// "%g" with six significant digits for a value that is exactly a float and
// whose decimal exponent makes "%g" choose the plain form (-4 to 5). A
// float has 24 significant bits and 10^k (k <= 10) at most 24 bits beyond
// its power of two, so the scaled value v * 10^k is exact in a double and
// rounding it to an integer (ties to even, as printf rounds) gives printf's
// six digits. Returns the end of the text, or null when the value is not
// such a float.
char* formatPlainFloat(char* p, double v) {
  if (v == 0.0) {
    if (std::signbit(v)) *p++ = '-';
    *p++ = '0';
    return p;
  }
  if ((double)(float)v != v) return nullptr;
  double a = std::fabs(v);
  if (!(a >= 5e-6 && a < 1e6)) return nullptr;
  // The decimal exponent from the binary one (log10 2 = 0.30103), off by at
  // most one; the loop below corrects it.
  int e = (int)std::floor(std::ilogb(a) * 0.30102999566398120);
  double scaled = 0;
  for (int tries = 0; tries < 4; ++tries) {
    int k = 5 - e;
    if (k < 0 || k > 10) return nullptr;
    scaled = a * kPowersOfTen[k];
    if (scaled >= 1e6) {
      ++e;
    } else if (scaled < 1e5) {
      --e;
    } else {
      break;
    }
  }
  if (!(scaled >= 1e5 && scaled < 1e6)) return nullptr;
  long digits = std::lrint(scaled);
  if (digits == 1000000) {
    digits = 100000;
    ++e;
  }
  if (e < -4 || e > 5) return nullptr;

  char d[6];
  for (int i = 5; i >= 0; --i) {
    d[i] = (char)('0' + digits % 10);
    digits /= 10;
  }
  int last = 5;  // the last digit that is not a trailing zero
  while (last > 0 && d[last] == '0') --last;

  if (v < 0) *p++ = '-';
  if (e >= 0) {
    for (int i = 0; i <= e; ++i) *p++ = d[i];
    if (last > e) {
      *p++ = '.';
      for (int i = e + 1; i <= last; ++i) *p++ = d[i];
    }
  } else {
    *p++ = '0';
    *p++ = '.';
    for (int i = -1; i > e; --i) *p++ = '0';
    for (int i = 0; i <= last; ++i) *p++ = d[i];
  }
  return p;
}

}  // namespace

void writeMovNumber(std::ostream& out, double v) {
  if (!hasDefaultFloatFormat(out)) {
    out << v << ' ';
    return;
  }
  char text[64];
  char* end = formatPlainFloat(text, v);
  if (!end) {
    // std::to_chars in general form with precision 6 gives exactly the
    // text of printf's "%g".
    end = std::to_chars(text, text + sizeof text - 1, v, std::chars_format::general, 6).ptr;
  }
  *end++ = ' ';
  std::streamsize n = end - text;
  std::ostream::sentry ok(out);
  if (!ok || out.rdbuf()->sputn(text, n) != n) out.setstate(std::ios_base::badbit);
}
