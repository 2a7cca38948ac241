#include <iostream>

#include "apps/common/ClSignals.h"
#include "apps/common/ClStandardOutput.h"
#include "apps/motconv/MotconvCommandLine.h"
#include "apps/motconv/MotconvRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char** argv) {
  ClSetUpSignals();
  ClOpenStandardOutput();
  KtSetBuild(KtBuild::Motconv);
  MotconvArguments args;
  int status = 0;
  if (parseMotconvCommandLine(argc, argv, std::cout, std::cerr, &args, &status))
    status = runMotconv(args);
  return ClCloseStandardOutput(status);
}
