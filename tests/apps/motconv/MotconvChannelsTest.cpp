#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/MotconvChannels.h"
#include "tests/apps/motconv/MotconvTestModels.h"
#include "toolkit/KtExcept.h"

using motconvtest::asfText;
using motconvtest::readMotion;
using motconvtest::readSkeleton;

namespace {

KaASFDOFGroup groupOf(std::vector<int> codes) {
  KaASFDOFGroup group;
  for (int code : codes) group.addDOF(code);
  return group;
}

std::vector<std::string> namesOf(const std::vector<MotconvChannelBone>& bones) {
  std::vector<std::string> names;
  for (const MotconvChannelBone& bone : bones) names.push_back(bone.name);
  return names;
}

}  // namespace

TEST(MotconvChannels, AnyOfTxTyTzIsATranslation) {
  EXPECT_EQ(hasTranslationDOF(groupOf({})), 0);
  EXPECT_EQ(hasTranslationDOF(groupOf({KaRX, KaRY, KaRZ, KaL})), 0);
  EXPECT_EQ(hasTranslationDOF(groupOf({KaTX})), 1);
  EXPECT_EQ(hasTranslationDOF(groupOf({KaRZ, KaTY})), 1);
  EXPECT_EQ(hasTranslationDOF(groupOf({KaL, KaTZ})), 1);
}

TEST(MotconvChannels, ListHoldsTheRootThenSkeletonBonesOfTheFirstFrameInBoneOrder) {
  theExceptObj.clear();
  KaASF skeleton;
  readSkeleton(&skeleton, asfText("TX TY TZ RX RY RZ",
                                  {{"Hip", "rx"}, {"knee", "rz"}, {"toe", "rx"}, {"foot", ""}}));
  KaAMC motion;
  // Found without regard to case, spelled as the skeleton spells them; the
  // frame's own order and its unknown names do not count; the second frame
  // is not looked at.
  readMotion(&motion,
             ":FULLY-SPECIFIED\n:DEGREES\n1\nFOOT\nghost 1\nknee 2\nROOT 1 2 3 4 5 6\nhip 3\n"
             "2\nFOOT\nghost 1\nknee 2\nROOT 1 2 3 4 5 6\nhip 3\n");
  std::vector<MotconvChannelBone> list = motconvChannelBones(skeleton, motion);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"root", "Hip", "knee", "foot"}));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].dofs, &skeleton.root.order);
  EXPECT_EQ(list[1].dofs, &skeleton.findBone("hip")->dofs);

  KaAMC withoutRoot;
  readMotion(&withoutRoot, ":FULLY-SPECIFIED\n:DEGREES\n1\ntoe 1\n");
  EXPECT_EQ(namesOf(motconvChannelBones(skeleton, withoutRoot)), (std::vector<std::string>{"toe"}));

  EXPECT_TRUE(motconvChannelBones(skeleton, KaAMC()).empty());
}
