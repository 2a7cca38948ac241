#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaASF.h"
#include "tests/TestTools.h"
#include "tests/acclaim/AsfTestFiles.h"
#include "tests/toolkit/math/MathExpect.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

using asftest::BuildSwitch;
using asftest::Chain;
using asftest::readFile;
using asftest::takeChain;
using asftest::TempDir;
using mathtest::point;

std::string printed(const KaASF& asf) {
  std::ostringstream out;
  asf.printOn(out);
  return out.str();
}

void scanText(KaASF& asf, const std::string& text) {
  std::istringstream in(text);
  asf.scanFrom(in);
}

std::string boneName(const KaASFBone* bone) {
  return bone ? bone->name.text() : "-";
}

std::string groupName(const KaASFDOF* dof) {
  return dof->group ? dof->group->name.text() : "-";
}

void expectSameDofs(const KaASFDOFGroup& a, const KaASFDOFGroup& b, float degreeTolerance) {
  ASSERT_EQ(a.count(), b.count());
  EXPECT_STREQ(a.name.text(), b.name.text());
  for (int i = 0; i < a.count(); i++) {
    const KaASFDOF* x = a.dofAt(i);
    const KaASFDOF* y = b.dofAt(i);
    EXPECT_EQ(x->dof, y->dof);
    EXPECT_EQ(groupName(x), groupName(y));
    // Limits are written with two decimals.
    const KaASFLimits* lx = x->limits();
    const KaASFLimits* ly = y->limits();
    EXPECT_NEAR(lx->lower, ly->lower, std::fabs(lx->lower) * 1e-6 + degreeTolerance);
    EXPECT_NEAR(lx->upper, ly->upper, std::fabs(lx->upper) * 1e-6 + degreeTolerance);
  }
}

// Field by field, within what the written decimals keep.
void expectSameSkeleton(const KaASF& a, const KaASF& b) {
  EXPECT_EQ(a.header.internal, b.header.internal);
  EXPECT_FLOAT_EQ(a.header.version, b.header.version);
  EXPECT_STREQ(a.header.name.text(), b.header.name.text());
  EXPECT_FLOAT_EQ(a.header.mass, b.header.mass);
  EXPECT_FLOAT_EQ(a.header.length, b.header.length);
  EXPECT_EQ(a.header.angleInDegrees, b.header.angleInDegrees);
  EXPECT_STREQ(a.header.documentation.text(), b.header.documentation.text());
  const float limitTolerance = a.header.angleInDegrees ? 0.005 * M_PI / 180 + 1e-6 : 0.005;
  const float angleTolerance = a.header.angleInDegrees ? 0.00005 * M_PI / 180 + 1e-7 : 0.00005;
  const float lengthTolerance = 0.00005f / a.header.length + 1e-6f;

  ASSERT_EQ(a.dofGroups.count(), b.dofGroups.count());
  KtListIter<KaASFDOFGroup*> ga(a.dofGroups), gb(b.dofGroups);
  while (!ga.atEnd()) expectSameDofs(**ga.next(), **gb.next(), limitTolerance);

  EXPECT_NEAR(a.root.position.x, b.root.position.x, 1e-5);
  EXPECT_NEAR(a.root.position.y, b.root.position.y, 1e-5);
  EXPECT_NEAR(a.root.position.z, b.root.position.z, 1e-5);
  for (int i = 0; i < 3; i++) {
    EXPECT_NEAR(a.root.orientation[i], b.root.orientation[i], angleTolerance);
    EXPECT_EQ(a.root.axis[i], b.root.axis[i]);
  }
  expectSameDofs(a.root.order, b.root.order, limitTolerance);

  ASSERT_EQ(a.bones.count(), b.bones.count());
  KtListIter<KaASFBone*> ia(a.bones), ib(b.bones);
  while (!ia.atEnd()) {
    const KaASFBone* x = *ia.next();
    const KaASFBone* y = *ib.next();
    SCOPED_TRACE(x->name.text());
    EXPECT_STREQ(x->name.text(), y->name.text());
    EXPECT_EQ(x->id(), y->id());
    EXPECT_NEAR(x->length, y->length, lengthTolerance);
    EXPECT_NEAR(x->direction.x, y->direction.x, 1e-6);
    EXPECT_NEAR(x->direction.y, y->direction.y, 1e-6);
    EXPECT_NEAR(x->direction.z, y->direction.z, 1e-6);
    for (int i = 0; i < 3; i++) {
      EXPECT_NEAR(x->axis[i], y->axis[i], angleTolerance);
      EXPECT_EQ(x->order[i], y->order[i]);
    }
    expectSameDofs(x->dofs, y->dofs, limitTolerance);
    EXPECT_EQ(boneName(x->parent), boneName(y->parent));
    EXPECT_EQ(boneName(x->child), boneName(y->child));
  }
  ASSERT_EQ(a.skins.count(), b.skins.count());
  for (int i = 0; i < a.skins.count(); i++) EXPECT_STREQ(a.skins[i].text(), b.skins[i].text());
}

// Reads path, saves it as copy and reads the copy back.
void expectFileRoundTrip(const std::string& path, const std::string& copy) {
  theExceptObj.clear();
  KaASF first;
  first.read(path.c_str());
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  ASSERT_GT(first.bones.count(), 0);
  first.save(copy.c_str());
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  KaASF second;
  second.read(copy.c_str());
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  expectSameSkeleton(first, second);
}

// A skeleton in degrees with every kind of field the writer prints.
KaASF fullSkeleton() {
  KaASF asf;
  asf.header.internal = 1;
  asf.header.version = 1.1f;
  asf.header.name = "s";
  asf.header.angleInDegrees = 1;
  asf.header.mass = 2;
  asf.header.length = 0.5f;
  asf.header.documentation = "walk\n take";
  KaASFDOFGroup arm;
  arm.name = "arm";
  arm.addDOF(KaRX);
  arm.addDOF(KaRY);
  arm.limits(KaRX)->lower = (float)(-M_PI / 2);
  arm.limits(KaRX)->upper = (float)(M_PI / 2);
  asf.addDOFGroup(arm);
  asf.root.axis[0] = 1;
  asf.root.axis[1] = 2;
  asf.root.axis[2] = 3;
  for (int code = KaTX; code <= KaRZ; code++) asf.root.order.addDOF(code);
  asf.root.position = point(1, 2, 3);
  asf.root.orientation[0] = (float)(M_PI / 2);
  asf.root.orientation[2] = (float)(-M_PI / 4);
  KaASFBone hips;
  hips.setId(3);
  hips.name = "hips";
  hips.direction = point(0, 1, 0);
  hips.length = 3;
  hips.axis[2] = (float)(M_PI / 2);
  hips.order[0] = 3;
  hips.order[1] = 2;
  hips.order[2] = 1;
  hips.dofs.addDOF(KaTX);
  hips.dofs.limits(KaTX)->lower = -2.5f;
  hips.dofs.limits(KaTX)->upper = 2.5f;
  hips.dofs.addDOF(KaASFDOF(KaRX, asf.findDOFGroup("arm")));
  hips.dofs.addDOF(KaASFDOF(KaRY, asf.findDOFGroup("arm")));
  asf.addBone(hips);
  int id = 1;
  for (const char* name : {"lfemur", "rfemur"}) {
    KaASFBone leg;
    leg.setId(id++);
    leg.name = name;
    for (int i = 0; i < 3; i++) leg.order[i] = i + 1;
    asf.addBone(leg);
    asf.findBone(name)->parent = asf.findBone("hips");
  }
  asf.findBone("hips")->child = asf.findBone("lfemur");
  asf.skins.append(KtStr("a.skn"));
  return asf;
}

const char* const kFullSkeletonText =
    ":asf-internal\n"
    ":version 1.10\n"
    ":name s\n"
    ":units\n"
    "  angle deg\n"
    "  mass 2.00\n"
    "  length 0.500000\n"
    ":documentation\n"
    "walk\n"
    " take\n"
    ":dofgroups\n"
    "  begin\n"
    "    name arm\n"
    "    dof  rx ry\n"
    "    limits (-90.00 90.00)\n"
    "           (-inf inf)\n"
    "  end\n"
    ":root\n"
    "  axis xyz\n"
    "  order tx ty tz rx ry rz\n"
    "  position 1.000000 2.000000 3.000000\n"
    "  orientation 90.0000 0.0000 -45.0000\n"
    ":bonedata\n"
    "  begin\n"
    "    id 3\n"
    "    name hips\n"
    "    direction 0.000000 1.000000 0.000000\n"
    "    length 1.5000\n"
    "    axis 0.0000 0.0000 90.0000 zyx\n"
    "    dof tx arm\n"
    "    limits (-2.50 2.50)\n"
    "  end\n"
    "  begin\n"
    "    id 1\n"
    "    name lfemur\n"
    "    direction 0.000000 0.000000 0.000000\n"
    "    length 0.0000\n"
    "    axis 0.0000 0.0000 0.0000 xyz\n"
    "  end\n"
    "  begin\n"
    "    id 2\n"
    "    name rfemur\n"
    "    direction 0.000000 0.000000 0.000000\n"
    "    length 0.0000\n"
    "    axis 0.0000 0.0000 0.0000 xyz\n"
    "  end\n"
    ":hierarchy\n"
    "  begin\n"
    "    root hips\n"
    "    hips lfemur rfemur \n"
    "  end\n"
    ":skin a.skn\n";

}  // namespace

TEST(KaASFWriter, NewSkeletonWritesTheFixedLayout) {
  KaASF asf;
  KaASFBone bone;
  bone.name = "hips";
  asf.addBone(bone);
  EXPECT_EQ(printed(asf),
            ":version 0.00\n:name \n:units\n  angle rad\n  mass 1.00\n  length 1.000000\n"
            ":root\n  axis \n  order  position 0.000000 0.000000 0.000000\n"
            "  orientation 0.0000 0.0000 0.0000\n"
            ":bonedata\n  begin\n    name hips\n    direction 0.000000 0.000000 0.000000\n"
            "    length 0.0000\n    axis 0.0000 0.0000 0.0000 \n  end\n"
            ":hierarchy\n  begin\n    root hips\n  end\n");
}

TEST(KaASFWriter, EveryFieldIsWrittenInItsPlaceAndFormat) {
  KaASF asf = fullSkeleton();
  EXPECT_EQ(printed(asf), kFullSkeletonText);
  // The text reads back to a skeleton that writes the same text again; the
  // unlimited rotation of the degree file stays "inf".
  theExceptObj.clear();
  KaASF back;
  scanText(back, kFullSkeletonText);
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  EXPECT_EQ(printed(back), kFullSkeletonText);
  EXPECT_FLOAT_EQ(back.findBone("hips")->length, 3.0f);
  EXPECT_EQ(back.findBone("hips")->dofs.dofAt(1)->group, back.findDOFGroup("arm"));
}

TEST(KaASFWriter, LimitsLineUpAndUnlimitedSidesAreWrittenAsInf) {
  KaASFBone bone;
  bone.name = "a";
  for (int code : {KaRX, KaRY, KaRZ, KaTX}) bone.dofs.addDOF(code);
  bone.dofs.limits(KaRY)->lower = (float)(-M_PI / 2);
  bone.dofs.limits(KaRY)->upper = (float)(M_PI / 2);
  bone.dofs.limits(KaRZ)->lower = 0;
  bone.dofs.limits(KaRZ)->upper = (float)M_PI;
  bone.dofs.limits(KaTX)->lower = -3;
  bone.dofs.limits(KaTX)->upper = 3.456f;
  std::ostringstream out;
  bone.printOn(out, 1);
  EXPECT_NE(out.str().find("    dof rx ry rz tx\n    limits (-inf inf)\n"
                           "           (-90.00 90.00)\n           (0.00 180.00)\n"
                           "           (-3.00 3.46)\n  end\n"),
            std::string::npos)
      << out.str();
  // A degree file's "inf" on a rotation is held scaled to radians.
  KaASFLimits scaled;
  scaled.lower = (float)(-3.40282347e38 * M_PI / 180);
  scaled.upper = (float)(3.40282347e38 * M_PI / 180);
  std::ostringstream degrees, radians;
  scaled.printOn(degrees, 1);
  scaled.printOn(radians, 0);
  EXPECT_EQ(degrees.str(), "(-inf inf)\n");
  EXPECT_EQ(radians.str().find("inf"), std::string::npos) << radians.str();
}

TEST(KaASFWriter, DofListNamesWholeGroupsAndPicks) {
  KaASF asf;
  for (const char* name : {"arm", "leg"}) {
    KaASFDOFGroup g;
    g.name = name;
    g.addDOF(KaRX);
    g.addDOF(KaRY);
    g.addDOF(KaRZ);
    asf.addDOFGroup(g);
  }
  KaASFDOFGroup* arm = asf.findDOFGroup("arm");
  KaASFDOFGroup* leg = asf.findDOFGroup("leg");
  KaASFDOFGroup list;
  list.addDOF(KaRX);
  for (int code : {KaRX, KaRY, KaRZ}) list.addDOF(KaASFDOF(code, arm));
  list.addDOF(KaASFDOF(KaRY, leg));
  KaASF holder;
  holder.root.order = list;
  std::string text = printed(holder);
  EXPECT_NE(text.find("  order rx arm leg<ry>\n"), std::string::npos) << text;

  KaASFBone bone;
  bone.name = "a";
  bone.dofs.addDOF(KaASFDOF(KaRX, arm));
  bone.dofs.addDOF(KaASFDOF(KaRZ, arm));
  bone.dofs.addDOF(KaTX);
  bone.dofs.addDOF(KaASFDOF(KaRX, arm));
  bone.dofs.addDOF(KaASFDOF(KaRY, arm));
  bone.dofs.addDOF(KaASFDOF(KaRZ, arm));
  std::ostringstream out;
  bone.printOn(out, 0);
  // Only the bone's own dof gets a pair: group dofs have their group's.
  EXPECT_NE(out.str().find("    dof arm<rx rz> tx arm\n    limits (-inf inf)\n  end\n"),
            std::string::npos)
      << out.str();
}

TEST(KaASFWriter, InvalidDofCodesWriteNothingAndComplainOnStandardError) {
  KaASFBone bone;
  bone.name = "a";
  bone.dofs.addDOF(KaRX);
  bone.dofs.addDOF(9);
  std::ostringstream out;
  testing::internal::CaptureStderr();
  bone.printOn(out, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid dof value '9'\n");
  EXPECT_NE(out.str().find("    dof rx \n"), std::string::npos) << out.str();
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
}

TEST(KaASFWriter, HierarchyIsRebuiltFromTheParentLinks) {
  KaASF asf;
  theExceptObj.clear();
  scanText(asf,
           ":version 1\n:bonedata\n"
           " begin name hips direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
           " begin name lfemur direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
           " begin name rfemur direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
           " begin name loose direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
           ":hierarchy\n begin\n hips rfemur\n root hips\n hips lfemur\n end\n");
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  std::string text = printed(asf);
  EXPECT_EQ(text.substr(text.find(":hierarchy")),
            ":hierarchy\n  begin\n    root hips loose\n    hips lfemur rfemur \n  end\n");
}

TEST(KaASFWriter, BoneListShowsNamesIdsAndParents) {
  KaASF asf;
  KaASFBone a, b, unnamed;
  a.name = "a";
  a.setId(1);
  b.name = "b";
  b.setId(2);
  unnamed.name = KtStr();
  asf.addBone(a);
  asf.addBone(b);
  asf.addBone(unnamed);
  asf.findBone("b")->parent = asf.findBone("a");
  std::ostringstream pointers;
  pointers << static_cast<const void*>(nullptr) << '|'
           << static_cast<const void*>(asf.findBone("a"));
  std::string none = pointers.str().substr(0, pointers.str().find('|'));
  std::string pa = pointers.str().substr(pointers.str().find('|') + 1);
  std::ostringstream out;
  asf.printBoneListOn(out);
  EXPECT_EQ(out.str(), "*** bone list ***\n  Bone: a\n    id: 1\n    parent: ptr = " + none +
                           "\n  Bone: b\n    id: 2\n    parent: ptr = " + pa +
                           " name = a id = 1\n*** end ***\n");
}

TEST(KaASFWriter, SavedFilesTheReaderRefusesAsDocumented) {
  // Groups without the internal flag.
  KaASF groups = fullSkeleton();
  groups.header.internal = 0;
  KaASF back;
  theExceptObj.clear();
  scanText(back, printed(groups));
  EXPECT_EQ(takeChain(), (Chain{"Line 10:  Unknown keyword ':dofgroups' encountered."}));
  // The zero axis order of a new bone: the reader takes "end" for the order.
  KaASFBone plain;
  plain.name = "plain";
  KaASF withBone;
  withBone.header.name = "w";
  for (int i = 0; i < 3; i++) withBone.root.axis[i] = i + 1;
  withBone.addBone(plain);
  scanText(back, printed(withBone));
  EXPECT_EQ(takeChain(),
            (Chain{"Unable to read :bonedata section.", "Line 17:  Unable to read sequence.",
                   "Invalid axis specification."}));
  // An empty name.
  KaASF nameless;
  nameless.root.axis = withBone.root.axis;
  scanText(back, printed(nameless));
  EXPECT_EQ(takeChain(),
            (Chain{"Unable to read :name section.",
                   "Line 3:  Unexpected data ':units' encountered for :name section."}));
}

TEST(KaASFWriter, EmptyRootOrderReadsBackEmpty) {
  KaASF asf;
  asf.header.name = "n";
  for (int i = 0; i < 3; i++) asf.root.axis[i] = 3 - i;
  asf.root.position = point(1, -2, 0.5f);
  std::string text = printed(asf);
  EXPECT_NE(text.find("  order  position 1.000000 -2.000000 0.500000\n"), std::string::npos);
  theExceptObj.clear();
  KaASF back;
  scanText(back, text);
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  expectSameSkeleton(asf, back);
  EXPECT_TRUE(back.root.order.isEmpty());
}

TEST(KaASFWriter, CmuSkeletonsReadSaveAndReadBackEqual) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  for (const char* name : {"lambada.asf", "charleston.asf"}) {
    SCOPED_TRACE(name);
    std::string source = std::string(RC_DATA_DIR) + "/cmu/" + name;
    expectFileRoundTrip(source, dir.file(name));
    expectFileRoundTrip(source, dir.file(std::string(name) + ".gz"));
  }
  // What was read from the file is what the file says.
  KaASF asf;
  asf.read((std::string(RC_DATA_DIR) + "/cmu/lambada.asf").c_str());
  ASSERT_FALSE(theExceptObj.exceptionOccurred());
  KaASFBone* lfemur = asf.findBone("lfemur");
  ASSERT_NE(lfemur, nullptr);
  EXPECT_NEAR(lfemur->length, 7.06802 / 0.45, 1e-4);
  EXPECT_NEAR(lfemur->dofs.limits(KaRX)->lower, -160 * M_PI / 180, 1e-6);
  EXPECT_EQ(lfemur->id(), 2);
  // Lengths are written in the file's units.
  asf.save(dir.file("again.asf").c_str());
  EXPECT_NE(readFile(dir.file("again.asf")).find("    name lfemur\n"), std::string::npos);
  EXPECT_NE(readFile(dir.file("again.asf")).find("    length 7.0680\n"), std::string::npos);
}

TEST(KaASFWriter, DegreeFileWithLimitsAndLengthFactorRoundTrips) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  std::string source = dir.file("deg.asf");
  std::ofstream(source)
      << ":version 1.10\n:name s\n:units\n angle deg\n length 0.45\n:root\n axis xyz\n"
         " order tx ty tz rx ry rz\n position 0 0 0\n orientation 0 0 0\n:bonedata\n"
         " begin id 1 name hips direction 0 1 0 length 3 axis 0 0 90 xyz\n"
         "  dof rx ry rz tx limits (-inf inf) (-90 90) (0 180) (-inf 2.5) end\n"
         ":hierarchy\n begin\n root hips\n end\n";
  std::string copy = dir.file("copy.asf");
  expectFileRoundTrip(source, copy);
  std::string text = readFile(copy);
  EXPECT_NE(text.find("    limits (-inf inf)\n           (-90.00 90.00)\n"
                      "           (0.00 180.00)\n           (-inf 2.50)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    length 3.0000\n"), std::string::npos) << text;
  theExceptObj.clear();
  KaASF back;
  back.read(copy.c_str());
  const KaASFLimits* rx = back.findBone("hips")->dofs.limits(KaRX);
  EXPECT_EQ(rx->upper, (float)(3.40282347e38 * M_PI / 180));
  EXPECT_EQ(back.findBone("hips")->dofs.limits(KaTX)->lower, -3.40282347e38f);
}

TEST(KaASFWriter, SaveWritesRealGzipAndCompressData) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  KaASF asf = fullSkeleton();
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip", "compress", "uncompress");
  std::string gz = dir.file("x.asf.gz");
  std::string z = dir.file("x.asf.Z");
  theExceptObj.clear();
  asf.save(gz.c_str());
  asf.save(z.c_str());
  ASSERT_TRUE(takeChain().empty());
  std::string gzBytes = readFile(gz);
  std::string zBytes = readFile(z);
  ASSERT_GE(gzBytes.size(), 2u);
  ASSERT_GE(zBytes.size(), 2u);
  EXPECT_EQ(gzBytes.substr(0, 2), "\x1f\x8b");
  EXPECT_EQ(zBytes.substr(0, 2), "\x1f\x9d");
  EXPECT_EQ(KaASF::fileContainsASF(gz.c_str()), 1);
  EXPECT_EQ(KaASF::fileContainsASF(z.c_str()), 1);
  for (const std::string& path : {gz, z, dir.file("x.asf")}) {
    SCOPED_TRACE(path);
    KaASF back;
    back.read(path.c_str());
    ASSERT_TRUE(takeChain().empty());
    EXPECT_EQ(printed(back), kFullSkeletonText);
  }
}

TEST(KaASFWriter, SaveFailuresGiveTheirChains) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  KaASF asf = fullSkeleton();
  theExceptObj.clear();
  std::string nowhere = dir.file("missing/x.asf");
  asf.save(nowhere.c_str());
  EXPECT_EQ(takeChain(dir.path), (Chain{"File \"F/missing/x.asf\" is unwritable.",
                                        "Parent directory \"F/missing\" does not exist."}));

  // The header tests the stream: its message comes with the system's
  // reason at the end of the chain.
  asf.save("/dev/full");
  EXPECT_EQ(takeChain(), (Chain{"Unable to write '/dev/full'.", "Unable to write header info.",
                                "Unable to write version.\nNo space left on device"}));

  // A compressor that takes everything and then fails fails the save.
  std::string tools = dir.file("bin");
  mkdir(tools.c_str(), 0700);
  std::ofstream(tools + "/gzip") << "#!/bin/sh\ncat >/dev/null\nexit 1\n";
  chmod((tools + "/gzip").c_str(), 0700);
  std::string savedPath = std::getenv("PATH");
  setenv("PATH", (tools + ":" + savedPath).c_str(), 1);
  std::string out = dir.file("x.asf.gz");
  asf.save(out.c_str());
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_EQ(takeChain(out),
            (Chain{"Unable to write 'F'.", "Command 'gzip' failed to compress\n'F'."}));
}

// A skeleton of many bones, whose text takes a few hundred kilobytes.
KaASF manyBones() {
  std::string text = ":version 1\n:bonedata\n";
  for (int i = 0; i < 2000; i++)
    text += " begin name b" + std::to_string(i) + " direction 0 0 1 length 1 axis 0 0 0 xyz end\n";
  text += ":hierarchy\n begin\n root";
  for (int i = 0; i < 2000; i++) text += " b" + std::to_string(i);
  text += "\n end\n";
  KaASF asf;
  scanText(asf, text);
  return asf;
}

TEST(KaASFWriter, SaveOnAFullDiskLeavesThePreviousFileWhole) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  KaASF asf = manyBones();
  ASSERT_TRUE(takeChain().empty());
  std::string disk = dir.file("disk");
  ASSERT_EQ(mkdir(disk.c_str(), 0755), 0);
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  std::string path = disk + "/skel.asf";
  std::ofstream(path) << "previous\n";
  asf.save(path.c_str());
  Chain chain = takeChain(path);
  std::string previous = readFile(path);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(disk))
    names.push_back(entry.path().filename().string());
  umount(disk.c_str());
  EXPECT_EQ(chain, (Chain{"Unable to write 'F'.", "Unable to write to \"F\".",
                          "No space left on device"}));
  EXPECT_EQ(previous, "previous\n");
  EXPECT_EQ(names, std::vector<std::string>{"skel.asf"});
}

TEST(KaASFWriter, SaveThroughALinkToAFullDeviceSaysWhy) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  KaASF asf = fullSkeleton();
  std::string link = dir.file("skel.asf");
  ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
  theExceptObj.clear();
  asf.save(link.c_str());
  EXPECT_EQ(takeChain(link), (Chain{"Unable to write 'F'.", "Unable to write header info.",
                                    "Unable to write version.\nNo space left on device"}));
  struct stat info;
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(KaASFWriter, DeepChainsWriteAndReadBack) {
  std::string text = ":version 1\n:bonedata\n";
  const int n = 20000;
  for (int i = 0; i < n; i++)
    text += " begin name b" + std::to_string(i) + " direction 0 0 1 length 1 axis 0 0 0 xyz end\n";
  text += ":hierarchy\n begin\n root b0\n";
  for (int i = 0; i + 1 < n; i++)
    text += " b" + std::to_string(i) + " b" + std::to_string(i + 1) + "\n";
  text += " end\n";
  theExceptObj.clear();
  KaASF asf;
  scanText(asf, text);
  ASSERT_FALSE(theExceptObj.exceptionOccurred());
  asf.header.name = "deep";  // the defaults of name and root axis do not read back
  for (int i = 0; i < 3; i++) asf.root.axis[i] = i + 1;
  std::string saved = printed(asf);
  EXPECT_NE(saved.find("    b19998 b19999 \n"), std::string::npos);
  KaASF back;
  scanText(back, saved);
  ASSERT_FALSE(theExceptObj.exceptionOccurred()) << takeChain()[0];
  ASSERT_EQ(back.bones.count(), n);
  EXPECT_EQ(back.findBone("b19999")->parent, back.findBone("b19998"));
  EXPECT_EQ(back.findBone("b0")->parent, nullptr);
}
