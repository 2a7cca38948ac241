#include "apps/common/ClOutputsDistinct.h"

#include "toolkit/KtExcept.h"
#include "toolkit/KtFileIdentity.h"

bool ClCheckOutputsDistinct(const std::vector<ClInputPath>& inputs,
                            const std::vector<const char*>& outputs) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    // Writing a device such as /dev/null twice, or reading from it, harms
    // no file.
    if (KtFileIsCharacterDevice(outputs[i])) continue;
    for (const ClInputPath& input : inputs) {
      if (KtFileIsSameFile(outputs[i], input.path) || KtFileIsSameFile(outputs[i], input.readAs)) {
        KtError("The output file \"%s\" is the same file as the input file \"%s\".", outputs[i],
                input.readAs);
        return false;
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (KtFileIsSameFile(outputs[j], outputs[i])) {
        KtError("The output files \"%s\" and \"%s\" are the same file.", outputs[j], outputs[i]);
        return false;
      }
    }
  }
  return true;
}

bool ClCheckOutputsDistinct(const std::vector<const char*>& inputs,
                            const std::vector<const char*>& outputs) {
  std::vector<ClInputPath> named;
  for (const char* input : inputs) named.push_back({input, input});
  return ClCheckOutputsDistinct(named, outputs);
}
