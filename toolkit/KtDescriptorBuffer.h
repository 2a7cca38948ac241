#ifndef KT_DESCRIPTOR_BUFFER_H
#define KT_DESCRIPTOR_BUFFER_H

// A write buffer over a file descriptor that keeps the system's reason for
// the first write that failed: the streams the standard library offers
// report that something failed, not why.

#include <streambuf>
#include <vector>

// Writes its content to the descriptor when it is full and on every sync
// (a flush of its stream). The first refused write makes the stream bad
// and is remembered with its reason; nothing is written after it. The
// buffer neither owns nor closes the descriptor.
class KtDescriptorBuffer : public std::streambuf {
 public:
  explicit KtDescriptorBuffer(int fd, std::size_t size = 1 << 16);

  // The errno value of the first failed write, 0 while none failed.
  int error() const { return _error; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool _drain();
  bool _writeAll(const char* data, std::size_t size);

  int _fd;
  std::vector<char> _space;
  int _error = 0;
};

#endif
