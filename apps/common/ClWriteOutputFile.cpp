#include "apps/common/ClWriteOutputFile.h"

#include <ostream>

#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

void recordWriteFailure(const char* path) {
  KtError("Unable to write to \"%s\".", path);
}
void recordSaveFailure(const char* path) {
  KtError("Unable to save \"%s\".", path);
}

// Everything of the step up to the rename: the file, finished, or null.
// A file opened beforehand (its content written already) is only
// completed.
std::unique_ptr<KtOutputFile> writeFinished(const char* path, std::unique_ptr<KtOutputFile> file,
                                            const std::function<void(std::ostream&)>& content,
                                            std::ostream& progress) {
  if (!KtPathCheckWriteAccess(path)) return nullptr;
  progress << "Writing \"" << path << "\"..." << std::flush;
  if (!file) {
    file.reset(new KtOutputFile(path));
    if (!file->open()) {
      progress << "done.\n" << std::flush;
      KtError("Unable to open \"%s\".", path);
      return nullptr;
    }
  }
  content(file->stream());
  if (!theExceptObj.errorOccurred() && !file->finish()) recordWriteFailure(path);
  progress << "done.\n" << std::flush;
  if (!theExceptObj.errorOccurred()) return file;
  recordSaveFailure(path);
  return nullptr;
}

}  // namespace

bool ClWriteOutputFile(const char* path, const std::function<void(std::ostream&)>& content,
                       std::ostream& progress) {
  std::unique_ptr<KtOutputFile> file = writeFinished(path, nullptr, content, progress);
  return file && ClInstallOutputFile(*file, path);
}

bool ClWriteOutputFile(const char* path, std::unique_ptr<KtOutputFile> file,
                       const std::function<void(std::ostream&)>& complete, std::ostream& progress) {
  std::unique_ptr<KtOutputFile> finished = writeFinished(path, std::move(file), complete, progress);
  return finished && ClInstallOutputFile(*finished, path);
}

std::unique_ptr<KtOutputFile> ClWriteOutputFileHeld(
    const char* path, const std::function<void(std::ostream&)>& content, std::ostream& progress) {
  return writeFinished(path, nullptr, content, progress);
}

bool ClInstallOutputFile(KtOutputFile& file, const char* path) {
  if (file.install()) return true;
  recordWriteFailure(path);
  recordSaveFailure(path);
  return false;
}
