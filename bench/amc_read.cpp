// Reads one AMC file frame by frame, the way motconv does, and prints the
// number of frames read: a measure of the AMC reader on its own.
//   amc_read file.amc

#include <iostream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaAMCFrameReader.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: amc_read file.amc\n";
    return 2;
  }
  KtSetBuild(KtBuild::Motconv);
  KaAMCFrameReader reader;
  if (reader.open(argv[1])) {
    KaAMCField frame;
    while (reader.next(&frame)) {
    }
    reader.close();
  }
  if (KtCheckException()) return 1;
  std::cout << reader.framesRead() << " frames\n";
  return 0;
}
