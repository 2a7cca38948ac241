#pragma once

#include "apps/skelconv/SkelconvCommandLine.h"

/// The conversion run after an accepted command line: check and read the
/// ASF file, refuse joint names that may not go into a script, ask before
/// overwriting, write the MEL joint script. Returns the exit status.
int runSkelconv(const SkelconvArguments& args);
