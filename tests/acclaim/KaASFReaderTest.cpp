#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaASF.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtExcept.h"

namespace {

// The chain of messages, newest first, and the holder emptied.
std::vector<std::string> takeChain() {
  std::vector<std::string> out;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail())
    out.push_back(e->message().text());
  theExceptObj.clear();
  return out;
}

std::vector<std::string> scan(KaASF& asf, const std::string& text) {
  theExceptObj.clear();
  std::istringstream in(text);
  asf.scanFrom(in);
  return takeChain();
}

using Chain = std::vector<std::string>;

const char* const kBone =
    "  begin\n    name hips\n    direction 0 1 0\n    length 3\n    axis 0 0 90 XYZ\n"
    "    dof rx ry rz\n    limits (-160 20) (-70 70)\n  end\n";

}  // namespace

TEST(KaASFReader, ReadsSectionsAndGivesIdsInFileOrder) {
  KaASF asf;
  Chain chain =
      scan(asf, std::string(":Version 1.10\n:name x\n:units\n  length 0.5\n  angle deg\n"
                            ":bonedata\n") +
                    kBone +
                    "  begin\n id 1\n name a\n direction 1 0 0 length 1 axis 0 0 0 xzy\n end\n"
                    "  begin\n name b\n direction 1 0 0 length 1 axis 0 0 0 xyz\n end\n"
                    ":hierarchy\n  begin\n    root hips\n    hips a b\n  end\n");
  EXPECT_TRUE(chain.empty());
  EXPECT_FLOAT_EQ(asf.header.version, 1.1f);
  EXPECT_STREQ(asf.header.name.text(), "x");
  ASSERT_EQ(asf.bones.count(), 3);
  KaASFBone* hips = asf.findBone("HIPS");
  ASSERT_NE(hips, nullptr);
  EXPECT_EQ(hips->id(), 2);  // 1 is taken by a
  EXPECT_EQ(asf.findBone("b")->id(), 3);
  EXPECT_FLOAT_EQ(hips->length, 6.0f);
  EXPECT_FLOAT_EQ(hips->axis[2], (float)(M_PI / 2));
  EXPECT_FLOAT_EQ(hips->dofs.limits(4)->lower, (float)(-160 * M_PI / 180));
  EXPECT_FLOAT_EQ(hips->dofs.limits(6)->upper, 3.40282347e38f);
  EXPECT_EQ(asf.findBone("a")->order[1], 3);
  EXPECT_EQ(asf.findBone("a")->parent, hips);
  EXPECT_EQ(hips->child, asf.findBone("a"));
  EXPECT_EQ(hips->parent, nullptr);
}

TEST(KaASFReader, HeaderFailuresGiveTheirMessages) {
  KaASF asf;
  EXPECT_EQ(scan(asf, ":version 1.0\n"), (Chain{"Unexpected end of file."}));
  EXPECT_EQ(scan(asf, ":asf-internal x\n:version 1\n:name a\n"),
            (Chain{"Unexpected value for :asf-internal section."}));
  EXPECT_EQ(scan(asf, ":name a\n"), (Chain{"File does not contain ASF data.",
                                           "File does not contain the ':version' keyword."}));
  EXPECT_EQ(scan(asf, ":version abc\n:name a\n"),
            (Chain{"Line 1:  Invalid value for :version.", "Invalid number."}));
  EXPECT_EQ(scan(asf, ":version 1 2\n:name a\n"),
            (Chain{"Unexpected value for :version section."}));
}

TEST(KaASFReader, SectionFailuresCarryLineAndSectionMessages) {
  KaASF asf;
  EXPECT_EQ(scan(asf, ":version 1\n:dofgroups\n"),
            (Chain{"Line 2:  Unknown keyword ':dofgroups' encountered."}));
  EXPECT_EQ(scan(asf, ":version 1\n:name John Doe\n"),
            (Chain{"Unable to read :name section.",
                   "Line 2:  Unexpected data 'Doe' encountered for :name section."}));
  EXPECT_EQ(scan(asf, ":version 1\n:units\n mass 1\n mass 2\n"),
            (Chain{"Unable to read :units section.",
                   "Line 4:  Duplicate mass specification in :units section."}));
  EXPECT_EQ(scan(asf, ":version 1\n:root\n  axis XY\n"),
            (Chain{"Unable to read :root section.", "Line 3:  Unable to read sequence.",
                   "Invalid axis specification."}));
  EXPECT_EQ(scan(asf, ":version 1\n:root\n\n\n\n  position 1 x 2\n"),
            (Chain{"Unable to read :root section.",
                   "Line 6:  Invalid value for position in :root section.", "Invalid number."}));
  EXPECT_EQ(scan(asf, ":version 1\n:root\n  order rx rx\n"),
            (Chain{"Unable to read :root section.", "Unable to read order in :root section.",
                   "Line 3:  Dof 'rx' specified more than once."}));
  EXPECT_EQ(scan(asf, ":version 1\n:hierarchy\n begin\n root hips\n"),
            (Chain{"Unable to read :hierarchy section.", "Line 4:  Unable to find bone 'hips'."}));
  EXPECT_EQ(asf.bones.count(), 0);
}

TEST(KaASFReader, BonedataBlockRulesGiveTheirMessages) {
  KaASF asf;
  const std::string head = ":version 1\n:bonedata\n begin\n";
  auto inner = [&](const std::string& block) {
    Chain c = scan(asf, head + block);
    return c.size() > 1 ? c[1] : std::string();
  };
  EXPECT_EQ(inner(" name a\n direction 0 0 1\n id 3\n"),
            "Line 6:  Id must come before all other data except name in :bonedata section.");
  EXPECT_EQ(inner(" name a\n direction 0 0 1\n length 1\n end\n"),
            "Line 7:  Axis undefined in :bonedata section.");
  EXPECT_EQ(inner(" end\n"), "Line 4:  Name undefined in :bonedata section.");
  EXPECT_EQ(inner(" name a dof rx ry rz limits (-1 1) (-1 1) (-1 1) (-1 1)\n"),
            "Line 4:  Too many limits specified in :bonedata section.");
  EXPECT_EQ(inner(" name a dof rx limits (20 -160)\n"),
            "Line 4:  Lower limit greater than upper limit in :bonedata section.");
  EXPECT_EQ(inner(" name a dof rx limits (20 end\n"),
            "Line 4:  Invalid value for upper limit in :bonedata section.");
  EXPECT_EQ(inner(" name a dof arm\n"),
            "Line 4:  Unexpected 'arm' encountered in :bonedata section.");
}

TEST(KaASFReader, LimitsListEndKeepsEarlierWarnings) {
  KaASF asf;
  Chain chain = scan(asf, ":version 1\n:name " + std::string(60, 'n') +
                              "\n:bonedata\n begin\n name a dof rx limits (-1 1)\n direction 0 0 1"
                              " length 1 axis 0 0 0 xyz\n end\n:skin\n");
  EXPECT_EQ(chain, (Chain{"Line 2:  :name data exceeds limit of 50 characters."}));
  EXPECT_EQ(asf.bones.count(), 1);
  EXPECT_EQ(asf.header.name.length(), 60);
}

TEST(KaASFReader, HierarchyLoopsAreRefused) {
  KaASF asf;
  const std::string bones =
      ":version 1\n:bonedata\n begin name a direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
      " begin name b direction 0 0 1 length 1 axis 0 0 0 xyz end\n:hierarchy\n begin\n";
  Chain self = scan(asf, bones + " a a\n end\n");
  ASSERT_EQ(self.size(), 2u);
  EXPECT_EQ(self[0], "Unable to read :hierarchy section.");
  EXPECT_EQ(self[1], "Line 7:  Bone 'a' is its own ancestor in :hierarchy section.");
  Chain pair = scan(asf, bones + " a b\n b a\n end\n");
  ASSERT_EQ(pair.size(), 2u);
  EXPECT_EQ(pair[0], "Unable to read :hierarchy section.");
  EXPECT_EQ(asf.bones.count(), 0);
}

TEST(KaASFReader, BuildsDifferInRootScaleAndDuplicateIds) {
  KtBuild saved = KtGetBuild();
  const std::string text =
      ":version 1\n:units length 0.5\n:root position 10 0 0\n:bonedata\n"
      " begin id 4 name a direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
      " begin id 4 name b direction 0 0 1 length 1 axis 0 0 0 xyz end\n:skin\n";
  KaASF skel;
  KtSetBuild(KtBuild::Skelconv);
  Chain chain = scan(skel, text);
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_EQ(chain[1], "Line 6:  Multiple bones have id 4.");
  EXPECT_FLOAT_EQ(skel.root.position.x, 20.0f);
  KaASF mot;
  KtSetBuild(KtBuild::Motconv);
  EXPECT_TRUE(scan(mot, text).empty());
  EXPECT_FLOAT_EQ(mot.root.position.x, 10.0f);
  EXPECT_EQ(mot.bones.count(), 2);
  KtSetBuild(saved);
}

TEST(KaASFReader, DeepChainsAndHugeTokensNeitherCrashNorHang) {
  std::string text = ":version 1\n:bonedata\n";
  const int n = 20000;
  for (int i = 0; i < n; i++)
    text +=
        " begin name b" + std::to_string(i) + " direction 0 0 1 length 1e999 axis 0 0 0 xyz end\n";
  text += ":hierarchy\n begin\n root b0\n";
  for (int i = 0; i + 1 < n; i++)
    text += " b" + std::to_string(i) + " b" + std::to_string(i + 1) + "\n";
  text += " end\n:documentation " + std::string(10 * 1024 * 1024, 'w') + "\n";
  KaASF asf;
  EXPECT_TRUE(scan(asf, text).empty());
  ASSERT_EQ(asf.bones.count(), n);
  KaASF copy(asf);
  EXPECT_EQ(copy.findBone("b19999")->parent, copy.findBone("b19998"));
  EXPECT_EQ(copy.firstUnusedBoneId(), n + 1);
}

TEST(KaASFReader, DofGroupsAndPicksInInternalFiles) {
  KaASF asf;
  const std::string head =
      ":asf-internal\n:version 1\n:dofgroups\n begin name arm dof rx ry rz limits (-1 1) end\n"
      ":bonedata\n begin name a direction 0 0 1 length 1 axis 0 0 0 xyz ";
  EXPECT_TRUE(scan(asf, head + "dof tx arm<ry> end\n:skin\n").empty());
  KaASFBone* a = asf.findBone("a");
  ASSERT_EQ(a->dofs.count(), 2);
  EXPECT_EQ(a->dofs.dofAt(1)->group, asf.findDOFGroup("arm"));
  EXPECT_FLOAT_EQ(a->dofs.dofAt(1)->limits()->lower, 3.40282347e38f * -1);
  Chain bad = scan(asf, head + "dof arm<tx> end\n");
  ASSERT_EQ(bad.size(), 3u);
  EXPECT_EQ(bad[2], "Line 6:  Dofgroup 'arm' does not contain dof 'tx'.");
  Chain empty = scan(asf, head + "dof arm<> end\n");
  ASSERT_EQ(empty.size(), 3u);
  EXPECT_EQ(empty[2], "Line 6:  No dof specified within < >.");
}

TEST(KaASFReader, MissingFileInSkelconvIsUnableToOpen) {
  KtBuild saved = KtGetBuild();
  KtSetBuild(KtBuild::Skelconv);
  theExceptObj.clear();
  KaASF asf;
  asf.read("/nonexistent/x.asf");
  Chain chain = takeChain();
  ASSERT_FALSE(chain.empty());
  EXPECT_EQ(chain[0], "Unable to open \"/nonexistent/x.asf\".");
  KtSetBuild(saved);
}
