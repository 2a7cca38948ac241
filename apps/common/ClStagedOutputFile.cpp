#include "apps/common/ClStagedOutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <ostream>

#include "apps/common/ClWriteOutputFile.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFileIdentity.h"
#include "toolkit/KtOutputFile.h"

namespace {

// A target that exists and is no regular file is written directly by the
// output-file step, so it cannot take content before the step.
bool isWrittenDirectly(const std::string& path) {
  struct stat info;
  std::string target = KtFileFollowLinks(path.c_str());
  return ::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

std::string scratchBase(const char* programName) {
  const char* dir = std::getenv("TMPDIR");
  std::string base = dir && *dir ? dir : "/tmp";
  return base + "/" + programName + "-" + std::to_string((long)::getpid());
}

}  // namespace

ClStagedOutputFile::ClStagedOutputFile(const char* path, const char* programName) : _path(path) {
  if (!isWrittenDirectly(_path)) {
    _beside.reset(new KtOutputFile(path));
    if (_beside->open()) return;
    _beside.reset();
  }
  _scratch.reset(new KtOutputFile(scratchBase(programName).c_str()));
  if (!_scratch->open()) _scratch.reset();
}

ClStagedOutputFile::~ClStagedOutputFile() = default;

std::ostream* ClStagedOutputFile::stream() {
  if (_beside) return &_beside->stream();
  if (_scratch) return &_scratch->stream();
  return nullptr;
}

void ClStagedOutputFile::discard() {
  _beside.reset();
  _scratch.reset();
}

bool ClStagedOutputFile::_copyScratch(std::ostream& out) {
  if (!_scratch->finish()) return false;
  std::ifstream in(_scratch->temporaryPath(), std::ios::binary);
  char block[1 << 16];
  while (in) {
    in.read(block, sizeof block);
    out.write(block, in.gcount());
  }
  return in.eof() && !in.bad();
}

bool ClStagedOutputFile::write(std::ostream& progress,
                               const std::function<void(std::ostream&)>& complete) {
  const char* path = _path.c_str();
  if (_beside) return ClWriteOutputFile(path, std::move(_beside), complete, progress);
  bool written = ClWriteOutputFile(
      path,
      [&](std::ostream& out) {
        if (!_scratch) {
          KtError("No file could be made for the content of \"%s\" while the inputs were read.",
                  path);
          return;
        }
        complete(out);
        if (theExceptObj.errorOccurred()) return;
        // A copy that fails makes the target's stream fail, which the step
        // reports.
        if (!_copyScratch(out)) out.setstate(std::ios::badbit);
      },
      progress);
  discard();
  return written;
}
