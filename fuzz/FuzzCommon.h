#ifndef FUZZ_COMMON_H
#define FUZZ_COMMON_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

// Every target reads its input as file text. The diagnostics holder is
// process-wide: each run starts and ends with it empty, so records do not
// pile up from one input to the next. With FUZZ_SHOW_DIAGNOSTICS set in the
// environment, the records an input leaves behind are printed on standard
// error instead (for looking at a seed or a reproducer).
inline void fuzzForgetDiagnostics() {
  static const bool show = std::getenv("FUZZ_SHOW_DIAGNOSTICS") != nullptr;
  if (show)
    KtCheckException();
  else
    theExceptObj.clear();
}

// True when the step just run recorded an error (the run then stops, as
// the programs do); otherwise its warnings are forgotten.
inline bool fuzzStepFailed() {
  if (theExceptObj.errorOccurred()) return true;
  fuzzForgetDiagnostics();
  return false;
}

class FuzzRun {
 public:
  FuzzRun() { theExceptObj.clear(); }
  ~FuzzRun() { fuzzForgetDiagnostics(); }
  FuzzRun(const FuzzRun&) = delete;
  FuzzRun& operator=(const FuzzRun&) = delete;
};

// The first byte picks the library's behaviour (even: skelconv's, odd:
// motconv's); the rest is the text. An empty input keeps skelconv's.
inline std::string fuzzTakeBuildByte(const uint8_t* data, size_t size) {
  if (size == 0) {
    KtSetBuild(KtBuild::Skelconv);
    return std::string();
  }
  KtSetBuild((data[0] & 1) ? KtBuild::Motconv : KtBuild::Skelconv);
  return std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
}

#endif
