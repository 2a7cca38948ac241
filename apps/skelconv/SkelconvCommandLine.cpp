#include "apps/skelconv/SkelconvCommandLine.h"

#include <iostream>

#include "apps/skelconv/SkelconvTexts.h"
#include "toolkit/KtJointPrefix.h"

int SkelconvParseCommandLine(int argc, char **argv, SkelconvArgs &args) {
  if (argc <= 1) {
    SkelconvPrintUsage(std::cout);
    return 0;
  }
  bool manPage = false, copyright = false;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    KtStr opt(argv[i]);
    if (opt.iCmp("-h") == 0 || opt.iCmp("--help") == 0)
      manPage = true;
    else if (opt.iCmp("--version") == 0) {
      // A text-only request met in the loop: nothing after it is looked at.
      SkelconvPrintVersion(std::cout);
      return 0;
    }
    else if (opt.iCmp("-copyright") == 0)
      copyright = true;
    else if (opt.iCmp("-f") == 0)
      args.force = true;
    else if (opt.iCmp("-p") == 0) {
      if (!KtTakeJointPrefixOption(argc, argv, &i, &args.prefix, std::cerr)) return 1;
    } else {
      std::cerr << "\nERROR: Invalid option " << argv[i] << "\n\n";
      return 1;
    }
  }
  if (manPage) {
    SkelconvPrintManPage(std::cout);
    if (i >= argc && !copyright) return 0;
  }
  if (copyright) {
    SkelconvPrintCopyright(std::cout);
    if (i >= argc) return 0;
  }
  SkelconvPrintBanner(std::cout);
  if (argc - i != 2) {
    std::cerr << "Invalid number of arguments.\n";
    return 1;
  }
  args.asfPath = argv[i];
  args.melPath = argv[i + 1];
  return -1;
}
