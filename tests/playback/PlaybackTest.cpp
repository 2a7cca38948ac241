// Plays converted takes back through a model of Raro's joints and compares
// every joint, on every frame, with the forward kinematics of the ASF/AMC
// data. Each case runs the two programs as a user does: skelconv on the
// skeleton, motconv on the skeleton and the take, both with the same -p (or
// skelconv without -p and motconv with -p ""), then builds the joints from
// the joint script, binds the channels through the import script and applies
// the MOV lines.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "tests/playback/AcclaimReference.h"
#include "tests/playback/PlaybackFiles.h"
#include "tests/playback/RaroScene.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

using namespace playback;
namespace fs = std::filesystem;

// --- synthetic skeletons ---------------------------------------------------

struct SyntheticUnits {
  const char* length;     // the :units length factor
  bool radians;           // ASF "angle rad" and an AMC in :RADIANS
  const char* rootAxis;   // the root's axis order
  double orientation[3];  // the root's orientation, degrees
  double position[3];     // the root's position, file units
};

std::string angleText(double degrees, bool radians) {
  std::ostringstream out;
  out.precision(9);
  out << (radians ? degrees * M_PI / 180.0 : degrees);
  return out.str();
}

// A skeleton of seven bones whose axes are turned about two or three axes in
// orders other than XYZ, with dof lists in several orders, a bone with two
// rotation dofs, bones with translation dofs (all three, and only ty) and
// a bone without dofs.
struct SyntheticBone {
  const char* name;
  const char* parent;
  const char* direction;
  const char* length;
  double axis[3];
  const char* axisOrder;
  const char* dofs;
};

const SyntheticBone kBones[] = {
    {"pelvis", "root", "0 1 0", "2", {15, -10, 5}, "XZY", "rz rx"},
    {"spine", "pelvis", "0.3 0.9 0.1", "3", {-30, 20, 45}, "ZYX", "ry rz rx"},
    {"arm", "spine", "1 0 0", "2.5", {0, 90, 0}, "YZX", "rx rz"},
    {"hand", "arm", "0 -1 0", "1", {10, 20, 30}, "ZXY", ""},
    {"slider", "spine", "0 0 1", "1", {20, 0, -40}, "XYZ", "tx ty tz rx"},
    {"lift", "root", "-1 0 0", "1.5", {5, 5, 5}, "YXZ", "ty rz"},
    {"leg", "lift", "0 -0.8 0.6", "2", {-60, 0, 35}, "ZYX", "rz ry rx"},
};

int dofCount(const char* dofs) {
  std::istringstream in(dofs);
  std::string w;
  int n = 0;
  while (in >> w) ++n;
  return n;
}

std::string syntheticASF(const SyntheticUnits& u) {
  std::ostringstream s;
  s << ":version 1.10\n:name synthetic\n:units\n  mass 1.0\n  length " << u.length << "\n  angle "
    << (u.radians ? "rad" : "deg") << "\n:root\n  order TX TY TZ RX RY RZ\n"
    << "  axis " << u.rootAxis << "\n  position " << u.position[0] << " " << u.position[1] << " "
    << u.position[2] << "\n  orientation";
  for (double a : u.orientation) s << " " << angleText(a, u.radians);
  s << "\n:bonedata\n";
  int id = 1;
  for (const SyntheticBone& b : kBones) {
    s << "  begin\n    id " << id++ << "\n    name " << b.name << "\n    direction " << b.direction
      << "\n    length " << b.length << "\n    axis";
    for (double a : b.axis) s << " " << angleText(a, u.radians);
    s << " " << b.axisOrder << "\n";
    if (dofCount(b.dofs) > 0) {
      s << "    dof " << b.dofs << "\n    limits";
      for (int k = 0; k < dofCount(b.dofs); ++k) s << " (-inf inf)\n";
    }
    s << "  end\n";
  }
  s << ":hierarchy\n  begin\n";
  const char* parents[] = {"root", "pelvis", "spine", "arm", "lift"};
  for (const char* parent : parents) {
    s << "    " << parent;
    for (const SyntheticBone& b : kBones)
      if (std::string(b.parent) == parent) s << " " << b.name;
    s << "\n";
  }
  s << "  end\n";
  return s.str();
}

// Forty frames of smooth motion over every dof, large turns included.
std::string syntheticAMC(const SyntheticUnits& u) {
  std::ostringstream s;
  s << ":FULLY-SPECIFIED\n" << (u.radians ? ":RADIANS\n" : ":DEGREES\n");
  for (int f = 1; f <= 40; ++f) {
    s << f << "\n";
    auto value = [&](int bone, int k, bool translation) {
      const double wave = std::sin(0.15 * f * (k + 1) + 0.7 * bone);
      if (translation) return (bone == 0 ? 5.0 : 1.5) * wave;
      const double degrees = 75.0 * wave;
      return u.radians ? degrees * M_PI / 180.0 : degrees;
    };
    s << "root";
    for (int k = 0; k < 6; ++k) s << " " << value(0, k, k < 3);
    s << "\n";
    int bone = 1;
    for (const SyntheticBone& b : kBones) {
      std::istringstream dofs(b.dofs);
      std::string dof;
      if (dofCount(b.dofs) == 0) {
        ++bone;
        continue;
      }
      s << b.name;
      for (int k = 0; dofs >> dof; ++k) s << " " << value(bone, k, dof[0] == 't');
      s << "\n";
      ++bone;
    }
  }
  return s.str();
}

// --- the cases ---------------------------------------------------------------

struct PlaybackCase {
  std::string name;
  std::string asf;
  std::string amc;
};

std::vector<PlaybackCase> allCases() {
  std::vector<PlaybackCase> cases;
  const fs::path cmu = fs::path(RC_DATA_DIR) / "cmu";
  cases.push_back({"CmuCharleston", readText(cmu / "charleston.asf"),
                   firstFrames(readText(cmu / "charleston1.amc"), 300)});
  cases.push_back({"CmuLambada", readText(cmu / "lambada.asf"),
                   firstFrames(readText(cmu / "lambada.amc"), 300)});
  const SyntheticUnits orders{"1", false, "ZYX", {10, -20, 30}, {1.2, -0.4, 2.0}};
  const SyntheticUnits length{"0.45", false, "ZYX", {0, 25, -40}, {1.2, -0.4, 2.0}};
  const SyntheticUnits radians{"1", true, "XZY", {17, 0, -29}, {-3, 0.5, 1}};
  const SyntheticUnits both{"0.45", true, "YXZ", {-12, 33, 8}, {1.2, -0.4, 2.0}};
  cases.push_back({"SyntheticOrdersRootZYX", syntheticASF(orders), syntheticAMC(orders)});
  cases.push_back({"SyntheticLength045", syntheticASF(length), syntheticAMC(length)});
  cases.push_back({"SyntheticRadians", syntheticASF(radians), syntheticAMC(radians)});
  cases.push_back({"SyntheticRadiansLength045", syntheticASF(both), syntheticAMC(both)});
  return cases;
}

// A prefix shared by both programs, or none: skelconv without -p and motconv
// with -p "".
struct Naming {
  const char* name;
  bool shared;
  const char* prefix;
};

const Naming kNamings[] = {{"NoPrefix", false, ""}, {"SharedPrefix", true, "A_"}};

struct Differences {
  double position = 0;
  double rotation = 0;
  int joints = 0;
  int frames = 0;
};

class Playback : public ::testing::TestWithParam<std::tuple<int, int>> {
 protected:
  void SetUp() override {
    saved = KtGetBuild();
    theExceptObj.clear();
  }
  void TearDown() override {
    theExceptObj.clear();
    KtSetBuild(saved);
  }
  KtBuild saved = KtBuild::Motconv;
};

}  // namespace

TEST_P(Playback, EveryJointFollowsTheCaptureOnEveryFrame) {
  const PlaybackCase c = allCases()[std::get<0>(GetParam())];
  const Naming& naming = kNamings[std::get<1>(GetParam())];
  const fs::path dir = workFolder(c.name + naming.name);
  writeText(dir / "s.asf", c.asf);
  writeText(dir / "t.amc", c.amc);

  const std::string prefixOption = std::string("-p ") + quoted(naming.prefix) + " ";
  ASSERT_EQ(run(dir, std::string(SKELCONV_PATH) + " -f " + (naming.shared ? prefixOption : "") +
                         "s.asf s.mel"),
            0)
      << readText(dir / "log.txt");
  ASSERT_EQ(
      run(dir, std::string(MOTCONV_PATH) + " -f " + prefixOption + "s.asf t.amc 30 t.mel t.mov"), 0)
      << readText(dir / "log.txt");

  RaroScene scene;
  std::string problem;
  ASSERT_TRUE(scene.runJointScript(readText(dir / "s.mel"), &problem)) << problem;
  ASSERT_TRUE(scene.runImportScript(readText(dir / "t.mel"), &problem)) << problem;
  EXPECT_EQ(scene.bindingCount(), scene.axisCount());

  KtSetBuild(KtBuild::Motconv);
  KaASF skeleton;
  skeleton.read((dir / "s.asf").c_str());
  KaAMC motion;
  motion.read((dir / "t.amc").c_str());
  ASSERT_FALSE(theExceptObj.errorOccurred());
  EXPECT_EQ(scene.angleUnit(), motion.degrees ? "degree" : "radian");

  std::vector<std::vector<double>> mov;
  ASSERT_TRUE(scene.readMov(readText(dir / "t.mov"), &mov, &problem)) << problem;
  ASSERT_EQ((int)mov.size(), motion.fields.count());
  ASSERT_GT(motion.fields.count(), 0);

  Differences worst;
  const std::string prefix = naming.prefix;
  for (int f = 0; f < motion.fields.count(); ++f) {
    // The line's time puts it on the frame's own number at 30 frames a second.
    ASSERT_FALSE(mov[f].empty());
    EXPECT_NEAR(mov[f][0] * 30.0, motion.fields[f].number, 1e-3) << "line " << f + 1;
    ASSERT_TRUE(scene.applyTakeLine(mov[f], &problem)) << problem;
    int joints = 0;
    for (const BonePose& pose : acclaimPose(skeleton, motion.fields[f], motion.degrees)) {
      const std::string joint = prefix + pose.name;
      ASSERT_TRUE(scene.hasJoint(joint)) << joint;
      const Transform world = scene.world(joint);
      const double position = length(world.t - pose.start);
      const double rotation = angleBetween(world.r, pose.frame);
      EXPECT_LE(position, kPositionTolerance) << joint << " frame " << f + 1;
      EXPECT_LE(rotation, kRotationTolerance) << joint << " frame " << f + 1;
      worst.position = std::max(worst.position, position);
      worst.rotation = std::max(worst.rotation, rotation);
      ++joints;
      // An end joint sits at the tip of its leaf bone, turned with it.
      if (scene.hasJoint(joint + "_end")) {
        const Transform end = scene.world(joint + "_end");
        const double endPosition = length(end.t - pose.tip);
        const double endRotation = angleBetween(end.r, pose.frame);
        EXPECT_LE(endPosition, kPositionTolerance) << joint << "_end frame " << f + 1;
        EXPECT_LE(endRotation, kRotationTolerance) << joint << "_end frame " << f + 1;
        worst.position = std::max(worst.position, endPosition);
        worst.rotation = std::max(worst.rotation, endRotation);
        ++joints;
      }
    }
    worst.joints = joints;
    ++worst.frames;
    if (HasFailure()) break;
  }
  std::cout << "[ playback ] " << c.name << " " << naming.name << ": " << worst.joints
            << " joints x " << worst.frames << " frames, largest differences " << worst.position
            << " in, " << worst.rotation << " deg\n";
  RecordProperty("largest_position_difference_in", std::to_string(worst.position));
  RecordProperty("largest_rotation_difference_deg", std::to_string(worst.rotation));
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  return allCases()[std::get<0>(info.param)].name + kNamings[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(Takes, Playback,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Range(0, 2)),
                         caseName);

// Without -p the import script drives <bone>_joint, which the joint script
// never creates: the model refuses the first attachment, naming the joint.
TEST(PlaybackNames, WithoutPrefixNothingBindsToTheSkeletonScriptsJoints) {
  const PlaybackCase c = allCases()[0];
  const fs::path dir = workFolder("WithoutPrefix");
  writeText(dir / "s.asf", c.asf);
  writeText(dir / "t.amc", firstFrames(c.amc, 2));
  ASSERT_EQ(run(dir, std::string(SKELCONV_PATH) + " -f s.asf s.mel"), 0);
  ASSERT_EQ(run(dir, std::string(MOTCONV_PATH) + " -f s.asf t.amc 30 t.mel t.mov"), 0);
  RaroScene scene;
  std::string problem;
  ASSERT_TRUE(scene.runJointScript(readText(dir / "s.mel"), &problem)) << problem;
  EXPECT_FALSE(scene.runImportScript(readText(dir / "t.mel"), &problem));
  EXPECT_NE(problem.find("No joint 'root_joint'."), std::string::npos) << problem;
}

// The model itself, on values worked out by hand: a root at (1, 0, 0)
// turned 90 degrees about z by the take carries a child placed at (3, 0, 0)
// (two inches out along x) to (1, 2, 0); a joint orientation of 90 degrees
// about x turns the child's frame but leaves where it sits.
TEST(PlaybackModel, JointsFollowTheRowVectorRotationsAndAbsolutePositions) {
  RaroScene scene;
  std::string problem;
  ASSERT_TRUE(scene.runJointScript(
      "select -cl;\n"
      "joint -name r -position 1in 0 0 -rotationOrder zxy -dof \"z\" -orientation 0 0 0;\n"
      "select -r r;\n"
      "joint -name c -absolute -position 3in 0 0 -rotationOrder xyz -dof \"\" "
      "-orientation 1.57079632679rad 0 0;\n",
      &problem))
      << problem;
  EXPECT_NEAR(scene.world("c").t.x, 3, 1e-9);
  ASSERT_TRUE(scene.runImportScript(
      "currentUnit -time ntsc;\n"
      "  defineVirtualDevice -channel r_rotZ -usage rotZ -axis 0;\n"
      "  attachDeviceAttr -device \"amc_device\" -axis \"r_rotZ\" \"r.rotateZ\";\n"
      "    readTake -device \"amc_device\" -angle \"degree\" -linear \"inch\" -take $f;\n"
      "    currentTime -edit 1;\n"
      "    playbackOptions -minTime 1;\n",
      &problem))
      << problem;
  ASSERT_TRUE(scene.applyTakeLine({0.0333333, 90}, &problem)) << problem;
  const Transform c = scene.world("c");
  EXPECT_NEAR(c.t.x, 1, 1e-9);
  EXPECT_NEAR(c.t.y, 2, 1e-9);
  EXPECT_NEAR(c.t.z, 0, 1e-9);
  // c's frame is Rx(90) . Rz(90): its x axis (row 0) points along world y,
  // its y axis (onto z by the orientation) stays on z, its z axis (onto -y)
  // is turned onto world x.
  EXPECT_NEAR(c.r.m[0][1], 1, 1e-9);
  EXPECT_NEAR(c.r.m[1][2], 1, 1e-9);
  EXPECT_NEAR(c.r.m[2][0], 1, 1e-9);
  // A number without unit is refused unless it is zero.
  RaroScene other;
  EXPECT_FALSE(other.runJointScript(
      "select -cl;\njoint -name r -position 1 0 0 -rotationOrder xyz -dof \"\" "
      "-orientation 0 0 0;\n",
      &problem));
}
