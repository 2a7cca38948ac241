#include "apps/skelconv/SkelconvRun.h"

#include <iostream>

#include "acclaim/KaASF.h"
#include "apps/skelconv/MelJointWriter.h"
#include "toolkit/KtConfirmOverwrite.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtOutputFile.h"
#include "toolkit/KtPathCheck.h"

int runSkelconv(const SkelconvArgs& args) {
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
    KtError("Bone \"%s\" gives the joint name \"%s%s\", which may hold only ASCII letters, "
            "digits and underscores.",
            bone, (const char*)args.prefix, bone);
    KtCheckException();
    return 1;
  }

  if (!args.force && !KtConfirmOverwrite(args.melPath, "' exists..", std::cin, std::cout))
    return 0;

  KtWriteOutputFile(
      args.melPath, [&](std::ostream& out) { writeMelJointScript(out, asf, args.prefix); },
      std::cout);
  return KtCheckException() ? 1 : 0;
}
