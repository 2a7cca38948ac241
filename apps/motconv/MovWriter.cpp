#include "apps/motconv/MovWriter.h"

#include <ostream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MovNumberWriter.h"
#include "apps/motconv/TakeResampler.h"
#include "toolkit/KtExcept.h"

namespace {

// One line of the table; false with an error recorded when a bone cannot
// be converted.
bool printLine(std::ostream& out, ChannelConverter& converter, const KaAMCField& frame, int fps) {
  const int columns = converter.columnCount();
  converter.setFrame(frame);
  writeMovNumber(out, (float)frame.number / (float)fps);
  for (int column = 0; column < columns; ++column) {
    if (!converter.entry(column)) continue;
    converter.printChannels(out, column);
    if (theExceptObj.errorOccurred()) {
      if (column == 0)
        KtError("Unable to convert transformations to MOV for \"root\".");
      else
        KtError("Unable to convert transformations to MOV for body \"%s\".",
                converter.name(column));
      return false;
    }
  }
  out.put('\n');
  return true;
}

}  // namespace

void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
              const MotconvCaptureRate* capture) {
  // The root, then the snapshot of the skeleton's bones, each with what the
  // frames need of it.
  ChannelConverter converter(skeleton, motion);
  if (!capture) {
    for (const KaAMCField& frame : motion.fields)
      if (!printLine(out, converter, frame, fps)) return;
    return;
  }
  TakeResampler resampler(skeleton, motion.boneNames, motion.degrees, *capture, fps);
  for (const KaAMCField& frame : motion.fields) {
    if (!resampler.feed(frame)) return;
    while (const KaAMCField* scene = resampler.next())
      if (!printLine(out, converter, *scene, fps)) return;
  }
  resampler.finish();
}
