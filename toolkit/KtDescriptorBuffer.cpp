#include "toolkit/KtDescriptorBuffer.h"

#include <unistd.h>

#include <cerrno>

KtDescriptorBuffer::KtDescriptorBuffer(int fd, std::size_t size) : _fd(fd), _space(size) {
  setp(_space.data(), _space.data() + _space.size());
}

KtDescriptorBuffer::int_type KtDescriptorBuffer::overflow(int_type c) {
  if (!_drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize KtDescriptorBuffer::xsputn(const char* s, std::streamsize n) {
  if (n <= epptr() - pptr()) {
    traits_type::copy(pptr(), s, (std::size_t)n);
    pbump((int)n);
    return n;
  }
  if (!_drain() || !_writeAll(s, (std::size_t)n)) return 0;
  return n;
}

int KtDescriptorBuffer::sync() {
  return _drain() ? 0 : -1;
}

bool KtDescriptorBuffer::_drain() {
  bool written = _writeAll(pbase(), (std::size_t)(pptr() - pbase()));
  setp(_space.data(), _space.data() + _space.size());
  return written;
}

bool KtDescriptorBuffer::_writeAll(const char* data, std::size_t size) {
  if (_error) return false;
  while (size > 0) {
    ssize_t n = ::write(_fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      _error = n < 0 ? errno : EIO;
      return false;
    }
    data += n;
    size -= (std::size_t)n;
  }
  return true;
}
