#include <iostream>

#include "apps/motconv/MotconvCommandLine.h"
#include "apps/motconv/MotconvRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char** argv) {
  KtSetBuild(KtBuild::Motconv);
  MotconvArguments args;
  int status = 0;
  if (!parseMotconvCommandLine(argc, argv, std::cout, std::cerr, &args, &status)) return status;
  return runMotconv(args);
}
