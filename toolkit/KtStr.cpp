#include "toolkit/KtStr.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

#include "toolkit/KtChars.h"

namespace {

// Formatted pieces are cut to fit this buffer (1023 characters and the
// terminator).
constexpr int kFormatBufferSize = 1024;

[[noreturn]] void storageFailed() {
  std::fputs("Memory allocation failed\n", stderr);
  std::abort();
}

// A core with room for length characters and the terminator, refCount 0.
Kt_CoreStr* newCore(int length) {
  if (length < 0 || length > INT_MAX - 64) storageFailed();
  void* block = std::malloc(sizeof(Kt_CoreStr) + (size_t)length + 1);
  if (!block) storageFailed();
  Kt_CoreStr* core = static_cast<Kt_CoreStr*>(block);
  core->text = reinterpret_cast<char*>(core + 1);
  core->size = length + 1;
  core->refCount = 0;
  core->text[length] = '\0';
  return core;
}

Kt_CoreStr* newCore(const char* s, int n) {
  Kt_CoreStr* core = newCore(n);
  if (n > 0) std::memcpy(core->text, s, (size_t)n);
  return core;
}

// Reallocates a core that only one string uses; the terminator goes to
// newLength.
Kt_CoreStr* relengthCore(Kt_CoreStr* core, int newLength) {
  if (newLength < 0 || newLength > INT_MAX - 64) storageFailed();
  void* block = std::realloc(core, sizeof(Kt_CoreStr) + (size_t)newLength + 1);
  if (!block) storageFailed();
  core = static_cast<Kt_CoreStr*>(block);
  core->text = reinterpret_cast<char*>(core + 1);
  core->size = newLength + 1;
  core->text[newLength] = '\0';
  return core;
}

bool isDelimiter(char c, const char* delims) {
  return c != '\0' && std::strchr(delims, c) != nullptr;
}

int foldedCompare(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; i++) {
    unsigned char ca = (unsigned char)KtToUpper(a[i]);
    unsigned char cb = (unsigned char)KtToUpper(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == '\0') return 0;
  }
  return 0;
}

int clampCount(int n, int limit) {
  return n < 0 ? 0 : (n > limit ? limit : n);
}

int formatInto(char* buffer, const char* fmt, va_list args) {
  int n = std::vsnprintf(buffer, kFormatBufferSize, fmt ? fmt : "", args);
  if (n < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return n < kFormatBufferSize ? n : kFormatBufferSize - 1;
}

// The tokenizer's view of the text: start and end of the first token.
bool findToken(const char* t, int length, const char* delims, int* begin, int* end) {
  int i = 0;
  while (i < length && isDelimiter(t[i], delims)) i++;
  if (i == length) return false;
  int j = i;
  while (j < length && !isDelimiter(t[j], delims)) j++;
  *begin = i;
  *end = j;
  return true;
}

}  // namespace

// -- construction and linking --

KtStr::KtStr(const char* s) {
  if (s) _linkTo(s, (int)std::strlen(s));
}

KtStr::KtStr(const char* s, int n) {
  if (s) _linkTo(s, (int)strnlen(s, (size_t)(n < 0 ? 0 : n)));
}

KtStr::KtStr(const KtStr& other) : _core(other._core), _offset(other._offset) {
  if (_core) _core->refCount++;
}

KtStr::KtStr(KtStr&& other) noexcept : _core(other._core), _offset(other._offset) {
  other._core = nullptr;
  other._offset = 0;
}

KtStr::~KtStr() {
  _unlink();
}

KtStr& KtStr::operator=(const char* s) {
  if (s)
    _linkTo(s, (int)std::strlen(s));
  else
    _unlink();
  return *this;
}

KtStr& KtStr::operator=(const KtStr& other) {
  if (&other != this) _linkTo(other);
  return *this;
}

KtStr& KtStr::operator=(KtStr&& other) noexcept {
  if (&other != this) {
    _unlink();
    _core = other._core;
    _offset = other._offset;
    other._core = nullptr;
    other._offset = 0;
  }
  return *this;
}

void KtStr::_linkTo(const char* s, int n) {
  if (_core && s) {
    std::uintptr_t begin = (std::uintptr_t)_core->text;
    std::uintptr_t end = begin + (std::uintptr_t)(_core->size - 1);
    std::uintptr_t p = (std::uintptr_t)s;
    if (p >= begin && p <= end && p + (std::uintptr_t)n == end) {
      _offset = (int)(p - begin);  // our own tail: no copy
      return;
    }
  }
  if (!s) {
    _unlink();
    return;
  }
  Kt_CoreStr* core = newCore(s, n);  // before unlinking: s may be ours
  _unlink();
  _core = core;
  _core->refCount = 1;
  _offset = 0;
}

void KtStr::_linkTo(const KtStr& other) {
  if (other._core == _core) {
    _offset = other._offset;
    return;
  }
  if (other._core) other._core->refCount++;
  _unlink();
  _core = other._core;
  _offset = other._offset;
}

void KtStr::_unlink() {
  if (_core && --_core->refCount == 0) std::free(_core);
  _core = nullptr;
  _offset = 0;
}

void KtStr::_preMod() {
  if (!_core || _core->refCount < 2) return;
  Kt_CoreStr* core = newCore(text(), length());
  _core->refCount--;
  _core = core;
  _core->refCount = 1;
  _offset = 0;
}

// Replaces n characters at pos by sLength characters of s: the one routine
// behind every insertion, removal and replacement. The text is moved once
// and the core is sized exactly to the result.
void KtStr::_splice(int pos, int n, const char* s, int sLength) {
  int len = length();
  pos = clampCount(pos, len);
  n = clampCount(n, len - pos);
  if (sLength < 0) sLength = 0;
  if (n == 0 && sLength == 0 && _core) return;

  std::string aliased;
  if (_core && sLength > 0) {
    std::uintptr_t begin = (std::uintptr_t)_core->text;
    std::uintptr_t p = (std::uintptr_t)s;
    if (p >= begin && p < begin + (std::uintptr_t)_core->size) {
      aliased.assign(s, (size_t)sLength);
      s = aliased.data();
    }
  }
  if (!_core) {
    _core = newCore(0);
    _core->refCount = 1;
    _offset = 0;
  }
  _preMod();
  if (_offset > 0) {  // drop the dead front while the text moves anyway
    std::memmove(_core->text, _core->text + _offset, (size_t)len + 1);
    _offset = 0;
    _core = relengthCore(_core, len);
  }
  long newLength = (long)len - n + sLength;
  if (newLength > INT_MAX - 64) storageFailed();
  int tail = len - pos - n;
  if (sLength > n) {
    _core = relengthCore(_core, (int)newLength);
    std::memmove(_core->text + pos + sLength, _core->text + pos + n, (size_t)tail);
  } else if (sLength < n) {
    std::memmove(_core->text + pos + sLength, _core->text + pos + n, (size_t)tail);
    _core = relengthCore(_core, (int)newLength);
  }
  if (sLength > 0) std::memcpy(_core->text + pos, s, (size_t)sLength);
}

char* KtStr::textDup() const {
  int len = length();
  char* copy = new char[(size_t)len + 1];
  std::memcpy(copy, text(), (size_t)len);
  copy[len] = '\0';
  return copy;
}

// -- in-place modifications --

void KtStr::setChar(int i, char c) {
  if (!_core) return;
  _preMod();
  _core->text[_offset + i] = c;
}

KtStr& KtStr::upper() {
  if (!_core) return *this;
  _preMod();
  char* t = _core->text + _offset;
  for (int i = 0, n = length(); i < n; i++) t[i] = KtToUpper(t[i]);
  return *this;
}

KtStr& KtStr::lower() {
  if (!_core) return *this;
  _preMod();
  char* t = _core->text + _offset;
  for (int i = 0, n = length(); i < n; i++) t[i] = KtToLower(t[i]);
  return *this;
}

KtStr& KtStr::trimLeft() {
  const char* t = text();
  int n = 0, len = length();
  while (n < len && KtIsSpace(t[n])) n++;
  return remove(0, n);
}

KtStr& KtStr::trimRight() {
  const char* t = text();
  int len = length(), end = len;
  while (end > 0 && KtIsSpace(t[end - 1])) end--;
  return remove(end, len - end);
}

KtStr& KtStr::squeeze() {
  const char* t = text();
  int len = length();
  int first = 0;
  while (first < len && !KtIsSpace(t[first])) first++;
  if (first == len) return *this;
  std::string kept(t, (size_t)first);
  for (int i = first; i < len; i++)
    if (!KtIsSpace(t[i])) kept.push_back(t[i]);
  _linkTo(kept.data(), (int)kept.size());
  return *this;
}

KtStr& KtStr::remove(int pos, int n) {
  int len = length();
  pos = clampCount(pos, len);
  n = clampCount(n, len - pos);
  if (n == 0) return *this;
  // Front removal only moves the offset while the core is shared or less
  // than half of it is dead.
  if (pos == 0 && (_core->refCount >= 2 || _offset + n < (_core->size - 1) / 2)) {
    _offset += n;
    return *this;
  }
  _splice(pos, n, "", 0);
  return *this;
}

KtStr& KtStr::remove(const char* s) {
  int pos;
  if (s && *s && contains(s, &pos)) remove(pos, (int)std::strlen(s));
  return *this;
}

KtStr& KtStr::insert(int pos, const char* s) {
  if (s && *s) _splice(pos, 0, s, (int)std::strlen(s));
  return *this;
}

KtStr& KtStr::replace(int pos, int n, const char* s) {
  _splice(pos, n, s ? s : "", s ? (int)std::strlen(s) : 0);
  return *this;
}

KtStr& KtStr::replace(const char* oldText, const char* newText) {
  int pos;
  if (oldText && *oldText && contains(oldText, &pos))
    replace(pos, (int)std::strlen(oldText), newText);
  return *this;
}

KtStr& KtStr::replaceAll(const char* oldText, const char* newText) {
  if (!oldText || !*oldText || !contains(oldText)) return *this;
  if (!newText) newText = "";
  // One pass over the original: every match is replaced and the search
  // goes on behind it, so inserted text is never matched again.
  size_t oldLength = std::strlen(oldText);
  const char* t = text();
  const char* end = t + length();
  std::string result;
  result.reserve((size_t)length());
  const char* p = t;
  while (const char* hit = std::strstr(p, oldText)) {
    if (hit >= end) break;
    result.append(p, (size_t)(hit - p));
    result.append(newText);
    p = hit + oldLength;
  }
  result.append(p, (size_t)(end - p));
  _linkTo(result.data(), (int)result.size());
  return *this;
}

KtStr& KtStr::lengthTo(int n) {
  if (n < 0) n = 0;
  int len = length();
  if (n < len) {
    _splice(n, len - n, "", 0);
  } else if (n > len || !_core) {
    padRight(n - len, ' ');
    if (!_core) _splice(0, 0, "", 0);
  }
  return *this;
}

KtStr& KtStr::padLeft(int n, char c) {
  if (n < 1) return *this;
  std::string pad((size_t)n, c);
  _splice(0, 0, pad.data(), n);
  return *this;
}

KtStr& KtStr::padRight(int n, char c) {
  if (n < 1) return *this;
  std::string pad((size_t)n, c);
  _splice(length(), 0, pad.data(), n);
  return *this;
}

// -- new strings from parts --

KtStr KtStr::left(int n) const {
  KtStr copy(*this);
  copy.lengthTo(n);
  return copy;
}

KtStr KtStr::notLeft(int n) const {
  return right(length() - n);
}

KtStr KtStr::right(int n) const {
  if (n < 1) return KtStr("");
  KtStr suffix(*this);
  int len = length();
  if (n < len) suffix._offset += len - n;  // shares the core
  return suffix;
}

KtStr KtStr::notRight(int n) const {
  return left(length() - n);
}

KtStr KtStr::mid(int pos, int n) const {
  if (n < 1) return *this;
  KtStr part = notLeft(pos);
  part.lengthTo(n);
  return part;
}

KtStr KtStr::notMid(int pos, int n) const {
  KtStr copy(*this);
  copy.remove(pos, n);
  return copy;
}

// -- appending --

void KtStr::_vcat(const char* fmt, va_list args) {
  char buffer[kFormatBufferSize];
  int n = formatInto(buffer, fmt, args);
  _splice(length(), 0, buffer, n);
}

KtStr& KtStr::setF(const char* fmt, ...) {
  char buffer[kFormatBufferSize];
  va_list args;
  va_start(args, fmt);
  int n = formatInto(buffer, fmt, args);
  va_end(args);
  _linkTo(buffer, n);
  return *this;
}

KtStr& KtStr::catF(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  _vcat(fmt, args);
  va_end(args);
  return *this;
}

KtStr& KtStr::catN(const char* s, int n) {
  if (n < 1) return *this;
  int k = s ? (int)strnlen(s, (size_t)n) : 0;
  std::string piece(s ? s : "", (size_t)k);
  piece.append((size_t)(n - k), ' ');
  _splice(length(), 0, piece.data(), n);
  return *this;
}

KtStr& KtStr::append(const char* s, int n) {
  _splice(length(), 0, s, s ? n : 0);
  return *this;
}

KtStr& KtStr::operator+=(const char* s) {
  _splice(length(), 0, s, s ? (int)std::strlen(s) : 0);
  return *this;
}

KtStr& KtStr::operator+=(const KtStr& s) {
  KtStr keep(s);  // s may be this string
  _splice(length(), 0, keep.text(), keep.length());
  return *this;
}

KtStr& KtStr::operator+=(char c) {
  _splice(length(), 0, &c, 1);
  return *this;
}

KtStr KtStr::operator+(const char* s) const {
  KtStr sum(*this);
  sum += s;
  return sum;
}

KtStr KtStr::operator+(const KtStr& s) const {
  KtStr sum(*this);
  sum += s;
  return sum;
}

KtStr operator+(const char* a, const KtStr& b) {
  KtStr sum(a ? a : "");
  sum += b;
  return sum;
}

// -- searching --

bool KtStr::contains(const char* s, int* pos) const {
  if (!s) return false;
  const char* t = text();
  const char* hit = std::strstr(t, s);
  if (!hit) return false;
  if (pos) *pos = (int)(hit - t);
  return true;
}

bool KtStr::contains(char c, int* pos) const {
  const char* t = text();
  const void* hit = std::memchr(t, c, (size_t)length());
  if (!hit) return false;
  if (pos) *pos = (int)(static_cast<const char*>(hit) - t);
  return true;
}

bool KtStr::findNth(char c, int n, int* pos) const {
  if (n < 1) return false;
  const char* t = text();
  for (int i = 0, len = length(); i < len; i++) {
    if (t[i] == c && --n == 0) {
      if (pos) *pos = i;
      return true;
    }
  }
  return false;
}

bool KtStr::findLast(char c, int* pos) const {
  const char* t = text();
  for (int i = length() - 1; i >= 0; i--) {
    if (t[i] == c) {
      if (pos) *pos = i;
      return true;
    }
  }
  return false;
}

int KtStr::matchCount(char c) const {
  const char* t = text();
  int count = 0;
  for (int i = 0, len = length(); i < len; i++)
    if (t[i] == c) count++;
  return count;
}

// -- comparison --

int KtStr::cmp(const char* s) const {
  return std::strcmp(text(), s ? s : "");
}

int KtStr::nCmp(const char* s, int n) const {
  return n < 1 ? 0 : std::strncmp(text(), s ? s : "", (size_t)n);
}

int KtStr::nCmp(const char* s) const {
  return nCmp(s, s ? (int)std::strlen(s) : 0);
}

int KtStr::iNCmp(const char* s, int n) const {
  return n < 1 ? 0 : foldedCompare(text(), s ? s : "", (size_t)n);
}

int KtStr::iNCmp(const char* s) const {
  return iNCmp(s, s ? (int)std::strlen(s) : 0);
}

int KtStr::iCmp(const char* s) const {
  if (!s) s = "";
  size_t n = std::strlen(s);
  if ((size_t)length() > n) n = (size_t)length();
  return foldedCompare(text(), s, n + 1);
}

bool operator==(const KtStr& a, const KtStr& b) {
  if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
  return a.length() == b.length() && std::memcmp(a.text(), b.text(), (size_t)a.length()) == 0;
}
bool operator==(const KtStr& a, const char* b) {
  if (!b || a.isNull()) return !b && a.isNull();
  return std::strcmp(a.text(), b) == 0;
}
bool operator==(const char* a, const KtStr& b) {
  return b == a;
}
bool operator==(const KtStr& a, std::nullptr_t) {
  return a.isNull();
}
bool operator!=(const KtStr& a, const KtStr& b) {
  return !(a == b);
}
bool operator!=(const KtStr& a, const char* b) {
  return !(a == b);
}
bool operator!=(const char* a, const KtStr& b) {
  return !(b == a);
}
bool operator!=(const KtStr& a, std::nullptr_t) {
  return !a.isNull();
}

bool operator<(const KtStr& a, const KtStr& b) {
  return a.cmp(b.text()) < 0;
}
bool operator<(const KtStr& a, const char* b) {
  return a.cmp(b) < 0;
}
bool operator<(const char* a, const KtStr& b) {
  return b.cmp(a) > 0;
}
bool operator<=(const KtStr& a, const KtStr& b) {
  return a.cmp(b.text()) <= 0;
}
bool operator<=(const KtStr& a, const char* b) {
  return a.cmp(b) <= 0;
}
bool operator<=(const char* a, const KtStr& b) {
  return b.cmp(a) >= 0;
}
bool operator>(const KtStr& a, const KtStr& b) {
  return a.cmp(b.text()) > 0;
}
bool operator>(const KtStr& a, const char* b) {
  return a.cmp(b) > 0;
}
bool operator>(const char* a, const KtStr& b) {
  return b.cmp(a) < 0;
}
bool operator>=(const KtStr& a, const KtStr& b) {
  return a.cmp(b.text()) >= 0;
}
bool operator>=(const KtStr& a, const char* b) {
  return a.cmp(b) >= 0;
}
bool operator>=(const char* a, const KtStr& b) {
  return b.cmp(a) <= 0;
}

// -- tokens --

KtStr KtStr::firstToken(const char* delims) const {
  int begin, end;
  if (!findToken(text(), length(), delims ? delims : "", &begin, &end)) return KtStr();
  return KtStr(text() + begin, end - begin);
}

KtStr KtStr::extractFirstToken(const char* delims) {
  int begin, end;
  int len = length();
  if (!findToken(text(), len, delims ? delims : "", &begin, &end)) {
    _unlink();  // nothing but delimiters: all of it is consumed
    return KtStr();
  }
  KtStr token(text() + begin, end - begin);
  if (end == len)
    _unlink();
  else
    remove(0, end + 1);
  return token;
}

// -- numeric conversions --

int KtStr::doubleValue(double* out) const {
  const char* t = text();
  const char* end = t + length();
  // The fast path takes plain decimal text; anything else (blanks, a sign
  // '+', hexadecimal, overflow) goes through strtod for its exact rules.
  if (t != end && *t != '+' && !KtIsSpace(*t)) {
    double v;
    std::from_chars_result r = std::from_chars(t, end, v);
    // strtod reports subnormal results as range errors; so does the slow path.
    if (r.ec == std::errc() && r.ptr == end && (v == 0 || std::fabs(v) >= DBL_MIN)) {
      *out = v;
      return 1;
    }
  }
  char* stop;
  errno = 0;
  double v = std::strtod(t, &stop);
  bool range = errno == ERANGE;
  *out = v;
  return stop == end && !range;
}

int KtStr::floatValue(float* out) const {
  double v = 0;
  int ok = doubleValue(&v);
  *out = (float)v;
  return ok;
}

int KtStr::longValue(long* out) const {
  const char* t = text();
  const char* end = t + length();
  if (t != end && *t != '+' && !KtIsSpace(*t)) {
    long v;
    std::from_chars_result r = std::from_chars(t, end, v, 10);
    if (r.ec == std::errc() && r.ptr == end) {
      *out = v;
      return 1;
    }
  }
  char* stop;
  errno = 0;
  long v = std::strtol(t, &stop, 10);
  bool range = errno == ERANGE;
  *out = v;
  return stop == end && !range;
}

int KtStr::intValue(int* out) const {
  long v = 0;
  int ok = longValue(&v);
  *out = (int)v;
  // A number outside int is not a valid int, even though it is a long.
  return ok && v >= INT_MIN && v <= INT_MAX;
}

int KtStr::unsignedLongValue(unsigned long* out) const {
  const char* t = text();
  const char* end = t + length();
  char* stop;
  errno = 0;
  unsigned long v = std::strtoul(t, &stop, 10);
  bool range = errno == ERANGE;
  *out = v;
  // strtoul quietly wraps a negative number around; it is no unsigned one.
  const char* p = t;
  while (p != end && KtIsSpace(*p)) p++;
  bool negative = p != end && *p == '-';
  return stop == end && !range && !negative;
}

int KtStr::booleanValue(int* out) const {
  int n;
  if (intValue(&n)) {
    *out = n;
    return n == 0 || n == 1;
  }
  static const char* const kTrue[] = {"TRUE", "ON", "YES"};
  static const char* const kFalse[] = {"FALSE", "OFF", "NO"};
  for (const char* word : kTrue) {
    if (iCmp(word) == 0) {
      *out = 1;
      return 1;
    }
  }
  for (const char* word : kFalse) {
    if (iCmp(word) == 0) {
      *out = 0;
      return 1;
    }
  }
  return 0;
}

// -- stream input and output --

std::istream& KtStr::scanFrom(std::istream& in) {
  std::streambuf* sb = in.rdbuf();
  if (in.fail() || !sb) return in;
  if (in.tie()) in.tie()->flush();  // a prompt written before the read shows
  int c = sb->sgetc();
  while (c != EOF && KtIsSpace(c)) c = sb->snextc();
  // A word is collected whole and assigned once: appending 255-character
  // chunks to an exactly sized core would copy a long word over and over.
  std::string word;
  while (c != EOF && !KtIsSpace(c)) {
    word.push_back((char)c);
    c = sb->snextc();
  }
  if (word.empty()) {
    *this = "";
    in.setstate(std::ios::eofbit | std::ios::failbit);
    return in;
  }
  // A word that ends at the end of input is a good word: the stream stays
  // good, and the next read fails.
  _linkTo(word.data(), (int)word.size());
  return in;
}

std::istream& KtStr::scanFrom(std::istream& in, int n, char delim) {
  std::streambuf* sb = in.rdbuf();
  if (in.fail() || !sb) return in;
  if (in.tie()) in.tie()->flush();
  std::string piece;
  int c = sb->sgetc();
  while ((int)piece.size() < n - 1 && c != EOF && c != (unsigned char)delim) {
    piece.push_back((char)c);
    c = sb->snextc();
  }
  std::ios::iostate state = std::ios::goodbit;
  if (c == EOF) state |= std::ios::eofbit;
  if (piece.empty()) state |= std::ios::failbit;
  _linkTo(piece.data(), (int)piece.size());
  if (state != std::ios::goodbit) in.setstate(state);
  return in;
}

std::istream& KtStr::scanLine(std::istream& in) {
  if (in.fail() || !in.rdbuf()) {
    _unlink();
    return in;
  }
  // The whole line is assigned at once however long it is.
  std::string line;
  std::getline(in, line);
  if (in.fail()) {  // nothing left: no line
    _unlink();
    return in;
  }
  // A last line without a newline is a good line.
  if (in.eof()) in.clear(in.rdstate() & ~std::ios::eofbit);
  _linkTo(line.data(), (int)line.size());
  return in;
}

std::ostream& KtStr::printOn(std::ostream& out) const {
  return out.write(text(), length());
}

std::istream& operator>>(std::istream& in, KtStr& s) {
  return s.scanFrom(in);
}

std::ostream& operator<<(std::ostream& out, const KtStr& s) {
  // Through the stream's string insertion so that width and fill apply.
  return out << s.text();
}
