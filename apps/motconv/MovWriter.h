#ifndef MOV_WRITER_H
#define MOV_WRITER_H

#include <iosfwd>

#include "apps/motconv/ChannelConversion.h"

class KaAMC;
class KaAMCField;
class KaASF;
struct MotconvCaptureRate;

// Writes the channel table one line per frame: the frame's time (number /
// fps) and then the channels of the root and of every bone of the skeleton
// the frame lists, in bone-list order. A frame is converted as it comes,
// so the table of a take of any length is written in the memory of one
// frame. The skeleton and take (the first frame's name list and unit flag,
// which the frames written are linked to and read in) must outlive the
// writer.
class MovLineWriter {
 public:
  MovLineWriter(const KaASF& skeleton, const KaAMC& take, int fps);

  // Writes the frame's line. Records an error and stops at the first bone
  // that cannot be converted (the line is then left unfinished): false.
  bool printLine(std::ostream& out, const KaAMCField& frame);

 private:
  ChannelConverter _converter;
  const int _columns;
  const float _fps;
};

// The whole table of a motion held in memory, stopping at the first line
// that fails. With a capture rate the lines are the scene frames that
// TakeResampler makes of the take, each timed by its scene frame number /
// fps.
void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
              const MotconvCaptureRate* capture = nullptr);

#endif
