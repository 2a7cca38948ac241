#ifndef MOTVIEW_RUN_H
#define MOTVIEW_RUN_H

#include "apps/motview/MotviewCommandLine.h"

// The drawing run after an accepted command line: refuse an output whose
// extension names no drawing and an output that is one of the inputs, read
// the joint script, the import script and the MOV file through the Raro
// model, refuse -frames entries outside the take, ask before overwriting,
// write the contact sheet (.svg) or the page (.html). Returns the exit
// status.
int runMotview(const MotviewArguments& args);

#endif
