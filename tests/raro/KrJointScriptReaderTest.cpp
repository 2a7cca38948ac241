// The joint script reader: what skelconv writes builds the skeleton's
// joints where the script places them; blank lines and comments are
// skipped; anything else is refused with the file and the line.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "raro/KrJointScriptReader.h"
#include "tests/raro/ConvertedTake.h"
#include "toolkit/KtExcept.h"

using rarotest::messages;

namespace {

const char* const kRoot =
    "select -cl;\n"
    "joint -name r -position 1in 2in 3in -rotationOrder zxy -dof \"xz\" -orientation 0 0 0;\n";

double distance(const KrVec3& a, double x, double y, double z) {
  return std::sqrt((a.x - x) * (a.x - x) + (a.y - y) * (a.y - y) + (a.z - z) * (a.z - z));
}

}  // namespace

TEST(KrJointScriptReader, BuildsTheJointsSkelconvWrites) {
  theExceptObj.clear();
  for (const rarotest::ConvertedTake& take : rarotest::convertedTakes()) {
    SCOPED_TRACE(take.name);
    KrScene scene;
    ASSERT_TRUE(KrReadJointScript(take.jointScript, "s.mel", &scene));
    EXPECT_FALSE(theExceptObj.errorOccurred());
    EXPECT_EQ(scene.jointCount(), rarotest::linesStartingWith(take.jointScript, "joint "));
    // The root, a bone under it and an end joint, as the script places
    // them; at rest every joint sits at its -position.
    const int root = scene.find("A_root");
    const int femur = scene.find("A_lfemur");
    const int end = scene.find("A_ltoes_end");
    ASSERT_GE(root, 0);
    ASSERT_GE(femur, 0);
    ASSERT_GE(end, 0);
    EXPECT_EQ(scene.joint(root).parent, -1);
    EXPECT_EQ(scene.joint(femur).parent, scene.find("A_lhipjoint"));
    EXPECT_EQ(scene.joint(scene.find("A_ltibia")).dof, "x");
    EXPECT_EQ(scene.joint(scene.find("A_lfoot")).order, "xzy");
    EXPECT_NEAR(scene.joint(femur).orient[2], 0.349066, 1e-9);
    EXPECT_LT(distance(scene.world(femur).t, 3.44489, -4.17647, 1.77546), 1e-9);
    EXPECT_LT(distance(scene.world(end).t, 15.3517, -36.8902, 8.24082), 1e-9);
    std::vector<KrVec3> at;
    scene.positions(&at);
    ASSERT_EQ((int)at.size(), scene.jointCount());
    EXPECT_LT(distance(at[femur], 3.44489, -4.17647, 1.77546), 1e-9);
  }
}

TEST(KrJointScriptReader, SkipsBlankLinesAndComments) {
  theExceptObj.clear();
  KrScene scene;
  ASSERT_TRUE(KrReadJointScript(
      "// made by hand\n\n   \t\n" + std::string(kRoot) +
          "  // the child\r\n"
          "select -r r;\r\n"
          "joint -name c -absolute -position 1in 5in 3in -rotationOrder xyz -dof \"\" "
          "-orientation 0 0 0;\r\n"
          "addAttr -dt \"string\" -sn tdof -ln translateDegreesOfFreedom c;\n"
          "setAttr c.tdof -type \"string\" \"xz\";\n\n",
      "j.mel", &scene));
  EXPECT_FALSE(theExceptObj.errorOccurred());
  ASSERT_EQ(scene.jointCount(), 2);
  EXPECT_EQ(scene.joint(1).name, "c");
  EXPECT_EQ(scene.joint(1).parent, 0);
  EXPECT_EQ(scene.joint(0).dof, "xz");
  // The child is placed three inches up from its parent.
  EXPECT_LT(distance(scene.joint(1).translate, 0, 3, 0), 1e-12);
  EXPECT_LT(distance(scene.world("c").t, 1, 5, 3), 1e-12);
}

TEST(KrJointScriptReader, RefusesWhatItDoesNotKnowWithFileAndLine) {
  struct Case {
    const char* label;
    std::string text;
    const char* line;
  };
  const std::string child = std::string(kRoot) + "select -r r;\n";
  const Case cases[] = {
      {"unknown line", std::string(kRoot) + "\n// fine\nparent c r;\n",
       "Line 5:  Expected \"joint\", \"select\", \"addAttr\" or \"setAttr\"."},
      {"missing ;", "select -cl\n", "Line 1:  Expected \";\" at the end of the line."},
      {"joint without orientation",
       "select -cl;\njoint -name r -position 0 0 0 -rotationOrder xyz -dof \"x\";\n",
       "Line 2:  Expected a joint with -name, -position, -rotationOrder, -dof and -orientation."},
      {"joint with a flag it does not know",
       "select -cl;\njoint -name r -radius 2 -position 0 0 0;\n",
       "Line 2:  Unknown joint flag '-radius'."},
      {"length without its unit", "select -cl;\njoint -name r -position 1 0 0;\n",
       "Line 2:  A number without unit must be 0, found '1'."},
      {"length not a number", "select -cl;\njoint -name r -position 1x 0 0;\n",
       "Line 2:  Expected a number with unit \"in\", found '1x'."},
      {"angle in the wrong unit",
       "select -cl;\njoint -name r -position 0 0 0 -rotationOrder xyz -dof \"x\" "
       "-orientation 1deg 0 0;\n",
       "Line 2:  Expected a number with unit \"rad\", found '1deg'."},
      {"rotation order with an axis twice",
       "select -cl;\njoint -name r -position 0 0 0 -rotationOrder xxz -dof \"x\" "
       "-orientation 0 0 0;\n",
       "Line 2:  Expected a rotation order of x, y and z, found 'xxz'."},
      {"dof not quoted",
       "select -cl;\njoint -name r -position 0 0 0 -rotationOrder xyz -dof x "
       "-orientation 0 0 0;\n",
       "Line 2:  Expected degrees of freedom of x, y and z, found x."},
      {"joint twice", child + std::string(kRoot).substr(12) /* the joint line again */,
       "Line 4:  Joint 'r' is created twice."},
      {"child placed relative",
       child + "joint -name c -position 0 0 0 -rotationOrder xyz -dof \"\" -orientation 0 0 0;\n",
       "Line 4:  Joint 'c' under a parent without -absolute."},
      {"select of a joint not made", child + "select -r hand;\n", "Line 4:  No joint 'hand'."},
      {"note on a joint not made",
       child + "addAttr -dt \"string\" -sn tdof -ln translateDegreesOfFreedom hand;\n",
       "Line 4:  No joint 'hand'."},
      {"setAttr of another attribute", child + "setAttr r.radius 2;\n",
       "Line 4:  Expected the translateDegreesOfFreedom attribute of a joint."},
  };
  theExceptObj.clear();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    KrScene scene;
    EXPECT_FALSE(KrReadJointScript(c.text, "j.mel", &scene));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Unable to read joint script 'j.mel'.", c.line}));
  }
}
