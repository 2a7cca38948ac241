#include "apps/motconv/MotconvRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <memory>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "acclaim/KaASFBoneNames.h"
#include "apps/common/ClConfirmOverwrite.h"
#include "apps/common/ClJointPrefix.h"
#include "apps/common/ClOutputsDistinct.h"
#include "apps/common/ClScriptName.h"
#include "apps/common/ClStagedOutputFile.h"
#include "apps/common/ClWriteOutputFile.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MelImportWriter.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MotconvTake.h"
#include "toolkit/KtExcept.h"
#include "toolkit/KtFilePath.h"
#include "toolkit/KtPathCheck.h"

namespace {

// Names end up in a script that Raro executes, as channel, joint and filter
// names: one that holds anything but ASCII letters, digits and underscores
// could end a statement or a string there.
bool refuseUnsafeFilterNames() {
  for (const KtStr& name : motconvFilterNames()) {
    if (!ClIsScriptName(name.text())) {
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
    if (!ClIsScriptName(bone.name)) {
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
    if (!ClIsScriptName(ClJointName(prefix, bone.name))) {
      ClRecordUnsafeJointName(prefix, bone.name);
      return true;
    }
  }
  return false;
}

// The readers open a missing walk.amc as walk.amc.gz or walk.amc.Z, so the
// access check looks at the name the file will be read under.
bool checkReadAccess(const char* path) {
  KtPathCheckReadAccess(KtFileCompressedName(path).text());
  return !KtCheckException();
}

bool readSkeleton(KaASF* skeleton, const char* path) {
  if (!checkReadAccess(path)) return false;
  std::cout << "Reading file: " << path << " ..." << std::flush;
  skeleton->read(path);
  if (KtCheckException()) return false;
  std::cout << "done.\n" << std::flush;
  return true;
}

// An output may name neither an input, under its own name or under the
// compressed name it is read under, nor the other output.
bool refuseAliasedOutputs(const MotconvArguments& args) {
  const KtStr asfRead = KtFileCompressedName(args.asfPath);
  const KtStr amcRead = KtFileCompressedName(args.amcPath);
  return !ClCheckOutputsDistinct(
      std::vector<ClInputPath>{{args.asfPath, asfRead.text()}, {args.amcPath, amcRead.text()}},
      {args.melPath, args.movPath});
}

// A line that closes the error paragraph, after the most detailed reason.
void addClosingLine(const KtStr& line) {
  KtExcept* oldest = theExceptObj.exception();
  if (!oldest) return;
  while (oldest->hasDetail()) oldest = oldest->detail();
  oldest->extend(line.text());
}

// The error paragraph of a failed MOV file ends by saying that the import
// script written before it was dropped as well, and the other way round.
void recordImportScriptDropped(const char* melPath) {
  addClosingLine(KtStr("The import script \"") + melPath + "\" was not kept.");
}

void recordMovDropped(const char* movPath) {
  addClosingLine(KtStr("The MOV file \"") + movPath + "\" was not kept.");
}

// When the import script cannot follow the MOV file into place, the
// paragraph says that the MOV file has changed all the same.
void recordMovAlreadyInPlace(const char* movPath, bool replaced) {
  addClosingLine(KtStr("The MOV file \"") + movPath +
                 (replaced ? "\" was already replaced." : "\" was already written."));
}

bool somethingExistsAt(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0;
}

// Puts the finished MOV file and, when there is one, the held import
// script in place, so that a failure leaves the pair as it was wherever
// the system allows: everything that can refuse them refuses before either
// is touched (the outputs checked again for aliases now that their
// temporary files show whether their folders fold case, and each checked
// to be installable); after the MOV file, the import script's target is
// checked once more not to be the file just put in place. True on success;
// a failure is recorded.
bool installOutputs(KtOutputFile& mov, KtOutputFile* mel, const MotconvArguments& args) {
  if (mel) {
    if (!ClCheckOutputsDistinct(std::vector<const char*>{}, {args.melPath, args.movPath}))
      return false;
    if (!ClCheckOutputInstallable(mov, args.movPath)) {
      recordImportScriptDropped(args.melPath);
      return false;
    }
    if (!ClCheckOutputInstallable(*mel, args.melPath)) {
      recordMovDropped(args.movPath);
      return false;
    }
  }
  const bool replacesMov = somethingExistsAt(args.movPath);
  if (!ClInstallOutputFile(mov, args.movPath)) {
    if (mel) recordImportScriptDropped(args.melPath);
    return false;
  }
  if (!mel) return true;
  if (!ClCheckOutputsDistinct(std::vector<const char*>{}, {args.melPath, args.movPath}) ||
      !ClInstallOutputFile(*mel, args.melPath)) {
    recordMovAlreadyInPlace(args.movPath, replacesMov);
    return false;
  }
  return true;
}

}  // namespace

bool confirmOverwrite(const char* path) {
  return ClConfirmOverwrite(path, "' exists.", std::cin, std::cout);
}

int runMotconv(const MotconvArguments& args) {
  if (refuseUnsafeFilterNames() ||
      (args.jointPrefixGiven && !ClCheckJointPrefix(args.jointPrefix))) {
    KtCheckException();
    return 1;
  }

  if (refuseAliasedOutputs(args)) {
    KtCheckException();
    return 1;
  }

  KaASF skeleton;
  if (!readSkeleton(&skeleton, args.asfPath)) return 1;
  // Bones the take's lookup cannot tell apart would share joints and
  // device channels.
  if (!KaASFCheckUniqueBoneNames(skeleton.bones)) {
    KtCheckException();
    return 1;
  }

  // The channel table is converted while the take is read, into the MOV
  // file's staged file; the take itself is never held. The user is asked
  // about the outputs only once all of it has been read and checked.
  if (!checkReadAccess(args.amcPath)) return 1;
  ClStagedOutputFile mov(args.movPath);
  const MotconvCaptureRate* capture = args.captureGiven ? &args.capture : nullptr;
  MotconvTake take(skeleton, args.fps, capture);
  if (!take.read(args.amcPath, mov.stream(), std::cout)) return 1;
  const KaAMC& motion = take.motion();

  checkAMCAgainstASF(skeleton, motion);
  if (KtCheckException()) return 1;
  // The first frame's disagreements were only warnings; one in any frame
  // would stop the channel table half written, so it stops the run here.
  if (take.recordCheck()) {
    KtCheckException();
    return 1;
  }
  if (KtCheckException()) return 1;

  if (refuseUnsafeBoneNames(skeleton, motion) ||
      (args.jointPrefixGiven && refuseUnsafeJointNames(skeleton, motion, args.jointPrefix))) {
    KtCheckException();
    return 1;
  }

  // The import script is put in place only once the channel table has
  // been written too, so that a run that fails leaves both outputs as they
  // were.
  std::unique_ptr<KtOutputFile> mel;
  if (args.common.force || confirmOverwrite(args.melPath)) {
    const KtStr* jointPrefix = args.jointPrefixGiven ? &args.jointPrefix : nullptr;
    mel = ClWriteOutputFileHeld(
        args.melPath,
        [&, jointPrefix](std::ostream& out) {
          printMELScript(out, skeleton, motion, args.fps, jointPrefix, capture);
        },
        std::cout);
    if (KtCheckException()) return 1;
  }
  if (!args.common.force && !confirmOverwrite(args.movPath)) {
    mov.discard();
    if (mel && !ClInstallOutputFile(*mel, args.melPath)) {
      KtCheckException();
      return 1;
    }
    return 0;
  }
  std::unique_ptr<KtOutputFile> movFile =
      mov.writeHeld(std::cout, [&](std::ostream&) { take.recordConversionFailure(); });
  if (!movFile) {
    if (mel) recordImportScriptDropped(args.melPath);
    KtCheckException();
    return 1;
  }
  if (!installOutputs(*movFile, mel.get(), args)) {
    KtCheckException();
    return 1;
  }
  return 0;
}
