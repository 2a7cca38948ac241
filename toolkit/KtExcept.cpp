#include "toolkit/KtExcept.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

// Every recorded message is formatted into a buffer of this size, so a
// message holds at most 1023 characters.
constexpr int kMessageBufferSize = 1024;

constexpr int kWrapWidth = 70;
constexpr int kWrapTabWidth = 8;
const char* const kErrorPrefix = "ERROR: ";
const char* const kWarningPrefix = "WARNING: ";
const char* const kErrorIndent = "       ";
const char* const kWarningIndent = "         ";

KtStr formatMessage(const char* fmt, va_list args) {
  char buffer[kMessageBufferSize];
  int n = std::vsnprintf(buffer, sizeof buffer, fmt ? fmt : "", args);
  if (n < 0) n = 0;
  if (n >= kMessageBufferSize) n = kMessageBufferSize - 1;
  return KtStr(buffer, n);
}

// The wrapped message with every line after the first indented.
void writeWrapped(std::ostream& out, const KtStr& message, const char* indent) {
  KtStr wrapped = KtWrapString(message, kWrapWidth, kWrapTabWidth);
  const char* t = wrapped.text();
  const char* end = t + wrapped.length();
  for (const char* p = t; p != end; p++) {
    if (*p == '\n') {
      out.write(t, p - t + 1);
      out << indent;
      t = p + 1;
    }
  }
  out.write(t, end - t);
}

bool isBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

// -- KtExcept --

KtExcept::KtExcept(int kind, const KtStr& message, KtExcept* detail)
    : _kind(kind), _message(message), _detail(detail) {}

// Chains are copied and destroyed iteratively: a run may collect many
// thousands of warnings.
KtExcept::KtExcept(const KtExcept& other) : _kind(other._kind), _message(other._message) {
  KtExcept* tail = this;
  for (const KtExcept* d = other._detail; d; d = d->_detail) {
    tail->_detail = new KtExcept(d->_kind, d->_message, nullptr);
    tail = tail->_detail;
  }
}

KtExcept& KtExcept::operator=(const KtExcept& other) {
  if (&other != this) {
    KtExcept copy(other);
    std::swap(_kind, copy._kind);
    std::swap(_message, copy._message);
    std::swap(_detail, copy._detail);
  }
  return *this;
}

KtExcept::~KtExcept() {
  KtExcept* d = _detail;
  while (d) {
    KtExcept* next = d->_detail;
    d->_detail = nullptr;
    delete d;
    d = next;
  }
}

void KtExcept::extend(const char* text) {
  _message += "\n";
  _message += text;
}

void KtExcept::preExtend(const char* text) {
  KtStr lines(text ? text : "");
  lines += "\n";
  lines += _message;
  _message = lines;
}

// -- KtExceptionHandler --

int KtExceptionHandler::_errors_are_fatal = 0;

KtExceptionHandler theExceptObj;

KtExceptionHandler::KtExceptionHandler(const KtExceptionHandler& other)
    : _head(other._head ? new KtExcept(*other._head) : nullptr) {}

KtExceptionHandler& KtExceptionHandler::operator=(const KtExceptionHandler& other) {
  if (&other != this) {
    KtExcept* copy = other._head ? new KtExcept(*other._head) : nullptr;
    clear();
    _head = copy;
  }
  return *this;
}

KtExceptionHandler::~KtExceptionHandler() {
  clear();
}

void KtExceptionHandler::clear() {
  delete _head;
  _head = nullptr;
}

void KtExceptionHandler::_push(int kind, const KtStr& message) {
  _head = new KtExcept(kind, message, _head);
  if (kind == 0 && _errors_are_fatal) std::abort();
}

void KtExceptionHandler::recordError(const KtStr& message) {
  _push(0, message);
}
void KtExceptionHandler::recordWarning(const KtStr& message) {
  _push(1, message);
}

void KtExceptionHandler::setAsError(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  KtStr message = formatMessage(fmt, args);
  va_end(args);
  _push(0, message);
}

void KtExceptionHandler::setAsWarning(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  KtStr message = formatMessage(fmt, args);
  va_end(args);
  _push(1, message);
}

void KtExceptionHandler::extendException(const char* fmt, ...) {
  if (!_head) return;
  va_list args;
  va_start(args, fmt);
  KtStr text = formatMessage(fmt, args);
  va_end(args);
  _head->extend(text);
}

void KtExceptionHandler::preExtendException(const char* fmt, ...) {
  if (!_head) return;
  va_list args;
  va_start(args, fmt);
  KtStr text = formatMessage(fmt, args);
  va_end(args);
  _head->preExtend(text);
}

// -- recording and checking --

void KtError(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  KtStr message = formatMessage(fmt, args);
  va_end(args);
  theExceptObj.recordError(message);
}

void KtWarning(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  KtStr message = formatMessage(fmt, args);
  va_end(args);
  theExceptObj.recordWarning(message);
}

int KtCheckException() {
  if (!theExceptObj.exceptionOccurred()) return 0;
  int wasError = theExceptObj.errorOccurred() ? 1 : 0;
  KtPrintException(std::cerr, *theExceptObj.exception());
  theExceptObj.clear();
  return wasError;
}

int KtCheckException(const char* fmt, ...) {
  if (theExceptObj.errorOccurred()) {
    va_list args;
    va_start(args, fmt);
    KtStr message = formatMessage(fmt, args);
    va_end(args);
    theExceptObj.recordError(message);
  }
  return KtCheckException();
}

// -- paragraph layout --

std::ostream& KtPrintException(std::ostream& out, const KtExcept& record) {
  bool warning = record.isWarning();
  const char* indent = warning ? kWarningIndent : kErrorIndent;
  out << '\n' << std::flush << '\n' << std::flush;
  out << (warning ? kWarningPrefix : kErrorPrefix);
  writeWrapped(out, record.message(), indent);
  out << '\n';
  for (const KtExcept* d = record.detail(); d; d = d->detail()) {
    out << indent;
    writeWrapped(out, d->message(), indent);
    out << '\n';
  }
  out << '\n' << std::flush;
  return out;
}

void KtGetExceptionStr(KtStr* out, const KtExcept& record) {
  std::ostringstream text;
  KtPrintException(text, record);
  std::string s = text.str();
  *out = KtStr(s.data(), (int)s.size());
}

KtStr KtWrapString(const KtStr& text, int width, int tabWidth) {
  const char* t = text.text();
  int length = text.length();
  if (tabWidth < 1) tabWidth = 1;
  int lineStart = 0, lastBreak = 0, column = 0, i = 0;
  KtStr result("");
  while (i < length) {
    char c = t[i];
    if (c == ' ' || c == '\t' || c == '\n') lastBreak = i;
    if (c == '\t')
      column = (column / tabWidth + 1) * tabWidth;
    else
      column++;
    if ((c == '\n' || column > width) && lastBreak != lineStart) {
      result.append(t + lineStart, lastBreak - lineStart);
      result += "\n";
      int p = lastBreak;
      if (isBlankOrTab(t[p]))
        while (p < length && isBlankOrTab(t[p])) p++;
      if (p < length && t[p] == '\n') p++;
      lineStart = lastBreak = i = p;
      column = 0;
    } else {
      i++;
    }
  }
  result.append(t + lineStart, length - lineStart);
  return result;
}
