#include "apps/skelconv/SkelconvRun.h"

#include <iostream>

#include "acclaim/KaASF.h"
#include "acclaim/KaASFBoneNames.h"
#include "apps/common/ClConfirmOverwrite.h"
#include "apps/common/ClJointPrefix.h"
#include "apps/common/ClOutputsDistinct.h"
#include "apps/common/ClWriteOutputFile.h"
#include "apps/skelconv/MelJointWriter.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

int runSkelconv(const SkelconvArguments& args) {
  if (!ClCheckJointPrefix(args.prefix)) {
    KtCheckException();
    return 1;
  }

  // The script must not take the place of the skeleton it is made from.
  if (!ClCheckOutputsDistinct({args.asfPath}, {args.melPath})) {
    KtCheckException();
    return 1;
  }

  KaASF asf;
  KtPathCheckReadAccess(args.asfPath);
  if (KtCheckException()) return 1;

  std::cout << "Reading file: " << args.asfPath << " ..." << std::flush;
  asf.read(args.asfPath);
  std::cout << "done.\n" << std::flush;
  if (KtCheckException()) return 1;

  // Two joints of one name would make the script's later statements act on
  // the wrong one.
  if (!KaASFCheckUniqueBoneNames(asf.bones)) {
    KtCheckException();
    return 1;
  }

  // Joint names go into a script that Raro executes: refuse unsafe ones
  // before the output file is touched.
  if (const char* bone = findUnsafeJointName(asf, args.prefix)) {
    ClRecordUnsafeJointName(args.prefix, bone);
    KtCheckException();
    return 1;
  }

  if (!args.common.force && !ClConfirmOverwrite(args.melPath, "' exists..", std::cin, std::cout))
    return 0;

  ClWriteOutputFile(
      args.melPath, [&](std::ostream& out) { writeMelJointScript(out, asf, args.prefix); },
      std::cout);
  return KtCheckException() ? 1 : 0;
}
