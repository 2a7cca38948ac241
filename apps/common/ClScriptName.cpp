#include "apps/common/ClScriptName.h"

namespace {

bool isScriptNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool ClIsScriptName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  // A statement word that begins with a digit reads as a number.
  if (*name >= '0' && *name <= '9') return false;
  for (const char* p = name; *p != '\0'; ++p)
    if (!isScriptNameChar(*p)) return false;
  return true;
}
