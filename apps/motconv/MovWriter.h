#ifndef MOV_WRITER_H
#define MOV_WRITER_H

#include <iosfwd>

class KaAMC;
class KaASF;

// Writes the channel table: one line per frame, the frame's time (number /
// fps) and then the channels of the root and of every bone of the skeleton
// the frame lists, in bone-list order. Records an error and stops at the
// first bone that cannot be converted.
void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps);

#endif
