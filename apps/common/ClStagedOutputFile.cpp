#include "apps/common/ClStagedOutputFile.h"

#include <ostream>

#include "apps/common/ClWriteOutputFile.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtOutputFile.h"

ClStagedOutputFile::ClStagedOutputFile(const char* path)
    : _path(path), _file(new KtOutputFile(path)) {
  _file->openDeferred();
}

ClStagedOutputFile::~ClStagedOutputFile() = default;

std::ostream* ClStagedOutputFile::stream() {
  if (!_file || _file->route() == KtOutputFile::Route::Closed) return nullptr;
  return &_file->stream();
}

void ClStagedOutputFile::discard() {
  if (_file) _file->discard();
}

bool ClStagedOutputFile::write(std::ostream& progress,
                               const std::function<void(std::ostream&)>& complete) {
  std::unique_ptr<KtOutputFile> file = writeHeld(progress, complete);
  return file && ClInstallOutputFile(*file, _path.c_str());
}

std::unique_ptr<KtOutputFile> ClStagedOutputFile::writeHeld(
    std::ostream& progress, const std::function<void(std::ostream&)>& complete) {
  const char* path = _path.c_str();
  if (stream()) return ClWriteOutputFileHeld(path, std::move(_file), complete, progress);
  // No file took the content while the inputs were read: the step runs on
  // a file of its own, and says why the content is missing.
  const std::unique_ptr<KtOutputFile> failed = std::move(_file);
  return ClWriteOutputFileHeld(
      path,
      [&](std::ostream&) {
        if (failed) failed->recordFailure();
        KtError("No file could be made for the content of \"%s\" while the inputs were read.",
                path);
      },
      progress);
}
