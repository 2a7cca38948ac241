#include "apps/common/ClCommandLine.h"

#include <ostream>

#include "apps/common/ClProgramTexts.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

bool ClIsOption(const char* arg, const char* option) {
  return KtEqualNoCase(arg, option);
}

ClCommonOption ClTakeCommonOption(const ClProgram& program, const char* arg,
                                  ClCommonOptions* options, std::ostream& out) {
  if (ClIsOption(arg, "-h") || ClIsOption(arg, "--help")) {
    options->manualPage = true;
  } else if (ClIsOption(arg, "--version")) {
    ClPrintVersionLine(out, program.name);
    return ClCommonOption::Version;
  } else if (ClIsOption(arg, "-copyright")) {
    options->copyright = true;
  } else if (ClIsOption(arg, "-f")) {
    options->force = true;
  } else {
    return ClCommonOption::Other;
  }
  return ClCommonOption::Taken;
}

bool ClPrintRequestedTexts(const ClProgram& program, const ClCommonOptions& options,
                           bool filesFollow, std::ostream& out) {
  if (options.manualPage) {
    program.printManualPage(out);
    if (!filesFollow && !options.copyright) return false;
  }
  if (options.copyright) {
    ClPrintCopyrightNotice(out);
    if (!filesFollow) return false;
  }
  ClPrintVersionBanner(out, program.name);
  return true;
}

void ClPrintOptionError(std::ostream& err) {
  if (const KtExcept* record = theExceptObj.exception())
    err << "\nERROR: " << record->message().text() << "\n\n";
  theExceptObj.clear();
}
