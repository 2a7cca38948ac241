// motconv's conversion in memory, in the order of the conversion run. The
// input is the ASF text, a line holding only "%%AMC%%", then the AMC text;
// the import script and the MOV table are written with 30 frames per
// second. A run that succeeds must have written only finite numbers and safe
// names, and, when every frame lists the same bones, as many numbers on each
// MOV line as the import script defines channels, plus the time.
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/common/ClScriptName.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MelImportWriter.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MovWriter.h"
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzOutputChecks.h"

static const char kSeparator[] = "\n%%AMC%%\n";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzRun run;
  KtSetBuild(KtBuild::Motconv);
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t cut = text.find(kSeparator);
  if (cut == std::string::npos) return 0;

  std::istringstream asfIn(text.substr(0, cut + 1));
  KaASF skeleton;
  skeleton.scanFrom(asfIn);
  if (fuzzStepFailed()) return 0;

  std::istringstream amcIn(text.substr(cut + sizeof kSeparator - 1));
  KaAMC motion;
  motion.scanFrom(amcIn);
  if (fuzzStepFailed()) return 0;

  checkAMCAgainstASF(skeleton, motion);
  if (fuzzStepFailed()) return 0;

  // The run refuses bone names that cannot go into the import script.
  for (const MotconvChannelBone& bone : motconvChannelBones(skeleton, motion)) {
    if (!ClIsScriptName(bone.name)) return 0;
  }

  std::ostringstream script;
  printMELScript(script, skeleton, motion, 30);
  if (fuzzStepFailed()) return 0;

  std::ostringstream table;
  printMOV(table, skeleton, motion, 30);
  if (fuzzStepFailed()) return 0;

  std::set<std::string> names = {"root"};
  for (const KaASFBone* bone : skeleton.bones) names.insert(bone->name.text());
  fuzzCheckScript(script.str(), names);

  bool sameBones = true;
  for (const KaAMCField& frame : motion.fields) {
    const KaAMCField& first = motion.fields[0];
    sameBones = sameBones && frame.bones.count() == first.bones.count();
    for (int i = 0; sameBones && i < frame.bones.count(); ++i) {
      const KtStr* a = frame.bones[i].name;
      const KtStr* b = first.bones[i].name;
      sameBones = a && b && std::strcmp(a->text(), b->text()) == 0;
    }
  }
  fuzzCheckMov(table.str(), sameBones ? 1 + fuzzScriptChannelCount(script.str()) : -1);
  return 0;
}
