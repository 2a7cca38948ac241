#include "acclaim/KaASFTokenizer.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "toolkit/KtByteOrderMark.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

const char* const ASFTokenizer::EOLToken = "\n";
const char* const ASFTokenizer::EndOfSectionToken = "\001";

namespace {

const int kEOF = std::char_traits<char>::eof();

// White space other than the line end, vertical tab and form feed included
// (they end a word, and a reader that met one without consuming it would
// never get past it), and the punctuation read as blanks.
bool isSkippedBlank(int c) {
  return (KtIsSpace(c) && c != '\n') || c == '(' || c == ')' || c == ',';
}

bool endsWord(int c) {
  return KtIsSpace(c) || c == '#' || c == '(' || c == ')' || c == ',' || c == '<' || c == '>';
}

}  // namespace

ASFTokenizer::ASFTokenizer(std::istream& source) : std::istream(source.rdbuf()) {}

bool ASFTokenizer::isEOLToken(const char* token) {
  return token[0] == '\n' && token[1] == '\0';
}

bool ASFTokenizer::isEndOfSectionToken(const char* token) {
  return token[0] == '\001' && token[1] == '\0';
}

bool ASFTokenizer::_skipWhiteSpace() {
  std::streambuf* buf = rdbuf();
  bool passedLineEnd = false;
  if (!buf) {
    setstate(std::ios::eofbit | std::ios::failbit);
    return false;
  }
  for (;;) {
    int c = buf->sgetc();
    while (isSkippedBlank(c)) c = buf->snextc();
    if (c == kEOF) {
      setstate(std::ios::eofbit);
      return passedLineEnd;
    }
    if (c == '\n') {
      buf->sbumpc();
      _line++;
      passedLineEnd = true;
    } else if (c == '#') {
      // A comment runs to the end of its line, however long it is.
      do {
        c = buf->snextc();
      } while (c != kEOF && c != '\n');
      if (c == '\n') buf->sbumpc();
      _line++;
      passedLineEnd = true;
    } else {
      return passedLineEnd;
    }
  }
}

void ASFTokenizer::_readIdentifier(char* buffer, int length) {
  std::streambuf* buf = rdbuf();
  int c = buf ? buf->sgetc() : kEOF;
  int n = 0;
  if (c == kEOF) {
    setstate(std::ios::eofbit | std::ios::failbit);
    _atEnd = true;
  } else if (c == '<' || c == '>') {
    buf->sbumpc();
    if (n < length - 1) buffer[n++] = (char)c;
  } else {
    while (c != kEOF && !endsWord(c) && n < length - 1) {
      buffer[n++] = (char)c;
      c = buf->snextc();
    }
    if (c == kEOF) setstate(std::ios::eofbit);
  }
  if (length > 0) buffer[n] = '\0';
}

void ASFTokenizer::getNextToken(char* buffer, int length) {
  if (_pushedBack) {
    _pushedBack = false;
    if (length <= 0) return;
    std::size_t n = _last.size() < std::size_t(length) ? _last.size() : std::size_t(length) - 1;
    std::memcpy(buffer, _last.data(), n);
    buffer[n] = '\0';
    // _atEnd is still what the pushed-back read left.
    return;
  }
  _readToken(buffer, length);
  if (length > 0) _last.assign(buffer);
}

void ASFTokenizer::_readToken(char* buffer, int length) {
  _atEnd = false;
  if (_atStart) {
    _atStart = false;
    KtSkipByteOrderMark(rdbuf());
  }
  if (_skipWhiteSpace()) {
    bool wasAtLineStart = _atLineStart;
    _atLineStart = true;
    if (!wasAtLineStart) {
      buffer[0] = '\n';
      buffer[1] = '\0';
      return;
    }
  }
  if (_atLineStart && rdbuf() && rdbuf()->sgetc() == ':') {
    if (_sectionOpen) {
      buffer[0] = '\001';
      buffer[1] = '\0';
      _sectionOpen = false;
      return;
    }
    _sectionOpen = true;
  }
  _readIdentifier(buffer, length);
  _atLineStart = false;
}

void ASFTokenizer::getNextNonEOLToken(char* buffer, int length) {
  do {
    getNextToken(buffer, length);
  } while (isEOLToken(buffer));
}

float readASFFloat(const char* text) {
  char* end = nullptr;
  float value = std::strtof(text, &end);
  if (end == text) {
    KtError("Invalid number.");
    return 0;
  }
  return value;
}

float readASFFiniteFloat(const char* text) {
  char* end = nullptr;
  float value = std::strtof(text, &end);
  if (end == text) {
    KtError("Invalid number.");
    return 0;
  }
  if (!std::isfinite(value)) {
    KtError("Number '%s' is not finite.", text);
    return 0;
  }
  return value;
}

bool checkASFScaledValue(const char* text, float value) {
  if (std::isfinite(value)) return true;
  KtError("Number '%s' is not finite after conversion by the length factor.", text);
  return false;
}

int readASFInt(const char* text) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (end == text) {
    KtError("Invalid number.");
    return 0;
  }
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return (int)value;
}

bool convertASFLimit(const char* text, float* value) {
  if (KtEqualNoCase(text, "-INF")) {
    *value = -FLT_MAX;
    return true;
  }
  if (KtEqualNoCase(text, "INF")) {
    *value = FLT_MAX;
    return true;
  }
  char* end = nullptr;
  *value = std::strtof(text, &end);
  if (end == text) *value = 0;
  return end != text;
}

float readASFLimit(const char* text) {
  float value = 0;
  if (!convertASFLimit(text, &value)) KtError("Invalid number.");
  return value;
}

void addLineNumber(const ASFTokenizer& tokenizer) {
  KtExcept* record = theExceptObj.exception();
  if (!record) return;
  KtStr text;
  text.setF("Line %d:  ", tokenizer.line());
  text += record->message();
  record->setMessage(text);
}
