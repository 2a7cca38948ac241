#include <iostream>

#include "apps/common/ClSignals.h"
#include "apps/common/ClStandardOutput.h"
#include "apps/motview/MotviewCommandLine.h"
#include "apps/motview/MotviewRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char** argv) {
  ClSetUpSignals();
  ClOpenStandardOutput();
  // motconv's messages for the files it reads: motview reads its outputs.
  KtSetBuild(KtBuild::Motconv);
  MotviewArguments args;
  int status = 0;
  if (parseMotviewCommandLine(argc, argv, std::cout, std::cerr, &args, &status))
    status = runMotview(args);
  return ClCloseStandardOutput(status);
}
