#ifndef KT_OUTPUT_FILE_H
#define KT_OUTPUT_FILE_H

// Writing an output file so that a failed or interrupted write never leaves
// half a file or destroys the previous one.

#include <iosfwd>
#include <memory>
#include <string>

class KtDescriptorBuffer;

// One output file being written. What the target is comes from stat of the
// path as the caller gives it (the kernel resolves /dev/stdout, /dev/fd/N
// and every link):
// - a regular file, or nothing yet: the content goes to a new temporary
//   file beside it (the target's name, at most its first 200 characters,
//   followed by ".tmp-" and six random characters, created exclusively with
//   mode 0666 less the umask), which install() renames over the target once
//   everything has been written, flushed and closed without error. Links
//   are followed by hand only to find that folder: the file a link leads to
//   is replaced and the link stays. A replaced file keeps its permission
//   bits (and its owner and group where the system allows); its other hard
//   links keep the previous content.
// - a regular file beside which no temporary file can be made, or over
//   which one could not be renamed (a folder the user cannot write, a
//   sticky folder owned by someone else), but which may be written: the
//   content goes to a scratch file in the temporary folder ($TMPDIR, else
//   /tmp), which install() copies into the target in place. A failure
//   before that leaves the target as it was; a failure while it is copied
//   leaves it incomplete. The caller warns (recordWritingInPlace).
// - anything else (a pipe, a FIFO, a device, a terminal), or the regular
//   file that the process's standard output or error already writes: the
//   target is written directly, through the path as given (or the
//   standard stream's own descriptor, so that the text around it keeps its
//   place); opened with openDeferred(), through a scratch file copied into
//   it by finish().
// Every temporary and scratch file is registered (KtTemporaryFiles), so
// that a program's signal handler can remove it. The object owns the
// descriptors and those files. It records diagnostics only when asked to
// (recordFailure, recordWritingInPlace).
class KtOutputFile {
 public:
  // Where the content goes until the file is put in place.
  enum class Route {
    Closed,   // not open, or open failed
    Beside,   // a temporary file beside the target, renamed over it
    InPlace,  // a scratch file, copied into the target by install()
    Direct,   // the target itself (after openDeferred(): a scratch file,
              // copied into it by finish())
  };

  explicit KtOutputFile(const char* path);
  ~KtOutputFile();
  KtOutputFile(const KtOutputFile&) = delete;
  KtOutputFile& operator=(const KtOutputFile&) = delete;

  // Makes the file the content goes to; false when that is impossible
  // (the path is a directory or a link loop, no file can be made for it).
  bool open();
  // The same for content written long before it may reach the target:
  // nothing is written to a directly written target before finish().
  bool openDeferred();
  // The stream to write the content on; only valid after a successful open.
  std::ostream& stream();
  // The descriptor the content goes to, for a tool that writes it (the
  // compressing streams); only valid after a successful open.
  int descriptor() const { return _fd; }

  // finish() followed by install().
  bool commit();
  // Flushes and closes (a deferred direct target gets its content now);
  // the temporary file waits for install(). False when a write or the
  // close failed; the temporary file is removed then.
  bool finish();
  // Whether install() can be expected to succeed: for a temporary file, its
  // folder writable, the target no directory, the sticky bit's rule kept;
  // for a file written in place, the target writable. False with the
  // reason kept for recordFailure().
  bool checkInstall();
  // Renames the finished temporary file into place, or copies the scratch
  // file into the target (nothing to do for a target written directly).
  // On failure the temporary file is removed.
  bool install();
  // Closes and removes the temporary or scratch file; the target is not
  // touched.
  void discard();

  Route route() const { return _route; }
  bool writesInPlace() const { return _route == Route::InPlace; }
  // The temporary or scratch file's path; empty when there is none.
  const std::string& temporaryPath() const { return _temporary; }

  // The system's reason (an errno value) for the last false result.
  int error() const { return _error; }

  // After a false from open(): the system's reason. After a false from
  // finish(), checkInstall() or install(): the reason, then what failed,
  // naming the path as given: "Unable to write to \"%s\".", "Unable to
  // close \"%s\"." or "Unable to rename the temporary file to \"%s\".".
  void recordFailure() const;
  // The warning that the target is written in place.
  void recordWritingInPlace() const;

 private:
  enum class Step { None, Open, Write, Close, Rename };

  bool _open(bool deferred);
  bool _openReplacing(const struct stat& target);
  bool _openBeside(const std::string& target);
  bool _openScratch(Route route);
  bool _openDirect(const struct stat& target);
  bool _attach(int fd, Route route);
  int _copyScratchInto(int fd);
  bool _fail(Step step, int error);
  void _removeTemporary();

  std::string _path;       // as the caller gave it
  std::string _target;     // a temporary file's target, its links followed
  std::string _temporary;  // the temporary or scratch file
  int _slot = -1;          // its place in the registry
  bool _deferred = false;
  bool _finished = false;  // finished and not yet installed
  Route _route = Route::Closed;
  int _fd = -1;
  std::unique_ptr<KtDescriptorBuffer> _buffer;
  std::unique_ptr<std::ostream> _stream;
  Step _failed = Step::None;
  int _error = 0;
};

#endif
