#ifndef KT_OUTPUT_FILE_H
#define KT_OUTPUT_FILE_H

// Writing an output file so that a failure never leaves half a file or
// destroys the previous one.

#include <iosfwd>
#include <memory>
#include <string>

// One output file being written. Where the target is a regular file, or
// nothing yet, the content goes to a new temporary file beside it (the
// target's name, at most its first 200 characters, followed by ".tmp-" and
// six characters, created exclusively), which commit() renames over the target once everything has
// been written, flushed and closed without error; discard() or the
// destructor removes it instead, and the previous file stays as it was. A
// target that exists and is not a regular file (a device, a FIFO) is
// written directly. A symbolic link is followed: the file it leads to is
// replaced and the link stays. A replaced file keeps its permission bits
// (and its owner and group where the system allows); a new one gets the
// usual mode 0666 less the umask. The object owns the descriptor and the
// temporary file; it records no diagnostics.
class KtOutputFile {
 public:
  explicit KtOutputFile(const char* path);
  ~KtOutputFile();
  KtOutputFile(const KtOutputFile&) = delete;
  KtOutputFile& operator=(const KtOutputFile&) = delete;

  // Creates the temporary file (or opens the target directly); false when
  // that is impossible.
  bool open();
  // The stream to write the content on; only valid after a successful open.
  std::ostream& stream();
  // Flushes and closes, then renames the temporary file into place. False
  // when a write, the close or the rename failed; the temporary file is
  // removed then. commit() is finish() followed by install().
  bool commit();
  // Flushes and closes; the temporary file waits for install().
  bool finish();
  // Renames the finished temporary file into place (nothing to do for a
  // target written directly).
  bool install();
  // Closes and removes the temporary file; the target is not touched.
  void discard();

  // The temporary file's path, empty when the target is written directly.
  const std::string& temporaryPath() const { return _temporary; }

 private:
  class Buffer;
  bool _openDirect();
  bool _openTemporary();

  std::string _target;     // the path with its links followed
  std::string _temporary;  // empty when writing the target directly
  int _fd = -1;
  std::unique_ptr<Buffer> _buffer;
  std::unique_ptr<std::ostream> _stream;
};

#endif
