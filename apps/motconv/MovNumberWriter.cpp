#include "apps/motconv/MovNumberWriter.h"

#include <charconv>
#include <ostream>

namespace {

bool hasDefaultFloatFormat(const std::ostream& out) {
  const std::ios_base::fmtflags special = std::ios_base::floatfield | std::ios_base::uppercase |
                                          std::ios_base::showpoint | std::ios_base::showpos;
  return (out.flags() & special) == 0 && out.precision() == 6 && out.width() == 0;
}

}  // namespace

void writeMovNumber(std::ostream& out, double v) {
  if (!hasDefaultFloatFormat(out)) {
    out << v << ' ';
    return;
  }
  // std::to_chars in general form with precision 6 gives exactly the text
  // of printf's "%g".
  char text[64];
  std::to_chars_result r = std::to_chars(text, text + sizeof text - 1, v,
                                         std::chars_format::general, 6);
  *r.ptr++ = ' ';
  std::streamsize n = r.ptr - text;
  std::ostream::sentry ok(out);
  if (!ok || out.rdbuf()->sputn(text, n) != n) out.setstate(std::ios_base::badbit);
}
