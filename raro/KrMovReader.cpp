#include "raro/KrMovReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "raro/KrLineError.h"
#include "raro/KrTexts.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The whole of [begin, end) as a finite decimal number: a minus sign, a
// digit or a point first ("%g" text and the like; no "+", hex, inf or nan).
bool parseNumber(const char* begin, const char* end, double* value) {
  if (!(*begin == '-' || *begin == '.' || (*begin >= '0' && *begin <= '9'))) return false;
  const std::from_chars_result r = std::from_chars(begin, end, *value);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(*value);
}

// How far a line's time may lie from its frame's: a hundredth of a frame,
// or half a unit of the sixth significant digit the time is written with,
// whichever is more (frame 3004 at 30 is 100.133, a third of a hundredth
// of a frame short).
double timeTolerance(double expected, int fps) {
  const double magnitude = std::fabs(expected);
  const double lastDigit =
      magnitude > 0 ? std::pow(10.0, std::floor(std::log10(magnitude)) - 5) : 0;
  return std::max(0.01 / fps, 0.5 * lastDigit * (1 + 1e-9));
}

}  // namespace

bool KrReadMov(const std::string& text, const char* fileName, const KrTake& take, int axesNeeded,
               KrMov* mov) {
  mov->columns = 0;
  mov->values.clear();
  int number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    ++number;
    int columns = 0;
    size_t i = pos;
    while (i < end && isBlank(text[i])) ++i;
    // A "//" comment line holds no frame.
    if (text.compare(i, 2, "//") == 0) i = end;
    while (true) {
      while (i < end && isBlank(text[i])) ++i;
      if (i >= end) break;
      size_t stop = i;
      while (stop < end && !isBlank(text[stop])) ++stop;
      double v = 0;
      if (!parseNumber(text.data() + i, text.data() + stop, &v))
        return KrLineError(theKrMovFailed, fileName, number, theKrMovNotNumber,
                           text.substr(i, stop - i).c_str());
      mov->values.push_back(v);
      ++columns;
      i = stop;
    }
    pos = end + 1;
    if (columns == 0) continue;
    if (mov->columns == 0) mov->columns = columns;
    const int needed = mov->columns > axesNeeded ? mov->columns : axesNeeded + 1;
    if (columns != needed)
      return KrLineError(theKrMovFailed, fileName, number, theKrMovColumns, needed, columns);
    // The time of the line puts it on its own scene frame.
    const int frame = mov->frames() - 1;
    const double expected = (double)(take.firstFrame + frame) / take.fps;
    const double time = mov->values[(size_t)frame * columns];
    if (std::fabs(time - expected) > timeTolerance(expected, take.fps))
      return KrLineError(theKrMovFailed, fileName, number, theKrMovTime, expected, time);
  }
  if (mov->frames() == 0) return KrLineError(theKrMovFailed, fileName, number, "%s", theKrMovEmpty);
  return true;
}
