#include "apps/motconv/MotconvRun.h"

#include <unistd.h>

#include <functional>
#include <iostream>
#include <memory>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "acclaim/KaASFBoneNames.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MelImportWriter.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MovWriter.h"
#include "apps/motconv/TakeCheck.h"
#include "toolkit/KtConfirmOverwrite.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFileIdentity.h"
#include "toolkit/KtFilePath.h"
#include "toolkit/KtJointPrefix.h"
#include "toolkit/KtOutputFile.h"
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
      KtError(
          "Filter \"%s\" cannot be named in the import script, whose names may hold only "
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
      KtError(
          "Bone \"%s\" cannot be named in the import script, whose names may hold only "
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

// An output may name neither an input, under its own name or under the
// compressed name it is read under, nor the other output.
bool refuseAliasedOutputs(const MotconvArguments& args) {
  const KtStr asfRead = KtFileCompressedName(args.asfPath);
  const KtStr amcRead = KtFileCompressedName(args.amcPath);
  return !KtPathCheckOutputsDistinct(
      std::vector<KtInputPath>{{args.asfPath, asfRead.text()}, {args.amcPath, amcRead.text()}},
      {args.melPath, args.movPath});
}

using ContentWriter = void (*)(std::ostream&, const KaASF&, const KaAMC&, int);

std::function<void(std::ostream&)> contentOf(ContentWriter writer, const KaASF& skeleton,
                                             const KaAMC& motion, int fps) {
  return [=, &skeleton, &motion](std::ostream& out) { writer(out, skeleton, motion, fps); };
}

}  // namespace

bool confirmOverwrite(const char* path) {
  return KtConfirmOverwrite(path, "' exists.", std::cin, std::cout);
}

int runMotconv(const MotconvArguments& args) {
  if (refuseUnsafeFilterNames() ||
      (args.jointPrefixGiven && !KtCheckJointPrefix(args.jointPrefix))) {
    KtCheckException();
    return 1;
  }

  if (refuseAliasedOutputs(args)) {
    KtCheckException();
    return 1;
  }

  KaASF skeleton;
  if (!readInput(&skeleton, args.asfPath)) return 1;
  // Bones the take's lookup cannot tell apart would share joints and
  // device channels.
  if (!KaASFCheckUniqueBoneNames(skeleton.bones)) {
    KtCheckException();
    return 1;
  }
  KaAMC motion;
  if (!readInput(&motion, args.amcPath)) return 1;

  checkAMCAgainstASF(skeleton, motion);
  if (KtCheckException()) return 1;
  // The first frame's disagreements were only warnings; one in any frame
  // would stop the channel table half written, so it stops the run here.
  if (!checkTakeAgainstSkeleton(skeleton, motion)) {
    KtCheckException();
    return 1;
  }

  if (refuseUnsafeBoneNames(skeleton, motion) ||
      (args.jointPrefixGiven && refuseUnsafeJointNames(skeleton, motion, args.jointPrefix))) {
    KtCheckException();
    return 1;
  }

  // The import script is put in place only once the channel table has
  // been written too, so that a run that fails leaves both outputs as they
  // were.
  std::unique_ptr<KtOutputFile> mel;
  if (args.force || confirmOverwrite(args.melPath)) {
    const KtStr* jointPrefix = args.jointPrefixGiven ? &args.jointPrefix : nullptr;
    mel = KtWriteOutputFileHeld(
        args.melPath,
        [&, jointPrefix](std::ostream& out) {
          printMELScript(out, skeleton, motion, args.fps, jointPrefix);
        },
        std::cout);
    if (KtCheckException()) return 1;
  }
  if (args.force || confirmOverwrite(args.movPath)) {
    KtWriteOutputFile(args.movPath, contentOf(printMOV, skeleton, motion, args.fps), std::cout);
    if (KtCheckException()) return 1;
  }
  if (mel && !KtInstallOutputFile(*mel, args.melPath)) {
    KtCheckException();
    return 1;
  }
  return 0;
}
