#include <iostream>

#include "apps/skelconv/SkelconvCommandLine.h"
#include "apps/skelconv/SkelconvRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char** argv) {
  KtSetBuild(KtBuild::Skelconv);
  SkelconvArguments args;
  int status = 0;
  if (!parseSkelconvCommandLine(argc, argv, std::cout, std::cerr, &args, &status)) return status;
  return runSkelconv(args);
}
