#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/MelImportWriter.h"
#include "apps/motconv/MotconvCommandLine.h"
#include "tests/apps/motconv/MotconvTestModels.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

using motconvtest::asfText;
using motconvtest::readMotion;
using motconvtest::readSkeleton;

namespace {

class MelImportWriter : public motconvtest::MotconvBuild {
 protected:
  // The script for a skeleton and a motion given as text.
  std::string script(const std::string& asf, const std::string& amc, int fps) {
    KaASF skeleton;
    readSkeleton(&skeleton, asf);
    KaAMC motion;
    readMotion(&motion, amc);
    std::ostringstream out;
    printMELScript(out, skeleton, motion, fps);
    EXPECT_FALSE(theExceptObj.exceptionOccurred());
    return out.str();
  }
};

const std::string kLfemurASF = asfText("TX TY TZ RX RY RZ", {{"lfemur", "rx ry rz"}});
const std::string kLfemurAMC =
    ":FULLY-SPECIFIED\n:DEGREES\n1\nroot 1 2 3 4 5 6\nlfemur 7 8 9\n"
    "2\nroot 1 2 3 4 5 6\nlfemur 7 8 9\n";

// Items up to the end of createAMCDevice for the root and lfemur.
const std::string kLfemurHead = R"(//
// MEL script created by motconv version 1.1
//
// Veltrac, Inc.
//


proc createAMCDevice()
{
  defineVirtualDevice -create;
  defineVirtualDevice -channel root_posX -usage posX -axis 0;
  defineVirtualDevice -channel root_posY -usage posY -axis 1;
  defineVirtualDevice -channel root_posZ -usage posZ -axis 2;
  defineVirtualDevice -channel root_rotX -usage rotX -axis 3;
  defineVirtualDevice -channel root_rotY -usage rotY -axis 4;
  defineVirtualDevice -channel root_rotZ -usage rotZ -axis 5;
  defineVirtualDevice -channel lfemur_rotX -usage rotX -axis 6;
  defineVirtualDevice -channel lfemur_rotY -usage rotY -axis 7;
  defineVirtualDevice -channel lfemur_rotZ -usage rotZ -axis 8;
  defineVirtualDevice -device "amc_device";

  attachDeviceAttr -device "amc_device" -axis "root_posX" "root_joint.translateX";
  attachDeviceAttr -device "amc_device" -axis "root_posY" "root_joint.translateY";
  attachDeviceAttr -device "amc_device" -axis "root_posZ" "root_joint.translateZ";
  attachDeviceAttr -device "amc_device" -axis "root_rotX" "root_joint.rotateX";
  attachDeviceAttr -device "amc_device" -axis "root_rotY" "root_joint.rotateY";
  attachDeviceAttr -device "amc_device" -axis "root_rotZ" "root_joint.rotateZ";
  attachDeviceAttr -device "amc_device" -axis "lfemur_rotX" "lfemur_joint.rotateX";
  attachDeviceAttr -device "amc_device" -axis "lfemur_rotY" "lfemur_joint.rotateY";
  attachDeviceAttr -device "amc_device" -axis "lfemur_rotZ" "lfemur_joint.rotateZ";
}

)";

const std::string kDeviceProcedures = R"(proc int amcDeviceExists()
{
  string $all_devices[] = `listInputDevices`;

  for ($device in $all_devices) {
    if ($device=="amc_device")
      return 1;
  }

  return 0;
}

proc deleteAMCDevice()
{
  defineVirtualDevice -device "amc_device" -undefine;
}

)";

const std::string kFilterProcedures = R"(proc string[] activeFilters()
{
  string $filters[] = `ls -type filter`;
  string $active[];
  int    $active_i=0;

  for ($f in $filters) {
    if (`filter -query -deviceEditorActive $f`) {
      $active[$active_i] = $f;
      ++$active_i;
    }
  }

  return $active;
}

proc int verifyFilters(string $filters[])
{
  string $active_filters[] = activeFilters();

  for ($f in $filters) {
    int $exists = 0;

    for ($a in $active_filters) {
      if ($a==$f) {
        $exists = 1;
        break;
      }
    }

    if (!$exists) {
      print("\n// Filter " + $f + " does not exist or is not active.\n\n");
      return 0;
    }
  }

  return 1;
}

)";

const std::string kMainStart = "proc importAMC()\n{\n";

const std::string kMainBody = R"(  if (amcDeviceExists())
    deleteAMCDevice();

  createAMCDevice;
  print("\n// Select MOV file to import.\n");

  string $mov_file = `fileDialog`;

  if (""!=$mov_file) {
    currentUnit -time ntsc;
    readTake -device "amc_device" -angle "degree" -linear "inch" -take $mov_file;
)";

const std::string kMainEnd = R"(    currentTime -edit 1;
    playbackOptions -minTime 1;
    fitAllPanels -all;
  }

  deleteAMCDevice;
}

importAMC;
)";

const std::string kNoFilterScript = kLfemurHead + kDeviceProcedures + kMainStart + kMainBody +
                                    "    applyTake -device \"amc_device\";\n" + kMainEnd;

const std::string kEulerSimplifyScript =
    kLfemurHead + kDeviceProcedures + kFilterProcedures + kMainStart +
    "  {\n"
    "    string $filters[] = {\"euler\",\"simplify\"};\n"
    "\n"
    "    if (!verifyFilters($filters))\n"
    "      return;\n"
    "  }\n"
    "\n" +
    kMainBody + "    applyTake -device \"amc_device\" -f euler -f simplify;\n" + kMainEnd;

// The lines between "  defineVirtualDevice -create;" and the device line,
// and between the empty line after it and the closing brace.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  size_t begin = text.find(from);
  if (begin == std::string::npos) return "<no " + from + ">";
  begin += from.size();
  size_t end = text.find(to, begin);
  if (end == std::string::npos) return "<no " + to + ">";
  return text.substr(begin, end - begin);
}

std::string channelLines(const std::string& script) {
  return between(script, "  defineVirtualDevice -create;\n",
                 "  defineVirtualDevice -device \"amc_device\";\n");
}

std::string attachLines(const std::string& script) {
  return between(script, "  defineVirtualDevice -device \"amc_device\";\n\n", "}\n");
}

}  // namespace

TEST_F(MelImportWriter, WithoutFiltersTheScriptHoldsDeviceAndImportProceduresOnly) {
  EXPECT_EQ(script(kLfemurASF, kLfemurAMC, 30), kNoFilterScript);
}

TEST_F(MelImportWriter, TwoFiltersAddTheirProceduresTheCheckBlockAndTheTakeFlags) {
  filterList = "euler simplify";
  EXPECT_EQ(script(kLfemurASF, kLfemurAMC, 30), kEulerSimplifyScript);

  // Any run of blanks, tabs, line feeds and carriage returns separates names.
  filterList = "\teuler \r\n  simplify\n";
  EXPECT_EQ(script(kLfemurASF, kLfemurAMC, 30), kEulerSimplifyScript);

  filterList = "simplify";
  std::string one = script(kLfemurASF, kLfemurAMC, 30);
  EXPECT_NE(one.find("    string $filters[] = {\"simplify\"};\n"), std::string::npos) << one;
  EXPECT_NE(one.find("    applyTake -device \"amc_device\" -f simplify;\n"), std::string::npos)
      << one;
  EXPECT_NE(one.find(kFilterProcedures), std::string::npos) << one;
}

// A filter list holding only separators names no filter: the filter parts
// are left out, as for no list at all, and the writer ends.
TEST_F(MelImportWriter, FilterListOfSeparatorsOnlyLeavesTheFilterPartsOut) {
  for (const char* list : {" ", " \t\r\n ", "\n"}) {
    filterList = list;
    EXPECT_EQ(script(kLfemurASF, kLfemurAMC, 30), kNoFilterScript);
  }
}

TEST_F(MelImportWriter, ChannelsFollowTheDofListsOfTheBonesTheFirstFrameLists) {
  // a: rz rx in that order; b: ty only; c: dofs but not in the first frame;
  // d: a bone length dof adds no channel; E: listed as "e" in the motion;
  // f: no dofs but listed, so it has no channel either.
  const std::string asf =
      asfText("TX TY TZ RX RY RZ",
              {{"a", "rz rx"}, {"b", "ty"}, {"c", "rx ry"}, {"d", "ry l"}, {"E", "rx"}, {"f", ""}});
  // The motion lists its bones in another order than the skeleton.
  const std::string amc =
      ":FULLY-SPECIFIED\n:DEGREES\n1\nd 1 2\ne 3\nroot 0 0 0 0 0 0\nf\nb 4\na 5 6\n";
  const std::string s = script(asf, amc, 30);
  EXPECT_EQ(channelLines(s),
            "  defineVirtualDevice -channel root_posX -usage posX -axis 0;\n"
            "  defineVirtualDevice -channel root_posY -usage posY -axis 1;\n"
            "  defineVirtualDevice -channel root_posZ -usage posZ -axis 2;\n"
            "  defineVirtualDevice -channel root_rotX -usage rotX -axis 3;\n"
            "  defineVirtualDevice -channel root_rotY -usage rotY -axis 4;\n"
            "  defineVirtualDevice -channel root_rotZ -usage rotZ -axis 5;\n"
            "  defineVirtualDevice -channel a_rotZ -usage rotZ -axis 6;\n"
            "  defineVirtualDevice -channel a_rotX -usage rotX -axis 7;\n"
            "  defineVirtualDevice -channel b_posX -usage posX -axis 8;\n"
            "  defineVirtualDevice -channel b_posY -usage posY -axis 9;\n"
            "  defineVirtualDevice -channel b_posZ -usage posZ -axis 10;\n"
            "  defineVirtualDevice -channel d_rotY -usage rotY -axis 11;\n"
            "  defineVirtualDevice -channel E_rotX -usage rotX -axis 12;\n");
  EXPECT_EQ(
      attachLines(s),
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_posX\" \"root_joint.translateX\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_posY\" \"root_joint.translateY\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_posZ\" \"root_joint.translateZ\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_rotX\" \"root_joint.rotateX\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_rotY\" \"root_joint.rotateY\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"root_rotZ\" \"root_joint.rotateZ\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"a_rotZ\" \"a_joint.rotateZ\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"a_rotX\" \"a_joint.rotateX\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"b_posX\" \"b_joint.translateX\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"b_posY\" \"b_joint.translateY\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"b_posZ\" \"b_joint.translateZ\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"d_rotY\" \"d_joint.rotateY\";\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"E_rotX\" \"E_joint.rotateX\";\n");
  EXPECT_EQ(s.find("c_joint"), std::string::npos) << s;
  EXPECT_EQ(s.find(" c_rot"), std::string::npos) << s;
}

TEST_F(MelImportWriter, RootMissingFromTheFirstFrameGetsNoChannels) {
  const std::string asf = asfText("TX TY TZ RX RY RZ", {{"a", "rx tz"}});
  const std::string s = script(asf, ":FULLY-SPECIFIED\n:DEGREES\n1\na 1 2\n", 30);
  EXPECT_EQ(channelLines(s),
            "  defineVirtualDevice -channel a_posX -usage posX -axis 0;\n"
            "  defineVirtualDevice -channel a_posY -usage posY -axis 1;\n"
            "  defineVirtualDevice -channel a_posZ -usage posZ -axis 2;\n"
            "  defineVirtualDevice -channel a_rotX -usage rotX -axis 3;\n");
  EXPECT_EQ(attachLines(s),
            "  attachDeviceAttr -device \"amc_device\" -axis \"a_posX\" \"a_joint.translateX\";\n"
            "  attachDeviceAttr -device \"amc_device\" -axis \"a_posY\" \"a_joint.translateY\";\n"
            "  attachDeviceAttr -device \"amc_device\" -axis \"a_posZ\" \"a_joint.translateZ\";\n"
            "  attachDeviceAttr -device \"amc_device\" -axis \"a_rotX\" \"a_joint.rotateX\";\n");
}

TEST_F(MelImportWriter, TimeUnitComesFromTheRateAndPlaybackStartsAtTheFirstFrame) {
  const struct {
    int fps;
    const char* unit;
  } rates[] = {{15, "game"}, {24, "film"}, {25, "pal"},  {30, "ntsc"},
               {48, "show"}, {50, "palf"}, {60, "ntscf"}};
  // The take's angles are declared in the AMC's own unit, in which the MOV
  // carries them: radians for a :RADIANS motion, degrees otherwise.
  const struct {
    const char* header;
    const char* angle;
  } units[] = {{":RADIANS\n", "radian"}, {":DEGREES\n", "degree"}};
  const std::string asf = asfText("TX TY TZ RX RY RZ", {});
  for (const auto& unit : units) {
    const std::string amc = std::string(":FULLY-SPECIFIED\n") + unit.header +
                            "7\nroot 1 2 3 4 5 6\n8\nroot 1 2 3 4 5 6\n";
    for (const auto& rate : rates) {
      const std::string s = script(asf, amc, rate.fps);
      const std::string expected = std::string("  if (\"\"!=$mov_file) {\n    currentUnit -time ") +
                                   rate.unit +
                                   ";\n"
                                   "    readTake -device \"amc_device\" -angle \"" +
                                   unit.angle +
                                   "\" -linear \"inch\" -take $mov_file;\n"
                                   "    applyTake -device \"amc_device\";\n"
                                   "    currentTime -edit 7;\n"
                                   "    playbackOptions -minTime 7;\n"
                                   "    fitAllPanels -all;\n"
                                   "  }\n";
      EXPECT_NE(s.find(expected), std::string::npos) << rate.fps << unit.header << "\n" << s;
    }
  }
}

// The motion reader never gives a motion without frames; with no first
// frame there is no channel list, and the writer writes nothing.
TEST_F(MelImportWriter, MotionWithoutFramesWritesNothing) {
  KaASF skeleton;
  readSkeleton(&skeleton, kLfemurASF);
  KaAMC motion;
  std::ostringstream out;
  printMELScript(out, skeleton, motion, 30);
  EXPECT_EQ(out.str(), "");
}

namespace {

// With a capture rate the script starts at the take's first scene frame:
// frame 1 captured at 120 lies at 1/120 s, so the first scene frame at 60
// is 1 (ceil of 0.5), at 25 it is 1 (ceil of 0.2083); frame 240 at 120 is
// scene frame 60 at 30 exactly.
TEST_F(MelImportWriter, ACaptureRateStartsTheTimeAtTheFirstSceneFrame) {
  KaASF skeleton;
  readSkeleton(&skeleton, kLfemurASF);
  auto firstLines = [&](const std::string& amc, const char* capture, int fps) {
    KaAMC motion;
    readMotion(&motion, amc);
    MotconvCaptureRate rate;
    EXPECT_TRUE(motconvParseCaptureRate(capture, &rate));
    std::ostringstream out;
    printMELScript(out, skeleton, motion, fps, nullptr, &rate);
    const std::string s = out.str();
    const size_t at = s.find("    currentTime -edit ");
    return at == std::string::npos ? std::string() : s.substr(at, s.find("    fitAll") - at);
  };
  EXPECT_EQ(firstLines(kLfemurAMC, "120", 60),
            "    currentTime -edit 1;\n    playbackOptions -minTime 1;\n");
  const std::string late =
      ":FULLY-SPECIFIED\n:DEGREES\n240\nroot 1 2 3 4 5 6\nlfemur 7 8 9\n"
      "241\nroot 1 2 3 4 5 6\nlfemur 7 8 9\n";
  EXPECT_EQ(firstLines(late, "120", 30),
            "    currentTime -edit 60;\n    playbackOptions -minTime 60;\n");
  EXPECT_EQ(firstLines(late, "100", 30),
            "    currentTime -edit 72;\n    playbackOptions -minTime 72;\n");
  EXPECT_EQ(firstLines(late, "30", 30),
            "    currentTime -edit 240;\n    playbackOptions -minTime 240;\n");
}

}  // namespace
