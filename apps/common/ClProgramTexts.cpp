#include "apps/common/ClProgramTexts.h"

#include <ostream>

#include "RcVersion.h"

namespace {

const char* const theCopyrightLine = "Copyright (c) 1998 Veltrac, Inc.";

const char* const theCopyrightTerms[] = {
    "     Permission is granted to use, copy, modify and distribute this",
    "     program and its documentation under the terms in the file LICENSE",
    "     that comes with it, provided that this notice is kept on every copy.",
    "",
    "     This program is provided \"as is\", without warranty of any kind,",
    "     either expressed or implied.  The entire risk as to the quality and",
    "     performance of the program is with you.",
    "",
    nullptr,
};

const char* const theCredits[] = {
    "CREDITS",
    "     Written and maintained by the Veltrac, Inc. software group.",
    "     Raro is a trademark of its owner.",
    "",
    nullptr,
};

}  // namespace

void ClPrintVersionLine(std::ostream& out, const char* programName) {
  out << programName << " " << theProgramVersion << "\n";
}

void ClPrintVersionBanner(std::ostream& out, const char* programName) {
  out << "\n"
      << programName << " version " << theProgramVersion << "\n\n"
      << theCopyrightLine << "\n\n"
      << std::flush;
}

void ClPrintCopyrightNotice(std::ostream& out) {
  out << "\nCOPYRIGHT NOTICE\n\n     " << theCopyrightLine << "\n\n";
  ClPrintLines(out, theCopyrightTerms);
}

void ClPrintAvailability(std::ostream& out, const char* inputs) {
  out << "AVAILABILITY\n"
         "     The latest version is available from Veltrac, Inc. customer\n"
         "     support.  Please send problem reports to Veltrac, Inc. customer\n"
      << "     support, with the command line and the " << inputs << " that show the\n"
      << "     problem.\n\n";
}

void ClPrintCredits(std::ostream& out) {
  ClPrintLines(out, theCredits);
}

void ClPrintLines(std::ostream& out, const char* const* lines) {
  for (; *lines; ++lines) out << *lines << "\n";
}
