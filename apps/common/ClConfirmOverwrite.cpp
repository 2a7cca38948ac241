#include "apps/common/ClConfirmOverwrite.h"

#include <sys/stat.h>

#include <istream>
#include <ostream>

namespace {

bool somethingExistsAt(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0;
}

}  // namespace

bool ClConfirmOverwrite(const char* path, const char* existsEnding, std::istream& in,
                        std::ostream& out) {
  if (!somethingExistsAt(path)) return true;
  out << "\n"
      << "Output file '" << path << existsEnding << "\n";
  for (;;) {
    out << "Overwrite? [Y/N] " << std::flush;
    char answer = 0;
    if (!(in >> answer)) return false;
    if (answer == 'y' || answer == 'Y') return true;
    if (answer == 'n' || answer == 'N') return false;
  }
}
