#include "toolkit/KtOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <vector>

#include "toolkit/KtDescriptorBuffer.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFileIdentity.h"
#include "toolkit/KtTemporaryFiles.h"

namespace {

// A file name near the system's limit is shortened so that the temporary
// file's suffix fits.
constexpr std::string::size_type kLongestStemName = 200;

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string directoryOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a temporary file for path is named after: path itself, its
// last component shortened.
std::string stemFor(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  std::string::size_type base = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, base + kLongestStemName);
}

// The standard output or error (1 or 2) when it writes this regular file,
// else -1: such a target is written through the stream's own descriptor,
// where the text before it already stands.
int standardStreamWriting(const struct stat& target) {
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && sameFile(info, target)) return fd;
  }
  return -1;
}

// Why renaming a file over target would fail (an errno value), or 0: its
// folder must be writable, the target no directory, and in a sticky
// folder the target, or the folder, the user's own.
int renameRefusal(const std::string& target) {
  std::string dir = directoryOf(target);
  if (::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return errno;
  struct stat dirInfo, targetInfo;
  if (::stat(dir.c_str(), &dirInfo) != 0) return errno;
  if (::lstat(target.c_str(), &targetInfo) != 0) return errno == ENOENT ? 0 : errno;
  if (S_ISDIR(targetInfo.st_mode)) return EISDIR;
  uid_t me = ::geteuid();
  if ((dirInfo.st_mode & S_ISVTX) && me != 0 && targetInfo.st_uid != me && dirInfo.st_uid != me)
    return EPERM;
  return 0;
}

// Gives a temporary file the owner, group and permission bits of the file
// it replaces. Keeping the owner needs privileges and keeping the group
// membership of it, so a file that cannot keep them keeps what it can; the
// permission bits it must keep, or a private file could be replaced by a
// readable one.
bool keepOwnerAndMode(int fd, const struct stat& replaced) {
  mode_t keep = 0777;
  if (::fchown(fd, replaced.st_uid, replaced.st_gid) == 0)
    keep = 07777;  // the set-id bits only with the owner they belong to
  else if (::fchown(fd, (uid_t)-1, replaced.st_gid) != 0) {
    // the group stays the creator's
  }
  return ::fchmod(fd, replaced.st_mode & keep) == 0;
}

// Makes the renamed entry itself last through a power cut; a folder that
// cannot be synced (some file systems refuse) loses nothing else.
void syncDirectoryOf(const std::string& path) {
  int fd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A regular file's data reaches the disk before the file is put in place,
// so that after a power cut the target holds the old content or the new,
// never a file the rename made empty. Pipes and devices have nothing to
// sync.
int syncIfRegular(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Closes a descriptor; an interrupted close has closed it all the same.
int closeDescriptor(int fd) {
  if (::close(fd) == 0 || errno == EINTR) return 0;
  return errno;
}

}  // namespace

KtOutputFile::KtOutputFile(const char* path) : _path(path ? path : "") {}

KtOutputFile::~KtOutputFile() {
  discard();
}

bool KtOutputFile::open() {
  return _open(false);
}

bool KtOutputFile::openDeferred() {
  return _open(true);
}

bool KtOutputFile::_open(bool deferred) {
  discard();
  _deferred = deferred;
  _failed = Step::None;
  struct stat info;
  if (::stat(_path.c_str(), &info) != 0) {
    // Nothing there yet, or a link to nothing: a new file where the links
    // lead. Any other error of the path (a link loop, a component that is
    // no folder) refuses it.
    if (errno != ENOENT) return _fail(Step::Open, errno);
    _target = KtFileFollowLinks(_path.c_str());
    return _openBeside(_target);
  }
  if (S_ISDIR(info.st_mode)) return _fail(Step::Open, EISDIR);
  if (S_ISREG(info.st_mode) && standardStreamWriting(info) < 0) return _openReplacing(info);
  return deferred ? _openScratch(Route::Direct) : _openDirect(info);
}

bool KtOutputFile::_openBeside(const std::string& target) {
  std::string temporary;
  int fd = KtCreateTemporaryFile(stemFor(target), &temporary, &_slot);
  if (fd < 0) return _fail(Step::Open, errno);
  _temporary = temporary;
  return _attach(fd, Route::Beside);
}

bool KtOutputFile::_openReplacing(const struct stat& existing) {
  // The links are followed by hand only to find the folder for the
  // temporary file; where they lead elsewhere than the kernel went (a
  // descriptor's link to a deleted file), there is no such folder.
  std::string target = KtFileFollowLinks(_path.c_str());
  struct stat followed;
  int besideError = ENOENT;
  if (::stat(target.c_str(), &followed) == 0 && sameFile(followed, existing)) {
    _target = target;
    if (_openBeside(target)) {
      besideError = keepOwnerAndMode(_fd, existing) ? renameRefusal(target) : errno;
      if (besideError == 0) return true;
      discard();
    } else {
      besideError = _error;
    }
  }
  _failed = Step::None;
  if (::faccessat(AT_FDCWD, _path.c_str(), W_OK, AT_EACCESS) != 0)
    return _fail(Step::Open, besideError);
  return _openScratch(Route::InPlace);
}

bool KtOutputFile::_openScratch(Route route) {
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = tmp && *tmp ? tmp : "/tmp";
  std::string name = nameOf(_path);
  if (name.empty() || name == "." || name == "..") name = "output";
  std::string temporary;
  int fd = KtCreateTemporaryFile(stemFor(dir + "/" + name), &temporary, &_slot);
  if (fd < 0) return _fail(Step::Open, errno);
  _temporary = temporary;
  // The content may be private: nobody else reads it on its way.
  if (::fchmod(fd, 0600) != 0) {
    int error = errno;
    ::close(fd);
    _removeTemporary();
    return _fail(Step::Open, error);
  }
  return _attach(fd, route);
}

bool KtOutputFile::_openDirect(const struct stat& target) {
  int own = standardStreamWriting(target);
  int fd = own >= 0 ? ::fcntl(own, F_DUPFD_CLOEXEC, 0)
                    : ::open(_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return _fail(Step::Open, errno);
  return _attach(fd, Route::Direct);
}

bool KtOutputFile::_attach(int fd, Route route) {
  _fd = fd;
  _route = route;
  _buffer.reset(new KtDescriptorBuffer(_fd));
  _stream.reset(new std::ostream(_buffer.get()));
  return true;
}

std::ostream& KtOutputFile::stream() {
  return *_stream;
}

bool KtOutputFile::commit() {
  return finish() && install();
}

bool KtOutputFile::finish() {
  if (!_stream) return false;
  _stream->flush();
  int error = _buffer->error();
  Step step = Step::Write;
  _stream.reset();
  _buffer.reset();
  if (!error && _route == Route::Beside) error = syncIfRegular(_fd);
  int closeError = closeDescriptor(_fd);
  _fd = -1;
  if (!error && closeError) {
    error = closeError;
    step = Step::Close;
  }
  if (!error && _route == Route::Direct && _deferred) {
    struct stat info;
    int own = ::stat(_path.c_str(), &info) == 0 ? standardStreamWriting(info) : -1;
    int fd = own >= 0 ? ::fcntl(own, F_DUPFD_CLOEXEC, 0)
                      : ::open(_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    error = fd < 0 ? errno : _copyScratchInto(fd);
    _removeTemporary();
  }
  if (error) {
    discard();
    return _fail(step, error);
  }
  _finished = true;
  return true;
}

bool KtOutputFile::checkInstall() {
  if (!_finished) return false;
  if (_route == Route::Beside) {
    int refusal = renameRefusal(_target);
    return refusal == 0 || _fail(Step::Rename, refusal);
  }
  if (_route == Route::InPlace && ::faccessat(AT_FDCWD, _path.c_str(), W_OK, AT_EACCESS) != 0)
    return _fail(Step::Write, errno);
  return true;
}

bool KtOutputFile::install() {
  if (!_finished) return false;
  _finished = false;
  if (_route == Route::Beside) {
    if (::rename(_temporary.c_str(), _target.c_str()) != 0) {
      int error = errno;
      discard();
      return _fail(Step::Rename, error);
    }
    KtForgetTemporaryFile(_slot);
    _slot = -1;
    _temporary.clear();
    syncDirectoryOf(_target);
  } else if (_route == Route::InPlace) {
    int fd = ::open(_path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    int error = fd < 0 ? errno : _copyScratchInto(fd);
    discard();
    if (error) return _fail(Step::Write, error);
  }
  return true;
}

int KtOutputFile::_copyScratchInto(int fd) {
  int error = 0;
  int in = ::open(_temporary.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) error = errno;
  std::vector<char> block(1 << 16);
  while (!error) {
    ssize_t n = ::read(in, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    for (ssize_t done = 0; done < n && !error;) {
      ssize_t w = ::write(fd, block.data() + done, (std::size_t)(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) error = w < 0 ? errno : EIO;
      done += w > 0 ? w : 0;
    }
  }
  if (in >= 0) ::close(in);
  if (!error) error = syncIfRegular(fd);
  int closeError = closeDescriptor(fd);
  return error ? error : closeError;
}

void KtOutputFile::discard() {
  _stream.reset();
  _buffer.reset();
  if (_fd >= 0) {
    ::close(_fd);
    _fd = -1;
  }
  _removeTemporary();
  _route = Route::Closed;
  _finished = false;
}

void KtOutputFile::_removeTemporary() {
  if (_temporary.empty()) return;
  ::unlink(_temporary.c_str());
  KtForgetTemporaryFile(_slot);
  _slot = -1;
  _temporary.clear();
}

bool KtOutputFile::_fail(Step step, int error) {
  _failed = step;
  _error = error;
  return false;
}

void KtOutputFile::recordFailure() const {
  if (_failed == Step::None) return;
  KtError("%s", std::strerror(_error));
  const char* path = _path.c_str();
  if (_failed == Step::Write)
    KtError("Unable to write to \"%s\".", path);
  else if (_failed == Step::Close)
    KtError("Unable to close \"%s\".", path);
  else if (_failed == Step::Rename)
    KtError("Unable to rename the temporary file to \"%s\".", path);
}

void KtOutputFile::recordWritingInPlace() const {
  KtWarning(
      "The file \"%s\" is written in place: no temporary file can be made beside it and "
      "renamed over it.",
      _path.c_str());
}
