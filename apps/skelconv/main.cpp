#include <iostream>

#include "apps/common/ClSignals.h"
#include "apps/common/ClStandardOutput.h"
#include "apps/skelconv/SkelconvCommandLine.h"
#include "apps/skelconv/SkelconvRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char** argv) {
  ClSetUpSignals();
  ClOpenStandardOutput();
  KtSetBuild(KtBuild::Skelconv);
  SkelconvArguments args;
  int status = 0;
  if (parseSkelconvCommandLine(argc, argv, std::cout, std::cerr, &args, &status))
    status = runSkelconv(args);
  return ClCloseStandardOutput(status);
}
