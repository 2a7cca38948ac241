#ifndef MOTVIEW_COMMAND_LINE_H
#define MOTVIEW_COMMAND_LINE_H

#include <iosfwd>
#include <vector>

#include "apps/common/ClCommandLine.h"

// What the command line hands to the drawing run.
struct MotviewArguments {
  ClCommonOptions common;
  // "-frames <list>": the contact sheet's frames, as given; without it the
  // sheet spreads its frames over the take.
  bool framesGiven = false;
  std::vector<long> frames;
  // "-step <n>": the page embeds every n-th frame.
  int step = 1;
  const char* jointPath = nullptr;
  const char* importPath = nullptr;
  const char* movPath = nullptr;
  const char* outputPath = nullptr;
};

// Parses the options, prints the texts they ask for on `out` and the
// command-line messages on `err`, and checks the number of file arguments.
// Returns true when the run is to go on with *args; otherwise the program
// ends with *exitStatus.
bool parseMotviewCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err, MotviewArguments* args, int* exitStatus);

#endif
