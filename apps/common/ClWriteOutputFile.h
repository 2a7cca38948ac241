#ifndef CL_WRITE_OUTPUT_FILE_H
#define CL_WRITE_OUTPUT_FILE_H

// The output-file step every program runs for each file it writes, with
// the progress line and the messages a user sees. The whole-or-nothing
// writing itself is the toolkit's KtOutputFile.

#include <functional>
#include <iosfwd>
#include <memory>

#include "toolkit/KtOutputFile.h"

// The output-file step: the write-access check (on failure nothing is
// printed), the warning paragraph when the file is to be written in place
// (printed at once), "Writing \"<path>\"..." on progress, the content
// written through a KtOutputFile, "done.\n". Failures are recorded, the
// system's reason below the line that says what failed: "Unable to open
// \"%s\"." when no file can be made for the content; "Unable to write to
// \"%s\".", "Unable to close \"%s\"." or "Unable to rename the temporary
// file to \"%s\"." when a write, the close or the rename failed and the
// content recorded nothing itself; and "Unable to save \"%s\"." over any
// error. True on success.
bool ClWriteOutputFile(const char* path, const std::function<void(std::ostream&)>& content,
                       std::ostream& progress);

// The same step for content written beforehand into file, a KtOutputFile
// made for path and opened by the caller (as a converter does while it
// still reads its input): the write-access check, "Writing \"<path>\"...",
// complete(stream) for what is left to write or to record, and then as
// above. The file is discarded when the step fails.
bool ClWriteOutputFile(const char* path, std::unique_ptr<KtOutputFile> file,
                       const std::function<void(std::ostream&)>& complete, std::ostream& progress);

// The same steps for an output that is to appear only together with a
// later one: the content is written and closed, but the file is put in
// place only by ClInstallOutputFile, and discarded if the object returned
// is destroyed first. Null when the step failed (the messages are recorded
// as above).
std::unique_ptr<KtOutputFile> ClWriteOutputFileHeld(
    const char* path, const std::function<void(std::ostream&)>& content, std::ostream& progress);
std::unique_ptr<KtOutputFile> ClWriteOutputFileHeld(
    const char* path, std::unique_ptr<KtOutputFile> file,
    const std::function<void(std::ostream&)>& complete, std::ostream& progress);

// Whether a held file can be put in place now (KtOutputFile::checkInstall):
// a program that puts several files in place checks each before it puts
// the first. On failure records the failure it foresees, with its reason,
// and "Unable to save \"%s\".", and returns false.
bool ClCheckOutputInstallable(KtOutputFile& file, const char* path);

// Puts a held file in place; on failure records what failed, with its
// reason, and "Unable to save \"%s\"." and returns false.
bool ClInstallOutputFile(KtOutputFile& file, const char* path);

#endif
