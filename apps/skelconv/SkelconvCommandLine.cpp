#include "apps/skelconv/SkelconvCommandLine.h"

#include <ostream>

#include "apps/skelconv/SkelconvTexts.h"
#include "toolkit/KtJointPrefix.h"

namespace {

constexpr int theFileArgumentCount = 2;

bool isOption(const KtStr& arg, const char* option) {
  return arg.iCmp(option) == 0;
}

}  // namespace

bool parseSkelconvCommandLine(int argc, const char* const* argv, std::ostream& out,
                              std::ostream& err, SkelconvArguments* args, int* exitStatus) {
  *exitStatus = 0;
  if (argc <= 1) {
    printSkelconvUsage(out);
    return false;
  }
  bool manPage = false, copyright = false;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    KtStr opt(argv[i]);
    if (isOption(opt, "-h") || isOption(opt, "--help")) {
      manPage = true;
    } else if (isOption(opt, "--version")) {
      // A text-only request met in the loop: nothing after it is looked at.
      printSkelconvVersion(out);
      return false;
    } else if (isOption(opt, "-copyright")) {
      copyright = true;
    } else if (isOption(opt, "-f")) {
      args->force = true;
    } else if (isOption(opt, "-p")) {
      if (!KtTakeJointPrefixOption(argc, argv, &i, &args->prefix, err)) {
        *exitStatus = 1;
        return false;
      }
    } else {
      err << "\nERROR: Invalid option " << argv[i] << "\n\n";
      *exitStatus = 1;
      return false;
    }
  }
  if (manPage) {
    printSkelconvManualPage(out);
    if (i >= argc && !copyright) return false;
  }
  if (copyright) {
    printSkelconvCopyright(out);
    if (i >= argc) return false;
  }
  printSkelconvVersionBanner(out);
  if (argc - i != theFileArgumentCount) {
    err << "Invalid number of arguments.\n";
    *exitStatus = 1;
    return false;
  }
  args->asfPath = argv[i];
  args->melPath = argv[i + 1];
  return true;
}
