#include "apps/skelconv/SkelconvTexts.h"

#include <ostream>
#include <string>

#include "RcVersion.h"

namespace {

const char* const kName = "skelconv";
const char* const kVersion = theProgramVersion;
const char* const kReleased = "December 16, 1998";
const char* const kCopyrightLine = "Copyright (c) 1998 Veltrac, Inc.";
const char* const kUsageTail = " [-h] [-copyright] [-f] [-p <prefix>] <asf file> <mel file>";

struct Param {
  const char* name;
  const char* lines[3];
};

void printParam(std::ostream& out, const Param& p) {
  std::string name = p.name;
  name.resize(14, ' ');
  out << "     " << name << p.lines[0] << "\n";
  for (int i = 1; i < 3 && p.lines[i]; ++i) out << "                   " << p.lines[i] << "\n";
}

void printSection(std::ostream& out, const char* heading, const char* body) {
  out << heading << "\n     " << body << "\n\n";
}

}  // namespace

void printSkelconvUsage(std::ostream& out) {
  out << "\nUSAGE\n     " << kName << kUsageTail << "\n\nVERSION\n     " << kVersion
      << "\n\nRELEASED\n     " << kReleased << "\n\n";
}

void printSkelconvManualPage(std::ostream& out) {
  std::string forceText = std::string("When used, ") + kName + " will overwrite files without";
  const Param params[] = {
      {"-h", {"Displays this manpage.", nullptr, nullptr}},
      {"-copyright", {"Displays copyright information.", nullptr, nullptr}},
      {"-f", {forceText.c_str(), "verification.", nullptr}},
      {"-p <prefix>",
       {"When used, prefix will be added to the beginning of all",
        "joint names.  This is useful when importing multiple",
        "skeletons into the same Raro scene."}},
      {"asf file", {"The file that contains a skeleton's definition.", nullptr, nullptr}},
      {"mel file", {"The MEL script output file name.", nullptr, nullptr}},
  };
  out << "\nNAME\n     " << kName << " - convert ASF data into a Raro(tm) MEL script.\n\n";
  out << "SYNOPSIS\n     " << kName << kUsageTail << "\n\n";
  printSection(out, "VERSION", kVersion);
  printSection(out, "RELEASED", kReleased);
  out << "DESCRIPTION\n     Converts ASF data into a Raro MEL script.\n\n     " << kName
      << " has the following parameters:\n\n";
  bool first = true;
  for (const Param& p : params) {
    if (!first) out << "\n";
    first = false;
    printParam(out, p);
  }
  out << "\n";
  printSection(out, "SEE ALSO", "motconv");
  out << "AVAILABILITY\n"
         "     The latest version is available from Veltrac, Inc. customer\n"
         "     support.  Please send problem reports to Veltrac, Inc. customer\n"
         "     support, with the command line and the input file that show the\n"
         "     problem.\n\n";
  out << "CREDITS\n"
         "     Written and maintained by the Veltrac, Inc. software group.\n"
         "     Raro is a trademark of its owner.\n\n";
}

void printSkelconvCopyright(std::ostream& out) {
  out << "\nCOPYRIGHT NOTICE\n\n"
         "     "
      << kCopyrightLine
      << "\n\n"
         "     Permission is granted to use, copy, modify and distribute this\n"
         "     program and its documentation under the terms in the file LICENSE\n"
         "     that comes with it, provided that this notice is kept on every copy.\n\n"
         "     This program is provided \"as is\", without warranty of any kind,\n"
         "     either expressed or implied.  The entire risk as to the quality and\n"
         "     performance of the program is with you.\n\n";
}

void printSkelconvVersion(std::ostream& out) {
  out << kName << " " << kVersion << "\n";
}

void printSkelconvVersionBanner(std::ostream& out) {
  out << "\n"
      << kName << " version " << kVersion << "\n\n"
      << kCopyrightLine << "\n\n"
      << std::flush;
}
