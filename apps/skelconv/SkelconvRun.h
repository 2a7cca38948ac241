#ifndef SKELCONV_RUN_H
#define SKELCONV_RUN_H

#include "apps/skelconv/SkelconvCommandLine.h"

// The conversion run after an accepted command line: refuse an output that
// is the input, check and read the ASF file, refuse bone names equal
// without regard to case and joint names that may not go into a script,
// ask before overwriting, write the MEL joint script. Returns the exit
// status.
int runSkelconv(const SkelconvArguments& args);

#endif
