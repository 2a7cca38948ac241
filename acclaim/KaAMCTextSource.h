#ifndef KA_AMC_TEXT_SOURCE_H
#define KA_AMC_TEXT_SOURCE_H

#include <cstddef>
#include <iosfwd>
#include <memory>

// The AMC frame reader's view of its input stream. The stream is read in
// large blocks into one buffer and the reader looks at the text through a
// cursor into it; a word or line it scans is complete in the buffer however
// long it is (the buffer grows to hold it). Text seen through cursor()
// stays valid until the next skip or scan, consume() included.
//
// When the source is finished, text that was read ahead but not consumed is
// given back, so the stream stands right after the consumed text. With
// Exact read-ahead the stream is read one character at a time, for streams
// that cannot seek back (pipes) where the position matters; at most the one
// character looked at is then given back.
class KaAMCTextSource {
 public:
  enum ReadAhead { Blocks, Exact };

  KaAMCTextSource(std::istream& in, ReadAhead readAhead);
  ~KaAMCTextSource();
  KaAMCTextSource(const KaAMCTextSource&) = delete;
  KaAMCTextSource& operator=(const KaAMCTextSource&) = delete;

  // Blocks unless the stream cannot seek back, else Exact.
  static ReadAhead readAheadFor(std::istream& in);

  // Consumes white space, across lines. True when a character follows.
  bool skipWhiteSpace();
  // The length of the run of non-white-space characters at the cursor; the
  // character after it (if any) is buffered too. False if the stream failed.
  bool scanWord(std::size_t* length);
  // The length of the integer at the cursor: a sign, then decimal digits.
  // The character after it (if any) is buffered too.
  bool scanInteger(std::size_t* length);
  // The length of the text from the cursor to the next line end (or to the
  // end of the input). False if the stream failed.
  bool scanLine(std::size_t* length);

  const char* cursor() const { return _buffer.get() + _pos; }
  std::size_t buffered() const { return _end - _pos; }
  // Consumes n characters that hold no line end.
  void consume(std::size_t n) { _pos += n; }
  // Consumes n characters of which the last is a line end.
  void consumeLine(std::size_t n) {
    _pos += n;
    _line++;
  }

  // The number of the line the cursor stands on, counting from firstLine
  // for the stream's position when the source was made. Only the line ends
  // that skipWhiteSpace and consumeLine pass are counted, so the scans pay
  // nothing for it.
  int line() const { return _line; }
  void setFirstLine(int firstLine) { _line = firstLine; }

  // No character is left: the input has ended (or failed) and all buffered
  // text is consumed.
  bool atEnd();
  bool failed() const { return _failed; }
  // The text read so far has a character other than white space after its
  // last line end: read to its end, the input's last line lacks its line
  // break (a file cut short, perhaps).
  bool lastLineUnended() const { return _tailHasText; }

  // Gives back the text read ahead; called by the destructor.
  void finish();

 private:
  bool _ensure(std::size_t n);
  bool _refill();
  void _noteTail(const char* text, std::size_t n);

  std::istream& _in;
  ReadAhead _readAhead;
  std::unique_ptr<char[]> _buffer;
  std::size_t _capacity = 0;
  std::size_t _pos = 0;
  std::size_t _end = 0;
  int _line = 1;
  bool _inputEnded = false;
  bool _tailHasText = false;
  bool _failed = false;
  bool _finished = false;
};

#endif
