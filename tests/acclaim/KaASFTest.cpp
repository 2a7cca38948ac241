#include <gtest/gtest.h>

#include <string>

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

TEST(KaASF, QueriesWalkTheBoneListInOrder) {
  KaASF asf;
  for (int id : {1, 2, 3}) {
    KaASFBone b;
    b.setId(id);
    b.name = ("b" + std::to_string(id)).c_str();
    if (id != 2) b.dofs.addDOF(KaRZ);
    asf.addBone(b);
  }
  EXPECT_EQ(asf.firstUnusedBoneId(), 4);
  asf.findBone("b2")->parent = asf.findBone(1);
  asf.findBone("b3")->parent = asf.findBone(1);
  KtList<KaASFBone*> children;
  asf.getChildBonesOfBone(&children, 1);
  ASSERT_EQ(children.count(), 2);
  EXPECT_EQ(children.first(), asf.findBone("b2"));
  KtList<KaASFBone*> rootChildren;
  asf.getChildBonesOfRoot(&rootChildren);
  ASSERT_EQ(rootChildren.count(), 1);
  EXPECT_EQ(rootChildren.first(), asf.findBone(1));
  EXPECT_EQ(asf.numBonesWithDOF(), 2);
  EXPECT_EQ(asf.findBone(7), nullptr);
}

TEST(KaASF, GroupsCopyTheirDofsAndAreRemovedByNameWithoutCase) {
  KaASF asf;
  KaASFDOFGroup arm;
  arm.name = "arm";
  arm.addDOF(KaRX);
  arm.limits(KaRX)->upper = 1;
  KaASFDOFGroup copy(arm);
  copy.limits(KaRX)->upper = 2;
  EXPECT_EQ(arm.limits(KaRX)->upper, 1.0f);
  EXPECT_TRUE(copy.hasNonGroupDOFs());
  EXPECT_FALSE(copy.hasGroupDOFs());
  asf.addDOFGroup(arm);
  KaASFDOFGroup leg;
  leg.name = "leg";
  asf.addDOFGroup(leg);
  asf.removeDOFGroup("ARM");
  ASSERT_EQ(asf.dofGroups.count(), 1);
  EXPECT_STREQ(asf.dofGroups.first()->name.text(), "leg");
  asf.removeDOFGroup("none");
  EXPECT_EQ(asf.dofGroups.count(), 1);
  asf.removeDOFGroups();
  EXPECT_EQ(asf.dofGroups.count(), 0);
}
