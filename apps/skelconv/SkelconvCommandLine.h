#ifndef SKELCONV_COMMAND_LINE_H
#define SKELCONV_COMMAND_LINE_H

#include <iosfwd>

#include "apps/common/ClCommandLine.h"
#include "toolkit/KtStr.h"

// What the command line hands to the conversion run.
struct SkelconvArguments {
  ClCommonOptions common;
  const char* asfPath = nullptr;
  const char* melPath = nullptr;
  KtStr prefix;
};

// Parses the options, prints the texts they ask for on `out` and the
// command-line messages on `err`, and checks the number of file arguments.
// Returns true when the run is to go on with *args; otherwise the program
// ends with *exitStatus.
bool parseSkelconvCommandLine(int argc, const char* const* argv, std::ostream& out,
                              std::ostream& err, SkelconvArguments* args, int* exitStatus);

#endif
