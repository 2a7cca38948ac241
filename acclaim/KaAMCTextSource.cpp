#include "acclaim/KaAMCTextSource.h"

#include <cctype>
#include <cstring>
#include <istream>

#include "toolkit/KtChars.h"

namespace {

// Large enough that a take of many megabytes is read in a few hundred
// blocks; lines longer than this grow the buffer.
const std::size_t blockSize = 1 << 18;

}  // namespace

KaAMCTextSource::KaAMCTextSource(std::istream& in, ReadAhead readAhead)
    : _in(in), _readAhead(readAhead) {}

KaAMCTextSource::~KaAMCTextSource() {
  finish();
}

KaAMCTextSource::ReadAhead KaAMCTextSource::readAheadFor(std::istream& in) {
  if (!in.good()) return Blocks;
  std::streambuf* buf = in.rdbuf();
  if (!buf) return Blocks;
  std::streampos here = buf->pubseekoff(0, std::ios::cur, std::ios::in);
  return here == std::streampos(std::streamoff(-1)) ? Exact : Blocks;
}

bool KaAMCTextSource::skipWhiteSpace() {
  for (;;) {
    for (; _pos < _end && KtIsSpace(_buffer[_pos]); _pos++)
      if (_buffer[_pos] == '\n') _line++;
    if (_pos < _end) return true;
    if (!_refill()) return false;
  }
}

bool KaAMCTextSource::scanWord(std::size_t* length) {
  std::size_t n = 0;
  while (_ensure(n) && !KtIsSpace(_buffer[_pos + n])) n++;
  *length = n;
  return !_failed;
}

bool KaAMCTextSource::scanInteger(std::size_t* length) {
  std::size_t n = 0;
  if (_ensure(0) && (_buffer[_pos] == '+' || _buffer[_pos] == '-')) n++;
  while (_ensure(n) && std::isdigit(static_cast<unsigned char>(_buffer[_pos + n]))) n++;
  *length = n;
  return !_failed;
}

bool KaAMCTextSource::scanLine(std::size_t* length) {
  std::size_t searched = 0;
  for (;;) {
    std::size_t left = _end - _pos - searched;
    const void* nl = left ? std::memchr(cursor() + searched, '\n', left) : nullptr;
    if (nl) {
      *length = static_cast<const char*>(nl) - cursor();
      return true;
    }
    searched = _end - _pos;
    if (!_refill()) {
      *length = searched;
      return !_failed;
    }
  }
}

bool KaAMCTextSource::atEnd() {
  return !_ensure(0);
}

// True when the character n places after the cursor is buffered, reading
// more text as needed.
bool KaAMCTextSource::_ensure(std::size_t n) {
  while (_pos + n >= _end) {
    if (!_refill()) return false;
  }
  return true;
}

// Reads more text behind what is buffered, first moving the unconsumed text
// to the front of the buffer and growing it when it is full. False when
// nothing more could be read.
bool KaAMCTextSource::_refill() {
  if (_inputEnded) return false;
  std::size_t kept = _end - _pos;
  if (_pos > 0) {
    std::memmove(_buffer.get(), _buffer.get() + _pos, kept);
    _pos = 0;
    _end = kept;
  }
  std::size_t want = _readAhead == Exact ? 1 : blockSize;
  if (_capacity - _end < want) {
    std::size_t capacity = _capacity ? _capacity : blockSize;
    while (capacity - _end < want) capacity *= 2;
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (_end) std::memcpy(grown.get(), _buffer.get(), _end);
    _buffer = std::move(grown);
    _capacity = capacity;
  }
  _in.read(_buffer.get() + _end, static_cast<std::streamsize>(want));
  std::size_t got = static_cast<std::size_t>(_in.gcount());
  _noteTail(_buffer.get() + _end, got);
  _end += got;
  if (_in.bad()) _failed = true;
  if (_in.bad() || _in.eof() || got == 0) _inputEnded = true;
  return got > 0;
}

// Follows whether the text after the last line end read holds anything but
// white space; only the block's own last line is looked at.
void KaAMCTextSource::_noteTail(const char* text, std::size_t n) {
  std::size_t i = n;
  while (i > 0 && text[i - 1] != '\n') i--;
  if (i > 0) _tailHasText = false;
  for (; i < n && !_tailHasText; i++) _tailHasText = !KtIsSpace(text[i]);
}

void KaAMCTextSource::finish() {
  if (_finished) return;
  _finished = true;
  if (_failed) return;
  std::size_t unread = _end - _pos;
  if (unread == 0) {
    // At the end of the input the stream reports its end, not a failure.
    if (_inputEnded) _in.clear(std::ios::eofbit);
    return;
  }
  _in.clear();
  if (_readAhead == Exact) {
    _in.unget();
  } else {
    _in.seekg(-static_cast<std::streamoff>(unread), std::ios::cur);
  }
  // A stream that cannot go back simply stays where it is.
  if (_in.fail() && !_in.bad()) _in.clear();
}
