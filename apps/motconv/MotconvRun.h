#ifndef MOTCONV_RUN_H
#define MOTCONV_RUN_H

#include <functional>
#include <iosfwd>

#include "apps/motconv/MotconvCommandLine.h"

class KaAMC;
class KaASF;

// The overwrite prompt for an output path: true at once when nothing is
// there, else the answer to "Overwrite? [Y/N] " (end of input declines).
bool confirmOverwrite(const char* path);

// Writes the whole content of one output file on the open stream.
using MotconvContentWriter = std::function<void(std::ostream&, const KaASF&, const KaAMC&, int)>;

// Checks write access, prints the "Writing" progress line, opens the path
// as a plain text file and runs the content writer on it. Failures are
// recorded, with "Unable to save" over the writer's own messages.
void writeOutputFile(const char* path, const MotconvContentWriter& writer, const KaASF& skeleton,
                     const KaAMC& motion, int fps);

// The conversion run after an accepted command line and frame rate: read
// the skeleton and the motion, warn where they disagree, refuse names that
// may not go into a script, then write the import script and the channel
// table, each after asking before overwriting. Returns the exit status.
int runMotconv(const MotconvArguments& args);

#endif
