#ifndef MOTCONV_COMMAND_LINE_H
#define MOTCONV_COMMAND_LINE_H

#include <iosfwd>
#include <vector>

#include "apps/common/ClCommandLine.h"
#include "apps/motconv/CaptureTimeLine.h"
#include "toolkit/KtStr.h"

// The argument of the last "-filter" option exactly as typed; empty when
// none was given. The import script takes its filter names from it.
extern KtStr filterList;
// The filter names of filterList, split at white space, in order.
std::vector<KtStr> motconvFilterNames();

// What the command line hands to the conversion run.
struct MotconvArguments {
  ClCommonOptions common;
  // "-p <prefix>": the import script then drives the joints that the
  // skeleton script makes with that prefix (an empty one included).
  bool jointPrefixGiven = false;
  KtStr jointPrefix;
  // "-capture <rate>": the rate the take was captured at; the MOV file then
  // holds the scene's frames at fps (see TakeResampler).
  bool captureGiven = false;
  MotconvCaptureRate capture;
  const char* asfPath = nullptr;
  const char* amcPath = nullptr;
  int fps = 0;
  const char* melPath = nullptr;
  const char* movPath = nullptr;
};

// Parses the options, prints the texts they ask for and validates the
// positional arguments. Returns true when the run is to go on with *args;
// otherwise the program ends with *exitStatus.
bool parseMotconvCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err, MotconvArguments* args, int* exitStatus);

#endif
