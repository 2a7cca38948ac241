#include "apps/common/ClWriteOutputFile.h"

#include <ostream>

#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

namespace {

void recordSaveFailure(const char* path) {
  KtError("Unable to save \"%s\".", path);
}

void recordStepFailure(const KtOutputFile& file, const char* path) {
  file.recordFailure();
  recordSaveFailure(path);
}

// A file written in place is announced before it is touched, so that the
// user knows which file a failure from here on may leave incomplete.
void warnIfWrittenInPlace(const KtOutputFile& file) {
  if (!file.writesInPlace()) return;
  file.recordWritingInPlace();
  KtCheckException();
}

// Everything of the step up to putting the file in place: the file,
// finished, or null. A file opened beforehand (its content written
// already) is only completed.
std::unique_ptr<KtOutputFile> writeFinished(const char* path, std::unique_ptr<KtOutputFile> file,
                                            const std::function<void(std::ostream&)>& content,
                                            std::ostream& progress) {
  if (!KtPathCheckWriteAccess(path)) return nullptr;
  if (!file) {
    file.reset(new KtOutputFile(path));
    if (!file->open()) {
      progress << "Writing \"" << path << "\"...done.\n" << std::flush;
      file->recordFailure();
      KtError("Unable to open \"%s\".", path);
      return nullptr;
    }
  }
  warnIfWrittenInPlace(*file);
  progress << "Writing \"" << path << "\"..." << std::flush;
  content(file->stream());
  if (!theExceptObj.errorOccurred() && !file->finish()) file->recordFailure();
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

std::unique_ptr<KtOutputFile> ClWriteOutputFileHeld(
    const char* path, std::unique_ptr<KtOutputFile> file,
    const std::function<void(std::ostream&)>& complete, std::ostream& progress) {
  return writeFinished(path, std::move(file), complete, progress);
}

bool ClCheckOutputInstallable(KtOutputFile& file, const char* path) {
  if (file.checkInstall()) return true;
  recordStepFailure(file, path);
  return false;
}

bool ClInstallOutputFile(KtOutputFile& file, const char* path) {
  if (file.install()) return true;
  recordStepFailure(file, path);
  return false;
}
