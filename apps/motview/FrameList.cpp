#include "apps/motview/FrameList.h"

#include <cerrno>
#include <cstdlib>

#include "toolkit/KtExcept.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// One entry from text up to the next comma or the end; *next is left after
// the comma (or at the end).
bool parseEntry(const char* text, const char** next, long* value) {
  const char* p = text;
  while (isBlank(*p)) ++p;
  const char* digits = *p == '-' ? p + 1 : p;
  if (*digits < '0' || *digits > '9') return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(p, &end, 10);
  if (errno == ERANGE) return false;
  p = end;
  while (isBlank(*p)) ++p;
  if (*p == ',') {
    *next = p + 1;
    return true;
  }
  *next = p;
  return *p == '\0';
}

}  // namespace

bool parseFrameList(const char* text, std::vector<long>* frames) {
  std::vector<long> parsed;
  const char* p = text;
  do {
    long value = 0;
    const char* next = nullptr;
    if (!parseEntry(p, &next, &value)) return false;
    parsed.push_back(value);
    // A comma at the very end leaves an empty entry, which is refused.
    if (*next == '\0' && next > text && next[-1] == ',') return false;
    p = next;
  } while (*p);
  *frames = parsed;
  return true;
}

std::vector<long> spreadFrames(long first, long last, int count) {
  std::vector<long> frames;
  const long span = last - first;
  if (count <= 1) return {first};
  if (span + 1 <= count) {
    for (long f = first; f <= last; ++f) frames.push_back(f);
    return frames;
  }
  const long places = count - 1;
  for (int i = 0; i < count; ++i) {
    // The even place is i * span / places frames after the first.
    const long q = i * span / places, r = i * span % places;
    frames.push_back(first + q + (2 * r > places ? 1 : 0));
  }
  return frames;
}

bool checkFramesInTake(const std::vector<long>& frames, long first, long last) {
  for (long f : frames) {
    if (f < first || f > last) {
      KtError("Frame %ld is not a frame of the take, which holds scene frames %ld to %ld.", f,
              first, last);
      return false;
    }
  }
  return true;
}
