#pragma once

#include "toolkit/KtStr.h"

/// What the command line asks of a conversion run.
struct SkelconvArgs {
  const char *asfPath = nullptr;
  const char *melPath = nullptr;
  KtStr prefix;
  bool force = false;
};

/// Parses the command line and prints the texts it asks for. Returns -1 when
/// the run continues with `args` filled in; otherwise the exit status.
int SkelconvParseCommandLine(int argc, char **argv, SkelconvArgs &args);
