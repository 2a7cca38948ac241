#ifndef MOTCONV_RUN_H
#define MOTCONV_RUN_H

#include "apps/motconv/MotconvCommandLine.h"

// The overwrite prompt for an output path: true at once when nothing is
// there, else the answer to "Overwrite? [Y/N] " (end of input declines).
bool confirmOverwrite(const char* path);

// The conversion run after an accepted command line and frame rate: refuse
// outputs that are inputs or each other, read the skeleton (refusing bone
// names equal without regard to case) and the motion, converting the
// channel table frame by frame into its staged file as the motion is read,
// warn where the first frame disagrees with the skeleton and refuse a take
// any frame of which does, refuse names that may not go into a script, then
// write the import script and put the channel table in place, each after
// asking before overwriting. Returns the exit status.
int runMotconv(const MotconvArguments& args);

#endif
