#include "toolkit/KtOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <vector>

#include "toolkit/KtFileIdentity.h"

// A write buffer over a descriptor; a refused write makes the stream bad.
class KtOutputFile::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : _fd(fd), _space(1 << 16) {
    setp(_space.data(), _space.data() + _space.size());
  }

 protected:
  int_type overflow(int_type c) override {
    if (!_drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* s, std::streamsize n) override {
    if (n <= epptr() - pptr()) {
      traits_type::copy(pptr(), s, (std::size_t)n);
      pbump((int)n);
      return n;
    }
    if (!_drain() || !_writeAll(s, (std::size_t)n)) return 0;
    return n;
  }

  int sync() override { return _drain() ? 0 : -1; }

 private:
  bool _drain() {
    bool written = _writeAll(pbase(), (std::size_t)(pptr() - pbase()));
    setp(_space.data(), _space.data() + _space.size());
    return written;
  }

  bool _writeAll(const char* data, std::size_t size) {
    while (size > 0) {
      ssize_t n = ::write(_fd, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= (std::size_t)n;
    }
    return true;
  }

  int _fd;
  std::vector<char> _space;
};

KtOutputFile::KtOutputFile(const char* path) : _target(KtFileFollowLinks(path)) {}

KtOutputFile::~KtOutputFile() {
  discard();
}

bool KtOutputFile::open() {
  struct stat info;
  bool exists = ::stat(_target.c_str(), &info) == 0;
  bool opened = exists && !S_ISREG(info.st_mode) ? _openDirect() : _openTemporary();
  if (!opened) return false;
  _buffer.reset(new Buffer(_fd));
  _stream.reset(new std::ostream(_buffer.get()));
  return true;
}

bool KtOutputFile::_openDirect() {
  _fd = ::open(_target.c_str(), O_WRONLY | O_TRUNC);
  return _fd >= 0;
}

bool KtOutputFile::_openTemporary() {
  struct stat info;
  bool replacing = ::stat(_target.c_str(), &info) == 0;
  mode_t mode;
  if (replacing) {
    mode = info.st_mode & 0777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  // A name near the system's limit is shortened so that the suffix fits.
  std::string::size_type slash = _target.rfind('/');
  std::string::size_type base = slash == std::string::npos ? 0 : slash + 1;
  std::string name = _target.substr(0, base + 200) + ".tmp-XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  _fd = ::mkstemp(pattern.data());
  if (_fd < 0) return false;
  _temporary = pattern.data();
  if (::fchmod(_fd, mode) != 0) {
    discard();
    return false;
  }
  // Keeping the owner needs privileges and keeping the group membership of
  // it; a file that cannot keep them is still written.
  if (replacing && ::fchown(_fd, info.st_uid, info.st_gid) != 0 &&
      ::fchown(_fd, (uid_t)-1, info.st_gid) != 0) {
  }
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
  bool written = _stream->good();
  _stream.reset();
  _buffer.reset();
  int fd = _fd;
  _fd = -1;
  if (::close(fd) != 0) written = false;
  if (!written) discard();
  return written;
}

bool KtOutputFile::install() {
  if (_temporary.empty()) return true;
  if (::rename(_temporary.c_str(), _target.c_str()) != 0) {
    discard();
    return false;
  }
  _temporary.clear();
  return true;
}

void KtOutputFile::discard() {
  _stream.reset();
  _buffer.reset();
  if (_fd >= 0) {
    ::close(_fd);
    _fd = -1;
  }
  if (!_temporary.empty()) {
    ::unlink(_temporary.c_str());
    _temporary.clear();
  }
}
