#include "raro/KrLineError.h"

#include <cstdarg>
#include <cstdio>

#include "raro/KrTexts.h"
#include "toolkit/KtExcept.h"

bool KrLineError(const char* fileMessage, const char* file, int line, const char* fmt, ...) {
  char text[1024];
  const int used = std::snprintf(text, sizeof text, theKrLine, line);
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text + used, sizeof text - used, fmt, args);
  va_end(args);
  theExceptObj.recordError(text);
  KtError(fileMessage, file);
  return false;
}
