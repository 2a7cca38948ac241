#ifndef CL_STAGED_OUTPUT_FILE_H
#define CL_STAGED_OUTPUT_FILE_H

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class KtOutputFile;

// An output whose content is written before its output-file step runs,
// while the inputs are still being read, so that the content is never held
// in memory. The content goes to a KtOutputFile opened deferred: the
// target's own temporary file beside it, which the step then finishes and
// renames into place; for a target that is written directly (a device, a
// FIFO, a pipe) or in place, a scratch file in the temporary folder
// ($TMPDIR, else /tmp), which the step copies into the target. Nothing
// reaches the target before the step: what was written is removed when the
// output is given up or the object goes first.
class ClStagedOutputFile {
 public:
  explicit ClStagedOutputFile(const char* path);
  ~ClStagedOutputFile();
  ClStagedOutputFile(const ClStagedOutputFile&) = delete;
  ClStagedOutputFile& operator=(const ClStagedOutputFile&) = delete;

  // The stream the content goes to; null when no file could be made for
  // it (the step then fails, saying so).
  std::ostream* stream();

  // The output-file step for the path (ClWriteOutputFile's messages): the
  // write-access check, "Writing \"<path>\"...", then complete(stream),
  // which records again what went wrong while the content was written (or
  // writes what is left of it), "done.", and the file put in place. True
  // on success.
  bool write(std::ostream& progress, const std::function<void(std::ostream&)>& complete);
  // The same step, the file finished but not put in place: the caller puts
  // it in place with ClInstallOutputFile (ClWriteOutputFileHeld). Null when
  // the step failed.
  std::unique_ptr<KtOutputFile> writeHeld(std::ostream& progress,
                                          const std::function<void(std::ostream&)>& complete);

  // Removes what was written; the target is not touched.
  void discard();

 private:
  std::string _path;
  std::unique_ptr<KtOutputFile> _file;
};

#endif
