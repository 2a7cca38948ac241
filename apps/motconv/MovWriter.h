#ifndef MOV_WRITER_H
#define MOV_WRITER_H

#include <iosfwd>

class KaAMC;
class KaASF;
struct MotconvCaptureRate;

// Writes the channel table: one line per frame, the frame's time (number /
// fps) and then the channels of the root and of every bone of the skeleton
// the frame lists, in bone-list order. Records an error and stops at the
// first bone that cannot be converted. With a capture rate the lines are
// the scene frames that TakeResampler makes of the take, each timed by its
// scene frame number / fps.
void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
              const MotconvCaptureRate* capture = nullptr);

#endif
