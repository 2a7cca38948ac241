#include "apps/skelconv/SkelconvCommandLine.h"
#include "toolkit/KtBuild.h"

int main(int argc, char **argv) {
  KtSetBuild(KtBuild::Skelconv);
  SkelconvArgs args;
  int status = SkelconvParseCommandLine(argc, argv, args);
  if (status >= 0) return status;
  // The conversion run is not built yet: a valid command line stops here.
  return 0;
}
