#include "apps/skelconv/SkelconvTexts.h"

#include <ostream>
#include <string>

#include "RcVersion.h"
#include "apps/common/ClProgramTexts.h"

const char* const theSkelconvName = "skelconv";

namespace {

const char* const kVersion = theProgramVersion;
const char* const kReleased = "December 16, 1998";
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
  out << "\nUSAGE\n     " << theSkelconvName << kUsageTail << "\n\nVERSION\n     " << kVersion
      << "\n\nRELEASED\n     " << kReleased << "\n\n";
}

void printSkelconvManualPage(std::ostream& out) {
  std::string forceText =
      std::string("When used, ") + theSkelconvName + " will overwrite files without";
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
  out << "\nNAME\n     " << theSkelconvName
      << " - convert ASF data into a Raro(tm) MEL script.\n\n";
  out << "SYNOPSIS\n     " << theSkelconvName << kUsageTail << "\n\n";
  printSection(out, "VERSION", kVersion);
  printSection(out, "RELEASED", kReleased);
  out << "DESCRIPTION\n     Converts ASF data into a Raro MEL script.\n\n     " << theSkelconvName
      << " has the following parameters:\n\n";
  bool first = true;
  for (const Param& p : params) {
    if (!first) out << "\n";
    first = false;
    printParam(out, p);
  }
  out << "\n";
  printSection(out, "SEE ALSO", "motconv");
  ClPrintAvailability(out, "input file");
  ClPrintCredits(out);
}
