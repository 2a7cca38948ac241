#include "apps/motconv/MelImportWriter.h"

#include <ostream>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/common/ClJointPrefix.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MotconvCommandLine.h"
#include "apps/motconv/MotconvFrameRates.h"
#include "apps/motconv/MotconvTexts.h"
#include "apps/motconv/TakeResampler.h"

namespace {

const char* const theDevice = "amc_device";

// A device channel: its name suffix and usage, and the joint attribute it
// drives.
struct ChannelKind {
  const char* usage;
  const char* attribute;
};

const ChannelKind theTranslationChannels[] = {
    {"posX", "translateX"}, {"posY", "translateY"}, {"posZ", "translateZ"}};

// The rotation channel of a dof code, null for the other codes.
const ChannelKind* rotationChannel(int code) {
  static const ChannelKind rotations[] = {
      {"rotX", "rotateX"}, {"rotY", "rotateY"}, {"rotZ", "rotateZ"}};
  return code >= KaRX && code <= KaRZ ? &rotations[code - KaRX] : nullptr;
}

// Calls visit(kind) for every channel of a bone, in channel order.
template <class Visit>
void forEachChannel(const MotconvChannelBone& bone, Visit visit) {
  if (hasTranslationDOF(*bone.dofs)) {
    for (const ChannelKind& kind : theTranslationChannels) visit(kind);
  }
  for (const KaASFDOF* dof : bone.dofs->dofs) {
    if (const ChannelKind* kind = rotationChannel(dof->dof)) visit(*kind);
  }
}

void writeHeader(std::ostream& out) {
  out << "//\n"
      << "// MEL script created by " << theMotconvName << " version " << theMotconvVersion << "\n"
      << "//\n"
      << "// Veltrac, Inc.\n"
      << "//\n"
      << "\n"
      << "\n";
}

// The joint a bone's channels drive: <prefix><bone> with a joint-name
// prefix (the skeleton script's names), else <bone>_joint.
KtStr jointName(const MotconvChannelBone& bone, const KtStr* jointPrefix) {
  if (jointPrefix) return ClJointName(*jointPrefix, bone.name);
  KtStr name(bone.name);
  name += "_joint";
  return name;
}

void writeCreateDeviceProcedure(std::ostream& out, const std::vector<MotconvChannelBone>& bones,
                                const KtStr* jointPrefix) {
  out << "proc createAMCDevice()\n"
      << "{\n"
      << "  defineVirtualDevice -create;\n";
  int axis = 0;
  for (const MotconvChannelBone& bone : bones) {
    forEachChannel(bone, [&](const ChannelKind& kind) {
      out << "  defineVirtualDevice -channel " << bone.name << "_" << kind.usage << " -usage "
          << kind.usage << " -axis " << axis++ << ";\n";
    });
  }
  out << "  defineVirtualDevice -device \"" << theDevice << "\";\n"
      << "\n";
  for (const MotconvChannelBone& bone : bones) {
    const KtStr joint = jointName(bone, jointPrefix);
    forEachChannel(bone, [&](const ChannelKind& kind) {
      out << "  attachDeviceAttr -device \"" << theDevice << "\" -axis \"" << bone.name << "_"
          << kind.usage << "\" \"" << joint << "." << kind.attribute << "\";\n";
    });
  }
  out << "}\n"
      << "\n";
}

void writeDeviceProcedures(std::ostream& out) {
  out << "proc int amcDeviceExists()\n"
      << "{\n"
      << "  string $all_devices[] = `listInputDevices`;\n"
      << "\n"
      << "  for ($device in $all_devices) {\n"
      << "    if ($device==\"" << theDevice << "\")\n"
      << "      return 1;\n"
      << "  }\n"
      << "\n"
      << "  return 0;\n"
      << "}\n"
      << "\n"
      << "proc deleteAMCDevice()\n"
      << "{\n"
      << "  defineVirtualDevice -device \"" << theDevice << "\" -undefine;\n"
      << "}\n"
      << "\n";
}

void writeDeviceProcedure(std::ostream& out, const KaASF& skeleton, const KaAMC& motion,
                          const KtStr* jointPrefix) {
  writeCreateDeviceProcedure(out, motconvChannelBones(skeleton, motion), jointPrefix);
  writeDeviceProcedures(out);
}

void writeFilterProcedures(std::ostream& out) {
  out << "proc string[] activeFilters()\n"
      << "{\n"
      << "  string $filters[] = `ls -type filter`;\n"
      << "  string $active[];\n"
      << "  int    $active_i=0;\n"
      << "\n"
      << "  for ($f in $filters) {\n"
      << "    if (`filter -query -deviceEditorActive $f`) {\n"
      << "      $active[$active_i] = $f;\n"
      << "      ++$active_i;\n"
      << "    }\n"
      << "  }\n"
      << "\n"
      << "  return $active;\n"
      << "}\n"
      << "\n"
      << "proc int verifyFilters(string $filters[])\n"
      << "{\n"
      << "  string $active_filters[] = activeFilters();\n"
      << "\n"
      << "  for ($f in $filters) {\n"
      << "    int $exists = 0;\n"
      << "\n"
      << "    for ($a in $active_filters) {\n"
      << "      if ($a==$f) {\n"
      << "        $exists = 1;\n"
      << "        break;\n"
      << "      }\n"
      << "    }\n"
      << "\n"
      << "    if (!$exists) {\n"
      << "      print(\"\\n// Filter \" + $f + \" does not exist or is not active.\\n\\n\");\n"
      << "      return 0;\n"
      << "    }\n"
      << "  }\n"
      << "\n"
      << "  return 1;\n"
      << "}\n"
      << "\n";
}

// The take's angle unit as readTake declares it: the MOV rotation values
// are the AMC's own, so a :RADIANS take is read as radians.
const char* angleUnit(int degrees) {
  return degrees ? "degree" : "radian";
}

void writeMainProcedure(std::ostream& out, const std::vector<KtStr>& filters, long long firstFrame,
                        int fps, int degrees) {
  out << "proc importAMC()\n"
      << "{\n";
  if (!filters.empty()) {
    out << "  {\n"
        << "    string $filters[] = {";
    for (size_t i = 0; i < filters.size(); ++i) out << (i ? "," : "") << "\"" << filters[i] << "\"";
    out << "};\n"
        << "\n"
        << "    if (!verifyFilters($filters))\n"
        << "      return;\n"
        << "  }\n"
        << "\n";
  }
  out << "  if (amcDeviceExists())\n"
      << "    deleteAMCDevice();\n"
      << "\n"
      << "  createAMCDevice;\n"
      << "  print(\"\\n// Select MOV file to import.\\n\");\n"
      << "\n"
      << "  string $mov_file = `fileDialog`;\n"
      << "\n"
      << "  if (\"\"!=$mov_file) {\n"
      << "    currentUnit -time " << motconvFindFrameRate(fps)->timeUnit
      << "    readTake -device \"" << theDevice << "\" -angle \"" << angleUnit(degrees)
      << "\" -linear \"inch\" -take $mov_file;\n"
      << "    applyTake -device \"" << theDevice << "\"";
  for (const KtStr& name : filters) out << " -f " << name;
  out << ";\n"
      << "    currentTime -edit " << firstFrame << ";\n"
      << "    playbackOptions -minTime " << firstFrame << ";\n"
      << "    fitAllPanels -all;\n"
      << "  }\n\n"
      << "  deleteAMCDevice;\n"
      << "}\n\n"
      << "importAMC;\n";
}

}  // namespace

void printMELScript(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps,
                    const KtStr* jointPrefix, const MotconvCaptureRate* capture) {
  if (motion.fields.isEmpty() || !motconvFindFrameRate(fps)) return;
  const std::vector<KtStr> filters = motconvFilterNames();
  writeHeader(out);
  writeDeviceProcedure(out, skeleton, motion, jointPrefix);
  if (!filters.empty()) writeFilterProcedures(out);
  const int first = motion.fields[0].number;
  writeMainProcedure(out, filters, capture ? motconvFirstSceneFrame(first, *capture, fps) : first,
                     fps, motion.degrees);
}
