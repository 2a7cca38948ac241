#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "acclaim/KaASF.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

void expectSameSkeleton(const KaASF& a, const KaASF& b) {
  ASSERT_EQ(a.bones.count(), b.bones.count());
  EXPECT_STREQ(a.header.name.text(), b.header.name.text());
  EXPECT_EQ(a.header.angleInDegrees, b.header.angleInDegrees);
  KtListIter<KaASFBone*> ia(a.bones), ib(b.bones);
  while (!ia.atEnd()) {
    KaASFBone* x = *ia.next();
    KaASFBone* y = *ib.next();
    EXPECT_STREQ(x->name.text(), y->name.text());
    EXPECT_EQ(x->id(), y->id());
    EXPECT_NEAR(x->length, y->length, 1e-3);
    EXPECT_NEAR(x->direction.y, y->direction.y, 1e-5);
    for (int i = 0; i < 3; i++) EXPECT_NEAR(x->axis[i], y->axis[i], 1e-5);
    EXPECT_EQ(x->order[0], y->order[0]);
    ASSERT_EQ(x->dofs.count(), y->dofs.count());
    for (int i = 0; i < x->dofs.count(); i++) {
      EXPECT_EQ(x->dofs.dofAt(i)->dof, y->dofs.dofAt(i)->dof);
      EXPECT_NEAR(x->dofs.dofAt(i)->limits()->lower, y->dofs.dofAt(i)->limits()->lower,
                  std::fabs(x->dofs.dofAt(i)->limits()->lower) * 1e-5 + 1e-4);
    }
    EXPECT_EQ(x->parent ? x->parent->name.text() : std::string("-"),
              y->parent ? y->parent->name.text() : std::string("-"));
  }
}

void roundTrip(const std::string& path) {
  theExceptObj.clear();
  KaASF first;
  first.read(path.c_str());
  ASSERT_FALSE(theExceptObj.exceptionOccurred());
  ASSERT_GT(first.bones.count(), 0);
  std::stringstream saved;
  first.printOn(saved);
  KaASF second;
  second.scanFrom(saved);
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << saved.str();
  expectSameSkeleton(first, second);
}

}  // namespace

TEST(KaASFWriter, CmuSkeletonsReadSaveAndReadBackEqual) {
  KtBuild saved = KtGetBuild();
  KtSetBuild(KtBuild::Skelconv);
  roundTrip(std::string(RC_DATA_DIR) + "/cmu/lambada.asf");
  roundTrip(std::string(RC_DATA_DIR) + "/cmu/charleston.asf");
  KtSetBuild(saved);
}

TEST(KaASFWriter, DegreeFileWithLimitsAndLengthFactorRoundTrips) {
  std::istringstream in(
      ":version 1.10\n:name s\n:units\n angle deg\n length 0.45\n:root\n axis xyz\n order tx ty tz "
      "rx ry rz\n"
      " position 0 0 0\n orientation 0 0 0\n:bonedata\n begin id 1 name hips direction 0 1 0 "
      "length 3"
      " axis 0 0 90 xyz dof rx ry rz limits (-inf inf) (-90 90) (0 180) end\n"
      ":hierarchy\n begin\n root hips\n end\n");
  theExceptObj.clear();
  KaASF asf;
  asf.scanFrom(in);
  ASSERT_FALSE(theExceptObj.exceptionOccurred());
  std::stringstream out;
  asf.printOn(out);
  std::string text = out.str();
  EXPECT_NE(
      text.find("    limits (-inf inf)\n           (-90.00 90.00)\n           (0.00 180.00)\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("    length 3.0000\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    root hips\n"), std::string::npos);
  KaASF back;
  back.scanFrom(out);
  ASSERT_FALSE(theExceptObj.exceptionOccurred());
  expectSameSkeleton(asf, back);
}

TEST(KaASFWriter, NewSkeletonWritesTheFixedLayout) {
  KaASF asf;
  KaASFBone bone;
  bone.name = "hips";
  asf.addBone(bone);
  std::ostringstream out;
  asf.printOn(out);
  std::string text = out.str();
  EXPECT_EQ(text.substr(0, text.find(":root")),
            ":version 0.00\n:name \n:units\n  angle rad\n  mass 1.00\n  length 1.000000\n\n");
  EXPECT_NE(text.find(":root\n  axis \n  order  position 0.000000 0.000000 0.000000\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(":hierarchy\n  begin\n    root hips\n  end\n"), std::string::npos) << text;
}

TEST(KaASFWriter, DofListNamesWholeGroupsAndPicks) {
  KaASF asf;
  KaASFDOFGroup arm;
  arm.name = "arm";
  arm.addDOF(4);
  arm.addDOF(5);
  arm.addDOF(6);
  asf.addDOFGroup(arm);
  KaASFDOFGroup* g = asf.findDOFGroup("arm");
  KaASFBone bone;
  bone.name = "a";
  bone.dofs.addDOF(4);
  bone.dofs.addDOF(KaASFDOF(4, g));
  bone.dofs.addDOF(KaASFDOF(5, g));
  bone.dofs.addDOF(KaASFDOF(6, g));
  bone.dofs.addDOF(KaASFDOF(4, g));
  bone.dofs.addDOF(KaASFDOF(6, g));
  std::ostringstream out;
  bone.printOn(out, 0);
  EXPECT_NE(out.str().find("    dof rx arm arm<rx rz>\n"), std::string::npos) << out.str();
}
