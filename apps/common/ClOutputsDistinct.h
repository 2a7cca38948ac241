#ifndef CL_OUTPUTS_DISTINCT_H
#define CL_OUTPUTS_DISTINCT_H

// The check that keeps a program's outputs off its inputs and off each
// other, made before any output is opened. Which file a path names is the
// toolkit's (KtFileIdentity).

#include <vector>

// An input as given on the command line and as the file it is read under
// (a missing walk.amc is read as walk.amc.gz); the two are the same for a
// file that exists under its own name.
struct ClInputPath {
  const char* path;
  const char* readAs;
};

// True when no output names one of the inputs (under either name) or
// another output. Otherwise records "The output file \"%s\" is the same
// file as the input file \"%s\"." (naming the file read) or "The output
// files \"%s\" and \"%s\" are the same file." (the first pair found,
// outputs in order) and returns false. An output that is a character
// device is not compared: writing it keeps nothing.
bool ClCheckOutputsDistinct(const std::vector<ClInputPath>& inputs,
                            const std::vector<const char*>& outputs);
// The same for inputs read under their own names.
bool ClCheckOutputsDistinct(const std::vector<const char*>& inputs,
                            const std::vector<const char*>& outputs);

#endif
