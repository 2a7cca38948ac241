#ifndef KT_STR_H
#define KT_STR_H

#include <cstdarg>
#include <cstddef>
#include <iosfwd>

#if defined(__GNUC__)
#define KT_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KT_PRINTF_FORMAT(fmt, args)
#endif

// The shared character buffer behind one or more KtStr. The header and the
// characters live in one heap block; text points just behind the header.
// size counts the bytes of text including the terminating zero byte.
struct Kt_CoreStr {
  char* text;
  int size;
  int refCount;
};

// The library's string: a reference-counted, copy-on-write view of a
// Kt_CoreStr from an offset on. Copies and suffixes (right(), assigning a
// string's own tail) share the buffer; removal at the front only moves the
// offset until half of the buffer is dead, so peeling tokens off a line is
// cheap.
//
// The null string (no core) differs from "" for ==, != and == nullptr; every
// reading operation treats it as empty (length 0, text "").
class KtStr {
 public:
  KtStr() = default;
  KtStr(const char* s);
  KtStr(const char* s, int n);
  KtStr(const KtStr& other);
  KtStr(KtStr&& other) noexcept;
  ~KtStr();

  KtStr& operator=(const char* s);
  KtStr& operator=(const KtStr& other);
  KtStr& operator=(KtStr&& other) noexcept;

  // Characters, never a null pointer ("" for the null string).
  const char* text() const { return _core ? _core->text + _offset : ""; }
  operator const char*() const { return text(); }
  // A heap copy (new[]) that the caller owns and delete[]s.
  char* textDup() const;
  int length() const { return _core ? _core->size - 1 - _offset : 0; }
  int size() const { return length() + 1; }
  bool isNull() const { return _core == nullptr; }
  bool isEmpty() const { return length() == 0; }

  char operator[](int i) const { return text()[i]; }
  char operator[](long i) const { return text()[i]; }
  char operator[](unsigned i) const { return text()[i]; }
  char operator[](unsigned long i) const { return text()[i]; }
  void setChar(int i, char c);

  KtStr& upper();
  KtStr& lower();
  KtStr& trimLeft();
  KtStr& trimRight();
  KtStr& squeeze();

  bool contains(const char* s, int* pos = nullptr) const;
  bool contains(char c, int* pos = nullptr) const;
  bool findNth(char c, int n, int* pos = nullptr) const;
  bool findLast(char c, int* pos = nullptr) const;
  int matchCount(char c) const;

  KtStr& remove(int pos, int n);
  KtStr& remove(const char* s);
  KtStr& insert(int pos, const char* s);
  KtStr& replace(int pos, int n, const char* s);
  KtStr& replace(const char* oldText, const char* newText);
  KtStr& replaceAll(const char* oldText, const char* newText);
  KtStr& lengthTo(int n);
  KtStr& padLeft(int n, char c = ' ');
  KtStr& padRight(int n, char c = ' ');

  KtStr left(int n) const;
  KtStr notLeft(int n) const;
  KtStr right(int n) const;
  KtStr notRight(int n) const;
  KtStr mid(int pos, int n) const;
  KtStr notMid(int pos, int n) const;

  // One formatted piece is limited to 1023 characters (cut there).
  KtStr& setF(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);
  KtStr& catF(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);
  // Appends exactly n characters: s truncated or blank-padded to n.
  KtStr& catN(const char* s, int n);
  // Appends any n bytes (no padding, no search for a terminator).
  KtStr& append(const char* s, int n);
  KtStr& operator+=(const char* s);
  KtStr& operator+=(const KtStr& s);
  KtStr& operator+=(char c);
  KtStr operator+(const char* s) const;
  KtStr operator+(const KtStr& s) const;

  int cmp(const char* s) const;
  int nCmp(const char* s, int n) const;
  int nCmp(const char* s) const;
  int iNCmp(const char* s, int n) const;
  int iNCmp(const char* s) const;
  int iCmp(const char* s) const;

  // Tokens: leading delimiters are skipped; the token runs to the next
  // delimiter. No token gives the null string. extractFirstToken also
  // removes the leading delimiters, the token and one following delimiter;
  // a token that ends the text leaves the null string behind.
  KtStr firstToken(const char* delims) const;
  KtStr extractFirstToken(const char* delims);

  // Strict decimal conversions: 1 when the whole text converted without
  // overflow, else 0 (the partial value is still stored).
  int doubleValue(double* out) const;
  int floatValue(float* out) const;
  int longValue(long* out) const;
  int intValue(int* out) const;
  int unsignedLongValue(unsigned long* out) const;
  int booleanValue(int* out) const;

  // One white-space-delimited word of any length.
  std::istream& scanFrom(std::istream& in);
  // At most n - 1 characters, stopping before delim (left in the stream).
  std::istream& scanFrom(std::istream& in, int n, char delim);
  // One whole line of any length; the newline is consumed, not stored. At
  // end of input with nothing read the string becomes null.
  std::istream& scanLine(std::istream& in);
  std::ostream& printOn(std::ostream& out) const;

 private:
  void _linkTo(const char* s, int n);
  void _linkTo(const KtStr& other);
  void _unlink();
  void _preMod();
  void _resizeCore(int newLength);
  void _splice(int pos, int n, const char* s, int sLength);
  void _vcat(const char* fmt, va_list args);

  Kt_CoreStr* _core = nullptr;
  int _offset = 0;
};

bool operator==(const KtStr& a, const KtStr& b);
bool operator==(const KtStr& a, const char* b);
bool operator==(const char* a, const KtStr& b);
bool operator==(const KtStr& a, std::nullptr_t);
bool operator!=(const KtStr& a, const KtStr& b);
bool operator!=(const KtStr& a, const char* b);
bool operator!=(const char* a, const KtStr& b);
bool operator!=(const KtStr& a, std::nullptr_t);

bool operator<(const KtStr& a, const KtStr& b);
bool operator<(const KtStr& a, const char* b);
bool operator<(const char* a, const KtStr& b);
bool operator<=(const KtStr& a, const KtStr& b);
bool operator<=(const KtStr& a, const char* b);
bool operator<=(const char* a, const KtStr& b);
bool operator>(const KtStr& a, const KtStr& b);
bool operator>(const KtStr& a, const char* b);
bool operator>(const char* a, const KtStr& b);
bool operator>=(const KtStr& a, const KtStr& b);
bool operator>=(const KtStr& a, const char* b);
bool operator>=(const char* a, const KtStr& b);

KtStr operator+(const char* a, const KtStr& b);

std::istream& operator>>(std::istream& in, KtStr& s);
std::ostream& operator<<(std::ostream& out, const KtStr& s);

#endif
