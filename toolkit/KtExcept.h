#ifndef KT_EXCEPT_H
#define KT_EXCEPT_H

#include <iosfwd>

#include "toolkit/KtStr.h"

// One diagnostic: an error (kind 0 or below) or a warning (kind non-zero),
// its message (possibly several lines) and the older record behind it. A
// record owns its detail chain: copying copies the chain, destroying
// destroys it.
class KtExcept {
 public:
  KtExcept() = default;
  // Adopts detail without copying it.
  KtExcept(int kind, const KtStr& message, KtExcept* detail = nullptr);
  KtExcept(const KtExcept& other);
  KtExcept& operator=(const KtExcept& other);
  ~KtExcept();

  void setAsError() { _kind = 0; }
  void setAsWarning() { _kind = 1; }
  bool isError() const { return _kind <= 0; }
  bool isWarning() const { return _kind != 0; }
  int kind() const { return _kind; }

  KtStr message() const { return _message; }
  void setMessage(const KtStr& message) { _message = message; }
  bool hasDetail() const { return _detail != nullptr; }
  KtExcept* detail() const { return _detail; }

  // The text becomes a new last line / a new first line of the message.
  void extend(const char* text);
  void preExtend(const char* text);

 private:
  int _kind = 0;
  KtStr _message = "";
  KtExcept* _detail = nullptr;
};

// The holder of the diagnostics recorded so far: a chain of KtExcept,
// newest first. The kind of the newest record is the kind of the chain.
class KtExceptionHandler {
 public:
  constexpr KtExceptionHandler() = default;
  KtExceptionHandler(const KtExceptionHandler& other);
  KtExceptionHandler& operator=(const KtExceptionHandler& other);
  ~KtExceptionHandler();

  // Format (1023 characters at most) and push a new record in front of the
  // chain. The formatted text is stored as it is.
  void setAsError(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);
  void setAsWarning(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);
  // Push a record with an already finished message (no formatting).
  void recordError(const KtStr& message);
  void recordWarning(const KtStr& message);
  // Add a last / first line to the newest record; ignored when empty.
  void extendException(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);
  void preExtendException(const char* fmt, ...) KT_PRINTF_FORMAT(2, 3);

  bool exceptionOccurred() const { return _head != nullptr; }
  operator int() const { return _head != nullptr; }
  bool errorOccurred() const { return _head && _head->isError(); }
  bool warningOccurred() const { return _head && _head->isWarning(); }
  KtExcept* exception() const { return _head; }
  void clear();

  // When non-zero, recording an error aborts the process at once.
  static int _errors_are_fatal;

 private:
  void _push(int kind, const KtStr& message);

  KtExcept* _head = nullptr;
};

// The process-wide holder (constant-initialised, so it is usable from any
// static constructor).
extern KtExceptionHandler theExceptObj;

void KtError(const char* fmt, ...) KT_PRINTF_FORMAT(1, 2);
void KtWarning(const char* fmt, ...) KT_PRINTF_FORMAT(1, 2);

// Print everything recorded as one paragraph on standard error and forget
// it. Returns 1 when the newest record was an error, else 0.
int KtCheckException();
// The same, but when an error is recorded the formatted text is first
// recorded as a further error in front of it.
int KtCheckException(const char* fmt, ...) KT_PRINTF_FORMAT(1, 2);

// The "ERROR: " / "WARNING: " paragraph of a record and its chain.
std::ostream& KtPrintException(std::ostream& out, const KtExcept& record);
void KtGetExceptionStr(KtStr* out, const KtExcept& record);

// Greedy word wrapping at width columns; tabs advance to multiples of
// tabWidth; existing newlines stay; words longer than width are not split.
KtStr KtWrapString(const KtStr& text, int width, int tabWidth);

#endif
