#include "apps/motconv/MovWriter.h"

#include <ostream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/MovNumberWriter.h"
#include "apps/motconv/TakeResampler.h"
#include "toolkit/KtExcept.h"

// The converter holds the root, then the snapshot of the skeleton's bones,
// each with what the frames need of it.
MovLineWriter::MovLineWriter(const KaASF& skeleton, const KaAMC& take, int fps)
    : _converter(skeleton, take), _columns(_converter.columnCount()), _fps((float)fps) {}

bool MovLineWriter::printLine(std::ostream& out, const KaAMCField& frame) {
  _converter.setFrame(frame);
  writeMovNumber(out, (float)frame.number / _fps);
  for (int column = 0; column < _columns; ++column) {
    if (!_converter.entry(column)) continue;
    _converter.printChannels(out, column);
    if (theExceptObj.errorOccurred()) {
      if (column == 0)
        KtError("Unable to convert transformations to MOV for \"root\".");
      else
        KtError("Unable to convert transformations to MOV for body \"%s\".",
                _converter.name(column));
      return false;
    }
  }
  out.put('\n');
  return true;
}

void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
              const MotconvCaptureRate* capture) {
  MovLineWriter lines(skeleton, motion, fps);
  if (!capture) {
    for (const KaAMCField& frame : motion.fields)
      if (!lines.printLine(out, frame)) return;
    return;
  }
  TakeResampler resampler(skeleton, motion.boneNames, motion.degrees, *capture, fps);
  for (const KaAMCField& frame : motion.fields) {
    if (!resampler.feed(frame)) return;
    while (const KaAMCField* scene = resampler.next())
      if (!lines.printLine(out, *scene)) return;
  }
  resampler.finish();
}
