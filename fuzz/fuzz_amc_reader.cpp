// The AMC reader on arbitrary text.
#include <sstream>
#include <string>

#include "acclaim/KaAMC.h"
#include "fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRun run;
  KtSetBuild(KtBuild::Motconv);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  KaAMC motion;
  motion.scanFrom(in);
  // Copying re-links every frame to the copy's names; writing walks them.
  if (!theExceptObj.errorOccurred()) {
    KaAMC copy(motion);
    std::ostringstream out;
    copy.printOn(out);
  }
  return 0;
}
