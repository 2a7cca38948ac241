#include "apps/motview/MotviewTexts.h"

#include <ostream>

#include "RcVersion.h"
#include "apps/common/ClProgramTexts.h"

const char* const theMotviewName = "motview";
const char* const theMotviewVersion = theProgramVersion;

namespace {

void printUsageLines(std::ostream& out) {
  out << "     " << theMotviewName << " [-h] [-copyright] [-f] [-frames <list>] [-step <n>]\n"
      << "             <joint_mel> <import_mel> <mov_file> <output>\n";
}

const char* const theDescription[] = {
    "DESCRIPTION",
    "     Draws a take converted for Raro.  motview reads the joint script",
    "     that skelconv wrote, then the import script and the MOV file that",
    "     motconv wrote for that skeleton, evaluates every joint on the",
    "     frames of the take as Raro plays them, and draws the joints.  The",
    "     output's extension (in any case) chooses the drawing:",
    "",
    "     .svg        A contact sheet: the poses of -frames side by side,",
    "                 each in a front view over a side view, with the frame",
    "                 number and time under each pose.",
    "",
    "     .html       One self-contained page that plays the take at the",
    "                 scene rate, with a frame slider, front, side, top and",
    "                 free views, and the name of the joint under the",
    "                 pointer.  Opened with #frame=N in its address it shows",
    "                 scene frame N (the nearest embedded frame at or before",
    "                 it).",
    "",
    nullptr,
};

const char* const theOptionAndArgumentEntries[] = {
    "     -frames     The scene frames the contact sheet shows, as whole",
    "                 numbers separated by commas (1,60,120); each must be",
    "                 a frame of the take.  Without it, 8 frames evenly",
    "                 spread over the take.",
    "",
    "     -step       The page holds every n-th frame of the take, counted",
    "                 from its first, so that a long take stays small; n is",
    "                 a whole number of at least 1 (default 1).",
    "",
    "     joint_mel   The joint script that skelconv wrote.",
    "",
    "     import_mel  The import script that motconv wrote for the joints",
    "                 of that script.",
    "",
    "     mov_file    The MOV file that motconv wrote with it.",
    "",
    "     output      The drawing's file name, ending in .svg or .html.",
    "",
    nullptr,
};

const char* const theSeeAlso[] = {
    "SEE ALSO",
    "     skelconv, motconv",
    "",
    nullptr,
};

}  // namespace

void printMotviewUsage(std::ostream& out) {
  out << "\nUSAGE\n";
  printUsageLines(out);
  out << "\nVERSION\n     " << theMotviewVersion << "\n\n";
}

void printMotviewManualPage(std::ostream& out) {
  out << "\nNAME\n"
      << "     " << theMotviewName << " - draw a take converted for Raro(tm).\n"
      << "\nSYNOPSIS\n";
  printUsageLines(out);
  out << "\n";
  ClPrintLines(out, theDescription);
  out << "     " << theMotviewName << " has the following parameters:\n\n"
      << "     -h          Displays this manpage.\n\n"
      << "     -copyright  Displays copyright information.\n\n"
      << "     -f          When used, " << theMotviewName << " will overwrite files without\n"
      << "                 verification.\n\n";
  ClPrintLines(out, theOptionAndArgumentEntries);
  out << "EXAMPLES\n"
      << "     " << theMotviewName << " walk_skel.mel walk.mel walk.mov walk.svg\n\n"
      << "     " << theMotviewName
      << " -frames 1,60,120 walk_skel.mel walk.mel walk.mov walk.svg\n\n"
      << "     " << theMotviewName << " -step 2 walk_skel.mel walk.mel walk.mov walk.html\n\n";
  ClPrintLines(out, theSeeAlso);
  ClPrintAvailability(out, "input files");
  ClPrintCredits(out);
}
