#include "apps/skelconv/SkelconvCommandLine.h"
#include "apps/skelconv/SkelconvRun.h"
#include "toolkit/KtBuild.h"

int main(int argc, char **argv) {
  KtSetBuild(KtBuild::Skelconv);
  SkelconvArgs args;
  int status = SkelconvParseCommandLine(argc, argv, args);
  if (status >= 0) return status;
  return runSkelconv(args);
}
