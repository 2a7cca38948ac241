#ifndef CL_STAGED_OUTPUT_FILE_H
#define CL_STAGED_OUTPUT_FILE_H

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class KtOutputFile;

// An output whose content is written before its output-file step runs,
// while the inputs are still being read, so that the content is never held
// in memory. The content goes to the target's own temporary file beside it
// from the start, which the step then finishes and renames into place; a
// target that is written directly (a device, a FIFO) or beside which no
// temporary file can be made gets a scratch file in the temporary folder
// ($TMPDIR, else /tmp; named after the program and its process) instead,
// which the step copies to the target. Nothing is put in place before the
// step: what was written is removed when the output is given up or the
// object goes first.
class ClStagedOutputFile {
 public:
  ClStagedOutputFile(const char* path, const char* programName);
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

  // Removes what was written; the target is not touched.
  void discard();

 private:
  bool _copyScratch(std::ostream& out);

  std::string _path;
  std::unique_ptr<KtOutputFile> _beside;   // the target's temporary file
  std::unique_ptr<KtOutputFile> _scratch;  // or the scratch file
};

#endif
