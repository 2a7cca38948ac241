// Reads one AMC file the way motconv does and prints the number of frames
// read: a measure of the AMC reader on its own.
//   amc_read file.amc

#include <iostream>

#include "acclaim/KaAMC.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: amc_read file.amc\n";
    return 2;
  }
  KtSetBuild(KtBuild::Motconv);
  KaAMC motion;
  motion.read(argv[1]);
  if (KtCheckException()) return 1;
  std::cout << motion.fields.count() << " frames\n";
  return 0;
}
