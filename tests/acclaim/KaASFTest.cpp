#include <gtest/gtest.h>

#include "acclaim/KaASF.h"

TEST(KaASF, NewSkeletonHasTheDefaults) {
  KaASF asf;
  EXPECT_EQ(asf.bones.count(), 0);
  EXPECT_EQ(asf.header.version, 0.0f);
  EXPECT_EQ(asf.header.mass, 1.0f);
  EXPECT_EQ(asf.header.length, 1.0f);
  EXPECT_EQ(asf.header.angleInDegrees, 0);
  EXPECT_FALSE(asf.root._axisOrientOrderValid());
  EXPECT_EQ(asf.firstUnusedBoneId(), 1);
}

TEST(KaASF, FirstUnusedBoneIdFillsGaps) {
  KaASF asf;
  for (int id : {1, 2, 4, 0, -3}) {
    KaASFBone b;
    b.setId(id);
    asf.addBone(b);
  }
  EXPECT_EQ(asf.firstUnusedBoneId(), 3);
  EXPECT_EQ(asf.lastBoneId(), 4);
}

TEST(KaASF, LookupsFollowTheirCaseRules) {
  KaASF asf;
  KaASFDOFGroup arm;
  arm.name = "arm";
  arm.addDOF(KaRX);
  asf.addDOFGroup(arm);
  KaASFBone b;
  b.name = "lfemur";
  b.dofs.addDOF(KaASFDOF(KaRX, asf.findDOFGroup("arm")));
  asf.addBone(b);
  EXPECT_NE(asf.findBone("LFEMUR"), nullptr);
  EXPECT_EQ(asf.findDOFGroup("ARM"), nullptr);
  EXPECT_TRUE(asf._bonesUseDOFGroup("ARM"));
  KaASFDOFGroup list;
  list.addDOF(KaRX);
  list.addDOF(KaRY);
  list.addDOF(KaRZ);
  EXPECT_EQ(list.dofIndex(KaRY), 1);
  EXPECT_EQ(KaASFDOFGroup().dofIndex(KaRY), -1);
}

TEST(KaASF, GroupDofReportsTheGroupsLimits) {
  KaASFDOFGroup group;
  group.addDOF(KaRY);
  group.limits(KaRY)->lower = -2;
  KaASFDOF dof(KaRY, &group);
  dof._limits.lower = 7;
  EXPECT_EQ(dof.limits()->lower, -2.0f);
}

TEST(KaASF, AssignmentRelinksEveryPointerIntoTheCopy) {
  KaASF asf;
  KaASFDOFGroup arm;
  arm.name = "arm";
  arm.addDOF(KaRX);
  asf.addDOFGroup(arm);
  KaASFBone a, b;
  a.name = "a";
  b.name = "b";
  b.dofs.addDOF(KaASFDOF(KaRX, asf.findDOFGroup("arm")));
  asf.addBone(a);
  asf.addBone(b);
  asf.findBone("b")->parent = asf.findBone("a");
  asf.findBone("a")->child = asf.findBone("b");
  KaASF copy;
  copy = asf;
  EXPECT_EQ(copy.findBone("b")->parent, copy.findBone("a"));
  EXPECT_EQ(copy.findBone("a")->child, copy.findBone("b"));
  EXPECT_EQ(copy.findBone("b")->dofs.dofAt(0)->group, copy.findDOFGroup("arm"));
  EXPECT_NE(copy.findBone("b")->parent, asf.findBone("a"));
}
