#include "apps/motconv/MotconvRun.h"

#include <unistd.h>

#include <fstream>
#include <iostream>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MelImportWriter.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MovWriter.h"
#include "toolkit/KtConfirmOverwrite.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFilePath.h"
#include "toolkit/KtJointPrefix.h"
#include "toolkit/KtPathCheck.h"
#include "toolkit/KtScriptName.h"

namespace {

// Names end up in a script that Raro executes, as channel, joint and filter
// names: one that holds anything but ASCII letters, digits and underscores
// could end a statement or a string there.
bool refuseUnsafeFilterNames() {
  KtStr rest = filterList;
  for (KtStr name = rest.extractFirstToken(" \t\n\r"); !name.isNull();
       name = rest.extractFirstToken(" \t\n\r")) {
    if (!KtIsScriptName(name.text())) {
      KtError("Filter \"%s\" cannot be named in the import script, whose names may hold only "
              "ASCII letters, digits and underscores.",
              name.text());
      return true;
    }
  }
  return false;
}

bool refuseUnsafeBoneNames(const KaASF& skeleton, const KaAMC& motion) {
  for (const MotconvChannelBone& bone : motconvChannelBones(skeleton, motion)) {
    if (!KtIsScriptName(bone.name)) {
      KtError("Bone \"%s\" cannot be named in the import script, whose names may hold only "
              "ASCII letters, digits and underscores.",
              bone.name);
      return true;
    }
  }
  return false;
}

// With a joint-name prefix the import script names the joints as the
// skeleton script does, and those names must be script names as well.
bool refuseUnsafeJointNames(const KaASF& skeleton, const KaAMC& motion, const KtStr& prefix) {
  for (const MotconvChannelBone& bone : motconvChannelBones(skeleton, motion)) {
    if (!KtIsScriptName(KtJointName(prefix, bone.name))) {
      KtRecordUnsafeJointName(prefix, bone.name);
      return true;
    }
  }
  return false;
}

// The readers open a missing walk.amc as walk.amc.gz or walk.amc.Z, so the
// access check looks at the name the file will be read under.
template <class Model>
bool readInput(Model* model, const char* path) {
  KtPathCheckReadAccess(KtFileCompressedName(path).text());
  if (KtCheckException()) return false;
  std::cout << "Reading file: " << path << " ..." << std::flush;
  model->read(path);
  if (KtCheckException()) return false;
  std::cout << "done.\n" << std::flush;
  return true;
}

}  // namespace

bool confirmOverwrite(const char* path) {
  return KtConfirmOverwrite(path, "' exists.", std::cin, std::cout);
}

void writeOutputFile(const char* path, const MotconvContentWriter& writer, const KaASF& skeleton,
                     const KaAMC& motion, int fps) {
  if (!KtPathCheckWriteAccess(path)) return;
  std::cout << "Writing \"" << path << "\"..." << std::flush;
  std::ofstream out(path, std::ios::out | std::ios::trunc);
  if (!out.is_open()) {
    std::cout << "done.\n" << std::flush;
    KtError("Unable to open \"%s\".", path);
    return;
  }
  writer(out, skeleton, motion, fps);
  // A write the system refused (a full disk, say) is a failure too, not a
  // file reported as written.
  out.flush();
  if (!out && !theExceptObj.errorOccurred()) KtError("Unable to write to \"%s\".", path);
  std::cout << "done.\n" << std::flush;
  if (theExceptObj.errorOccurred()) KtError("Unable to save \"%s\".", path);
}

int runMotconv(const MotconvArguments& args) {
  if (refuseUnsafeFilterNames()) {
    KtCheckException();
    return 1;
  }

  KaASF skeleton;
  if (!readInput(&skeleton, args.asfPath)) return 1;
  KaAMC motion;
  if (!readInput(&motion, args.amcPath)) return 1;

  checkAMCAgainstASF(skeleton, motion);
  if (KtCheckException()) return 1;

  if (refuseUnsafeBoneNames(skeleton, motion) ||
      (args.jointPrefixGiven && refuseUnsafeJointNames(skeleton, motion, args.jointPrefix))) {
    KtCheckException();
    return 1;
  }

  if (args.force || confirmOverwrite(args.melPath)) {
    const KtStr* jointPrefix = args.jointPrefixGiven ? &args.jointPrefix : nullptr;
    writeOutputFile(
        args.melPath,
        [jointPrefix](std::ostream& out, const KaASF& s, const KaAMC& m, int fps) {
          printMELScript(out, s, m, fps, jointPrefix);
        },
        skeleton, motion, args.fps);
    if (KtCheckException()) return 1;
  }
  if (args.force || confirmOverwrite(args.movPath)) {
    writeOutputFile(args.movPath, printMOV, skeleton, motion, args.fps);
    if (KtCheckException()) return 1;
  }
  return 0;
}
