#include "apps/skelconv/SkelconvCommandLine.h"

#include <ostream>

#include "apps/common/ClJointPrefix.h"
#include "apps/skelconv/SkelconvTexts.h"

namespace {

constexpr int theFileArgumentCount = 2;

const ClProgram theProgram = {theSkelconvName, printSkelconvManualPage};

}  // namespace

bool parseSkelconvCommandLine(int argc, const char* const* argv, std::ostream& out,
                              std::ostream& err, SkelconvArguments* args, int* exitStatus) {
  *exitStatus = 0;
  if (argc <= 1) {
    printSkelconvUsage(out);
    return false;
  }
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const char* arg = argv[i];
    const ClCommonOption common = ClTakeCommonOption(theProgram, arg, &args->common, out);
    if (common == ClCommonOption::Version) return false;
    if (common == ClCommonOption::Taken) continue;
    if (ClIsOption(arg, "-p")) {
      if (!ClTakeJointPrefixOption(argc, argv, &i, &args->prefix)) {
        ClPrintOptionError(err);
        *exitStatus = 1;
        return false;
      }
    } else {
      err << "\nERROR: Invalid option " << arg << "\n\n";
      *exitStatus = 1;
      return false;
    }
  }
  if (!ClPrintRequestedTexts(theProgram, args->common, i < argc, out)) return false;
  if (argc - i != theFileArgumentCount) {
    err << "Invalid number of arguments.\n";
    *exitStatus = 1;
    return false;
  }
  args->asfPath = argv[i];
  args->melPath = argv[i + 1];
  return true;
}
