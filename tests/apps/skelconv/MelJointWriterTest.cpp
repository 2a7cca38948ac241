#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "acclaim/KaASF.h"
#include "apps/skelconv/MelJointWriter.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

class SkelconvBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = KtGetBuild();
    KtSetBuild(KtBuild::Skelconv);
    theExceptObj.clear();
  }
  void TearDown() override {
    theExceptObj.clear();
    KtSetBuild(saved);
  }
  KtBuild saved = KtBuild::Motconv;
};

std::string scriptOf(const KaASF& asf, const char* prefix) {
  std::ostringstream out;
  writeMelJointScript(out, asf, KtStr(prefix));
  return out.str();
}

int countOf(const std::string& text, const std::string& word) {
  int n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) n++;
  return n;
}

}  // namespace

TEST_F(SkelconvBuild, EveryCmuSkeletonGivesOneJointPerBoneAndOneEndPerLeafWithLength) {
  for (const char* file : {"lambada.asf", "charleston.asf"}) {
    std::string path = std::string(RC_DATA_DIR) + "/cmu/" + file;
    KaASF asf;
    asf.read(path.c_str());
    ASSERT_FALSE(theExceptObj.errorOccurred()) << file;
    ASSERT_EQ(asf.bones.count(), 30) << file;

    std::set<const KaASFBone*> parents;
    for (const KaASFBone* bone : asf.bones)
      if (bone->parent) parents.insert(bone->parent);
    int leavesWithLength = 0;
    for (const KaASFBone* bone : asf.bones)
      if (!parents.count(bone) && bone->length > 0) leavesWithLength++;
    EXPECT_EQ(leavesWithLength, 7) << file;  // toes, head, thumbs and fingers

    std::string script = scriptOf(asf, "");
    EXPECT_EQ(countOf(script, "joint -name "), 1 + 30 + leavesWithLength) << file;
    EXPECT_EQ(countOf(script, "_end -absolute"), leavesWithLength) << file;
    EXPECT_EQ(countOf(script, "select -cl;"), 1) << file;
    EXPECT_EQ(countOf(script, "select -r "), 30 + leavesWithLength) << file;

    // The root (order TX TY TZ RX RY RZ, axis XYZ, at the origin) and the
    // first child of the root, lhipjoint (no dofs, axis 0 0 0).
    const std::string head =
        "select -cl;\n"
        "joint -name root -position 0 0 0 -rotationOrder xyz -dof \"xyz\" -orientation 0 0 0;\n"
        "addAttr -dt \"string\" -sn tdof -ln translateDegreesOfFreedom root;\n"
        "setAttr root.tdof -type \"string\" \"xyz\";\n"
        "select -r root;\n"
        "joint -name lhipjoint -absolute -position 0 0 0 -rotationOrder xyz -dof \"\" "
        "-orientation 0 0 0;\n"
        "select -r lhipjoint;\n"
        "joint -name lfemur -absolute -position ";
    EXPECT_EQ(script.substr(0, head.size()), head) << file;
    // lfemur: dof rx ry rz, axis 0 0 20 XYZ: rotated about z against its parent.
    EXPECT_NE(script.find("joint -name lfemur -absolute"), std::string::npos);
    EXPECT_NE(script.find("-rotationOrder xyz -dof \"xyz\" -orientation 0 0 0.349066rad;"),
              std::string::npos)
        << file;
  }
}

TEST_F(SkelconvBuild, DeepChainIsWrittenWithoutRecursion) {
  // A chain of 20,000 bones, each hanging from the one before.
  std::ostringstream asfText;
  asfText << ":version 1.10\n:root\n  order TX TY TZ RX RY RZ\n  axis XYZ\n"
             "  position 0 0 0\n  orientation 0 0 0\n:bonedata\n";
  const int n = 20000;
  for (int i = 1; i <= n; i++)
    asfText << "  begin\n    id " << i << "\n    name b" << i
            << "\n    direction 1 0 0\n    length 1\n    axis 0 0 0 XYZ\n  end\n";
  asfText << ":hierarchy\n  begin\n    root b1\n";
  for (int i = 1; i < n; i++) asfText << "    b" << i << " b" << i + 1 << "\n";
  asfText << "  end\n";
  std::istringstream in(asfText.str());
  KaASF asf;
  asf.scanFrom(in);
  ASSERT_FALSE(theExceptObj.errorOccurred());
  std::string script = scriptOf(asf, "P_");
  EXPECT_EQ(countOf(script, "joint -name "), 1 + n + 1);
  EXPECT_NE(script.find("select -r P_b19999;\njoint -name P_b20000 -absolute -position 19999in "
                        "0 0 "),
            std::string::npos);
  EXPECT_NE(script.find("select -r P_b20000;\njoint -name P_b20000_end -absolute -position 20000in "
                        "0 0 "),
            std::string::npos);
}

TEST_F(SkelconvBuild, UnsafeJointNamesAreFoundWithTheirBone) {
  std::istringstream in(
      ":version 1.10\n:bonedata\n  begin\n    id 1\n    name good_1\n    direction 1 0 0\n"
      "    length 1\n    axis 0 0 0 XYZ\n  end\n"
      "  begin\n    id 2\n    name x\"y\n    direction 1 0 0\n    length 1\n"
      "    axis 0 0 0 XYZ\n  end\n:hierarchy\n  begin\n  end\n");
  KaASF asf;
  asf.scanFrom(in);
  if (theExceptObj.errorOccurred()) {
    KtStr text;
    KtGetExceptionStr(&text, *theExceptObj.exception());
    FAIL() << text.text();
  }
  EXPECT_STREQ(findUnsafeJointName(asf, KtStr("")), "x\"y");
  EXPECT_STREQ(findUnsafeJointName(asf, KtStr("a;")), "root");

  std::istringstream safeIn(
      ":version 1.10\n:bonedata\n  begin\n    id 1\n    name ok\n    direction 1 0 0\n"
      "    length 1\n    axis 0 0 0 XYZ\n  end\n:hierarchy\n  begin\n  end\n");
  KaASF safe;
  safe.scanFrom(safeIn);
  ASSERT_FALSE(theExceptObj.errorOccurred());
  EXPECT_EQ(findUnsafeJointName(safe, KtStr("L_")), nullptr);
}

TEST_F(SkelconvBuild, RootWithoutAxisOrderIsWrittenWithoutTurning) {
  // The :root section may leave out "axis": the root keeps the all-zero
  // order, so its orientation angles name no axis and turn nothing. Both the
  // root joint and the bone hanging from it get zero orientation.
  std::istringstream in(
      ":version 1.10\n:root\n  order RX\n  orientation 0.5 0.25 1\n:bonedata\n  begin\n"
      "    id 1\n    name a\n    direction 1 0 0\n    length 1\n    axis 0 0 0 XYZ\n  end\n"
      ":hierarchy\n  begin\n    root a\n  end\n");
  KaASF asf;
  asf.scanFrom(in);
  ASSERT_FALSE(theExceptObj.errorOccurred());
  ASSERT_FALSE(asf.root._axisOrientOrderValid());
  const std::string script = scriptOf(asf, "");
  EXPECT_EQ(
      script.find("select -cl;\njoint -name root -position 0 0 0 -rotationOrder xyz -dof \"x\" "
                  "-orientation 0 0 0;\n"),
      0u)
      << script;
  EXPECT_NE(script.find("joint -name a -absolute -position 0 0 0 -rotationOrder xyz -dof \"\" "
                        "-orientation 0 0 0;\n"),
            std::string::npos)
      << script;
  EXPECT_EQ(countOf(script, "joint -name "), 3);
}
