// The ASF reader on arbitrary text, in either build's behaviour.
#include <sstream>

#include "acclaim/KaASF.h"
#include "fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRun run;
  std::istringstream in(fuzzTakeBuildByte(data, size));
  KaASF skeleton;
  skeleton.scanFrom(in);
  // A read skeleton must survive copying, assignment and writing as well.
  if (!theExceptObj.errorOccurred()) {
    KaASF copy(skeleton);
    KaASF assigned;
    assigned = copy;
    std::ostringstream out;
    assigned.printOn(out);
    copy.printBoneListOn(out);
  }
  return 0;
}
