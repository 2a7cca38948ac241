#ifndef MEL_IMPORT_WRITER_H
#define MEL_IMPORT_WRITER_H

#include <iosfwd>

class KaAMC;
class KaASF;

// Writes the import script: a virtual device with one channel per joint
// channel of the motion's first frame, the filter checks of filterList, and
// the procedure that reads the MOV take and applies it. fps is one of the
// accepted frame rates. Records nothing.
void printMELScript(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps);

#endif
