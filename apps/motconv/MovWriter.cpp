#include "apps/motconv/MovWriter.h"

#include <ostream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MovNumberWriter.h"
#include "toolkit/KtExcept.h"

void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps) {
  // The root, then the snapshot of the skeleton's bones, each with what the
  // frames need of it.
  ChannelConverter converter(skeleton, motion);
  const int columns = converter.columnCount();
  for (const KaAMCField& frame : motion.fields) {
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
        return;
      }
    }
    out.put('\n');
  }
}
