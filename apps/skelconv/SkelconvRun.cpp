#include "apps/skelconv/SkelconvRun.h"

#include <fstream>
#include <iostream>

#include "acclaim/KaASF.h"
#include "apps/skelconv/MelJointWriter.h"
#include "toolkit/KtConfirmOverwrite.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtJointPrefix.h"
#include "toolkit/KtPathCheck.h"

namespace {

void writeOutput(const char* melPath, const KaASF& asf, const KtStr& prefix) {
  if (!KtPathCheckWriteAccess(melPath)) return;
  std::cout << "Writing \"" << melPath << "\"..." << std::flush;
  std::ofstream out(melPath, std::ios::out | std::ios::trunc);
  if (!out.is_open()) {
    std::cout << "done.\n" << std::flush;
    KtError("Unable to open \"%s\".", melPath);
    return;
  }
  writeMelJointScript(out, asf, prefix);
  out.flush();
  if (!out) KtError("Unable to write to \"%s\".", melPath);
  std::cout << "done.\n" << std::flush;
  if (theExceptObj.errorOccurred()) KtError("Unable to save \"%s\".", melPath);
}

}  // namespace

int runSkelconv(const SkelconvArguments& args) {
  KaASF asf;
  KtPathCheckReadAccess(args.asfPath);
  if (KtCheckException()) return 1;

  std::cout << "Reading file: " << args.asfPath << " ..." << std::flush;
  asf.read(args.asfPath);
  std::cout << "done.\n" << std::flush;
  if (KtCheckException()) return 1;

  // Joint names go into a script that Raro executes: refuse unsafe ones
  // before the output file is touched.
  if (const char* bone = findUnsafeJointName(asf, args.prefix)) {
    KtRecordUnsafeJointName(args.prefix, bone);
    KtCheckException();
    return 1;
  }

  if (!args.force && !KtConfirmOverwrite(args.melPath, "' exists..", std::cin, std::cout))
    return 0;

  writeOutput(args.melPath, asf, args.prefix);
  return KtCheckException() ? 1 : 0;
}
