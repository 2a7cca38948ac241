#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "acclaim/KaASF.h"
#include "tests/TestTools.h"
#include "tests/acclaim/AsfTestFiles.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtExcept.h"

namespace {

using asftest::BuildSwitch;
using asftest::Chain;
using asftest::readFile;
using asftest::takeChain;
using asftest::TempDir;

Chain scan(KaASF& asf, const std::string& text) {
  theExceptObj.clear();
  std::istringstream in(text);
  asf.scanFrom(in);
  return takeChain();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Compresses text into path with the tool ("gzip" or "compress").
void compressTo(const std::string& tool, const std::string& text, const std::string& path) {
  std::string plain = path + ".src";
  writeFile(plain, text);
  std::string command = tool + " -c <'" + plain + "' >'" + path + "'";
  int status = std::system(command.c_str());
  // compress answers 2 when its output did not shrink.
  ASSERT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2))
      << command;
  std::remove(plain.c_str());
}

// Reads the text as the file skel.asf with motconv's reader; the chain has
// the file's path as F.
Chain readText(const std::string& text, KaASF* into = nullptr) {
  TempDir dir;
  std::string path = dir.file("skel.asf");
  writeFile(path, text);
  BuildSwitch build(KtBuild::Motconv);
  theExceptObj.clear();
  KaASF local;
  KaASF& asf = into ? *into : local;
  asf.read(path.c_str());
  return takeChain(path);
}

// A complete bone block on one line.
std::string bone(const std::string& name, const std::string& before = "") {
  return " begin " + before + " name " + name + " direction 0 0 1 length 1 axis 0 0 0 xyz end\n";
}

struct Case {
  std::string text;
  Chain chain;
};

void expectChains(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 200));
    KaASF asf;
    EXPECT_EQ(readText(c.text, &asf), c.chain);
    EXPECT_EQ(asf.bones.count(), 0);
  }
}

const char* const F = "Unable to read 'F'.";
const char* const N = "Invalid number.";

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
  EXPECT_FLOAT_EQ(hips->dofs.limits(5)->upper, (float)(70 * M_PI / 180));
  EXPECT_FLOAT_EQ(hips->dofs.limits(6)->upper, 3.40282347e38f);
  EXPECT_FLOAT_EQ(hips->dofs.limits(6)->lower, -3.40282347e38f);
  EXPECT_EQ(asf.findBone("a")->order[1], 3);
  EXPECT_EQ(asf.findBone("a")->parent, hips);
  EXPECT_EQ(asf.findBone("b")->parent, hips);
  EXPECT_EQ(hips->child, asf.findBone("a"));
  EXPECT_EQ(hips->parent, nullptr);
}

TEST(KaASFReader, IdsFillGapsZeroGetsAFreshIdAndMinusOneEndsAsZero) {
  KaASF asf;
  EXPECT_TRUE(scan(asf, ":version 1\n:bonedata\n" + bone("a", "id 0") + bone("b") +
                            bone("c", "id 2") + bone("d", "id -1") + bone("e") + ":skin\n")
                  .empty());
  ASSERT_EQ(asf.bones.count(), 5);
  EXPECT_EQ(asf.findBone("a")->id(), 1);
  EXPECT_EQ(asf.findBone("b")->id(), 3);
  EXPECT_EQ(asf.findBone("c")->id(), 2);
  EXPECT_EQ(asf.findBone("d")->id(), 0);
  EXPECT_EQ(asf.findBone("e")->id(), 4);
}

TEST(KaASFReader, FileHeaderFailuresGiveTheWholeChain) {
  expectChains({
      {"", {F, "Unexpected end of file."}},
      {":version 1.0\n", {F, "Unexpected end of file."}},
      {":asf-internal\n", {F, "Unexpected end of file."}},
      {":asf-internal x\n:version 1\n:name a\n",
       {F, "Unexpected value for :asf-internal section."}},
      {":name a\n",
       {F, "File does not contain ASF data.", "File does not contain the ':version' keyword."}},
      {":version abc\n:name a\n", {F, "Line 1:  Invalid value for :version.", N}},
      {":version 1 2\n:name a\n", {F, "Unexpected value for :version section."}},
      {":version 1\n:dofgroups\n", {F, "Line 2:  Unknown keyword ':dofgroups' encountered."}},
      {":version 1\n\n:weight 3\n", {F, "Line 3:  Unknown keyword ':weight' encountered."}},
  });
}

TEST(KaASFReader, NameUnitsAndRootFailuresGiveTheWholeChain) {
  const std::string v = ":version 1\n";
  const char* const name = "Unable to read :name section.";
  const char* const units = "Unable to read :units section.";
  const char* const root = "Unable to read :root section.";
  expectChains({
      {v + ":name John Doe\n",
       {F, name, "Line 2:  Unexpected data 'Doe' encountered for :name section."}},
      {v + ":name\n:units\n",
       {F, name, "Line 3:  Unexpected data ':units' encountered for :name section."}},
      {v + ":units\n mass 1\n mass 2\n",
       {F, units, "Line 4:  Duplicate mass specification in :units section."}},
      {v + ":units\n length 1\n length 2\n",
       {F, units, "Line 4:  Duplicate length specification in :units section."}},
      {v + ":units\n angle deg\n angle rad\n",
       {F, units, "Line 4:  Duplicate angle specification in :units section."}},
      {v + ":units\n mass heavy\n",
       {F, units, "Line 3:  Unable to read mass data in :units section.", N}},
      {v + ":units\n length\n long\n",
       {F, units, "Line 4:  Unable to read length data in :units section.", N}},
      {v + ":units\n angle grad\n", {F, units, "Line 3:  Illegal value for angle."}},
      {v + ":units\n volume 3\n", {F, units, "Line 3:  Unexpected 'volume' in :units section."}},
      {v + ":root\n axis xyz\n", {F, root, "Line 4:  Unexpected end of input."}},
      {v + ":root\n axis xyz\n axis xyz\n",
       {F, root, "Line 4:  Duplicate axis keyword in :root section."}},
      {v + ":root\n order tx\n order ty\n",
       {F, root, "Line 4:  Duplicate order keyword in :root section."}},
      {v + ":root\n position 0 0 0\n position 1 1 1\n",
       {F, root, "Line 4:  Duplicate position keyword in :root section."}},
      {v + ":root\n orientation 0 0 0\n orientation 0 0 0\n",
       {F, root, "Line 4:  Duplicate orientation keyword in :root section."}},
      {v + ":root\n axis XY\n",
       {F, root, "Line 3:  Unable to read sequence.", "Invalid axis specification."}},
      {v + ":root\n order rx rx\n",
       {F, root, "Unable to read order in :root section.",
        "Line 3:  Dof 'rx' specified more than once."}},
      {v + ":root\n\n\n\n  position 1 x 2\n",
       {F, root, "Line 6:  Invalid value for position in :root section.", N}},
      {v + ":root\n orientation 1 2\n:skin\n",
       {F, root, "Line 4:  Invalid value for orientation in :root section.", N}},
      {v + ":root\n scale 2\n",
       {F, root, "Line 3:  Unexpected 'scale' encountered in :root section."}},
  });
}

TEST(KaASFReader, HierarchyFailuresGiveTheWholeChain) {
  const std::string head = ":version 1\n:bonedata\n" + bone("a") + bone("b") + ":hierarchy\n";
  const char* const h = "Unable to read :hierarchy section.";
  expectChains({
      {head + " root a\n",
       {F, h, "Line 6:  Expected 'begin' keyword in :hierarchy section, got 'root'."}},
      {head + " begin\n root a\n", {F, h, "Line 8:  Unexpected end of input."}},
      {head + " begin\n root a\n end extra\n",
       {F, h, "Line 8:  Unexpected 'extra' encountered after :hierarchy section."}},
      {head + " begin\n root c\n", {F, h, "Line 7:  Unable to find bone 'c'."}},
      {head + " begin\n x a\n", {F, h, "Line 7:  Unable to find bone 'x'."}},
      // Only the parent word "root" means the root in any case.
      {head + " begin\n a ROOT\n end\n", {F, h, "Line 7:  Unable to find bone 'ROOT'."}},
      // Not closed by "end": the next section's mark is taken for a bone.
      {head + " begin\n root a\n:skin x\n", {F, h, "Line 8:  Unable to find bone '\001'."}},
  });
}

TEST(KaASFReader, BonedataFailuresGiveTheWholeChain) {
  const std::string v = ":version 1\n:bonedata\n";
  const std::string h = v + " begin\n";
  const char* const b = "Unable to read :bonedata section.";
  auto line = [](int n, const std::string& m) {
    return "Line " + std::to_string(n) + ":  " + m + " in :bonedata section.";
  };
  expectChains({
      {h + " name a\n begin\n", {F, b, line(5, "Expected 'end' keyword")}},
      {h + " name a\n:skin\n", {F, b, line(5, "Expected 'end' keyword")}},
      {h + " name a\n",
       {F, b, "The file ends inside the :bonedata section that begins on line 2."}},
      {v + " end\n", {F, b, line(3, "Unexpected 'end' encountered")}},
      {v + " name a\n", {F, b, line(3, "Data specified outside of begin/end pair")}},
      {v, {F, b, "The file ends inside the :bonedata section that begins on line 2."}},
      {h + " name a\n length -2\n",
       {F, b, line(5, "Invalid value for length"), "Number '-2' is negative."}},
      {h + " name a\n length -0\n",
       {F, b, "The file ends inside the :bonedata section that begins on line 2."}},
      {h + " name a\n id 1\n id 2\n", {F, b, line(6, "Duplicate id specification")}},
      {h + " id x\n", {F, b, line(4, "Invalid value for 'id'"), N}},
      {h + " name a\n direction 0 0 1\n id 3\n",
       {F, b, line(6, "Id must come before all other data except name")}},
      {h + " name a\n bodymass 1\n name b\n",
       {F, b, line(6, "Name must come before all other except id")}},
      {h + " name a\n name b\n", {F, b, line(5, "Duplicate name specification")}},
      {h + " direction 0 0 1\n", {F, b, line(4, "Direction specification defined before name")}},
      {h + " name a\n direction 0 0 1\n direction 0 0 1\n",
       {F, b, line(6, "Duplicate direction specification")}},
      {h + " name a\n direction 0 x 1\n", {F, b, line(5, "Invalid value for direction"), N}},
      {h + " length 1\n", {F, b, line(4, "Length specification defined before name")}},
      {h + " name a\n length 1\n length 1\n", {F, b, line(6, "Duplicate length specification")}},
      {h + " name a\n length q\n", {F, b, line(5, "Invalid value for length"), N}},
      {h + " axis 0 0 0 xyz\n", {F, b, line(4, "Axis defined before name")}},
      {h + " name a\n axis 0 0 0 xyz\n axis 0 0 0 xyz\n",
       {F, b, line(6, "Duplicate axis specification")}},
      {h + " name a\n axis 0 q 0 xyz\n", {F, b, line(5, "Invalid value for axis"), N}},
      {h + " name a\n axis 0 0 0 xy\n",
       {F, b, "Line 5:  Unable to read sequence.", "Invalid axis specification."}},
      {h + " bodymass 1\n", {F, b, line(4, "Bodymass defined before name")}},
      {h + " name a\n bodymass 1\n bodymass 1\n",
       {F, b, line(6, "Duplicate bodymass specification")}},
      {h + " name a\n bodymass q\n", {F, b, line(5, "Invalid value for bodymass"), N}},
      {h + " cofmass 1\n", {F, b, line(4, "Cofmass defined before name")}},
      {h + " name a\n cofmass 1\n cofmass 1\n", {F, b, line(6, "Duplicate cofmass specification")}},
      {h + " name a\n cofmass q\n", {F, b, line(5, "Invalid value for cofmass"), N}},
      {h + " name a\n dof rx\n limits (0 1)\n dof ry\n",
       {F, b, line(7, "Limits defined before dof")}},
      {h + " dof rx\n", {F, b, line(4, "Dof defined before name")}},
      {h + " name a\n dof rx\n dof ry\n", {F, b, line(6, "Duplicate dof specification")}},
      {h + " name a\n dof rx ry rx\n",
       {F, b, "Unable to read dof in :bonedata section.",
        "Line 5:  Dof 'rx' specified more than once."}},
      {h + " name a\n limits (0 1)\n",
       {F, b, line(5, "Limits defined without the definition of dof")}},
      {h + " name a\n dof rx\n limits (0 1)\n limits (0 1)\n",
       {F, b, line(7, "Duplicate limits specification")}},
      {h + " name a\n dof rx\n limits (20 -160)\n",
       {F, b, line(6, "Lower limit greater than upper limit")}},
      {h + " name a\n dof rx\n limits (20 end\n",
       {F, b, line(6, "Invalid value for upper limit"), N}},
      {h + " name a\n dof rx ry rz\n limits (-1 1) (-1 1) (-1 1) (-1 1)\n",
       {F, b, line(6, "Too many limits specified")}},
      // Without :asf-internal a group name ends the (empty) dof list.
      {h + " name a\n dof arm\n", {F, b, line(5, "Unexpected 'arm' encountered")}},
      {h + " end\n", {F, b, line(4, "Name undefined")}},
      {h + " id 5 end\n", {F, b, line(4, "Name undefined")}},
      {h + " name a\n end\n", {F, b, line(5, "Direction undefined")}},
      {h + " name a\n direction 0 0 1\n end\n", {F, b, line(6, "Length undefined")}},
      {h + " name a\n direction 0 0 1\n length 1\n end\n", {F, b, line(7, "Axis undefined")}},
      {h + " name a\n color red\n", {F, b, line(5, "Unexpected 'color' encountered")}},
  });
}

TEST(KaASFReader, DofgroupsFailuresGiveTheWholeChain) {
  const std::string v = ":asf-internal\n:version 1\n:dofgroups\n";
  const std::string h = v + " begin\n";
  const char* const g = "Unable to read :dofgroups section.";
  auto line = [](int n, const std::string& m) {
    return "Line " + std::to_string(n) + ":  " + m + " in :dofgroups section.";
  };
  expectChains({
      {h + " name g\n begin\n", {F, g, line(6, "Expected 'end' keyword")}},
      {h + " name g\n:bonedata\n", {F, g, line(6, "Expected 'end' keyword")}},
      {h + " name g\n",
       {F, g, "The file ends inside the :dofgroups section that begins on line 3."}},
      {v + " end\n", {F, g, line(4, "Unexpected 'end' encountered")}},
      {v + " name g\n", {F, g, line(4, "Data specified outside of begin/end pair")}},
      {h + " end\n", {F, g, line(5, "Name undefined")}},
      {h + " name g\n name h\n", {F, g, line(6, "Duplicate name specification")}},
      {h + " name g\n dof rx\n limits (0 1)\n dof ry\n",
       {F, g, line(8, "Limits defined before dof")}},
      {h + " dof rx\n", {F, g, line(5, "Dof defined before name")}},
      {h + " name g\n dof rx\n dof ry\n", {F, g, line(7, "Duplicate dof specification")}},
      {h + " name g\n dof rx rx\n",
       {F, g, "Unable to read dof in :dofgroups section.",
        "Line 6:  Dof 'rx' specified more than once."}},
      {h + " name g\n limits (0 1)\n",
       {F, g, line(6, "Limits defined without the definition of dof")}},
      {h + " name g\n dof rx\n limits (0 1)\n limits (0 1)\n",
       {F, g, line(8, "Duplicate limits specification")}},
      {h + " name g\n dof rx\n limits (1 0)\n",
       {F, g, line(7, "Lower limit greater than upper limit")}},
      {h + " name g\n dof rx\n limits (0 x)\n",
       {F, g, line(7, "Invalid value for upper limit"), N}},
      {h + " name g\n dof rx\n limits (0 1) (0 1)\n", {F, g, line(7, "Too many limits specified")}},
      {h + " name g\n color red\n", {F, g, line(6, "Unexpected 'color' encountered")}},
  });
}

TEST(KaASFReader, DofGroupsAndPicksInInternalFiles) {
  const std::string head =
      ":asf-internal\n:version 1\n:dofgroups\n begin name arm dof rx ry rz limits (-1 1) end\n"
      " begin name hand dof arm<rz> tx end\n"
      ":bonedata\n begin name a direction 0 0 1 length 1 axis 0 0 0 xyz ";
  KaASF asf;
  EXPECT_TRUE(scan(asf, head + "dof tx arm<ry> end\n:skin\n").empty());
  EXPECT_EQ(asf.header.internal, 1);
  KaASFBone* a = asf.findBone("a");
  ASSERT_EQ(a->dofs.count(), 2);
  EXPECT_EQ(a->dofs.dofAt(0)->group, nullptr);
  EXPECT_EQ(a->dofs.dofAt(1)->group, asf.findDOFGroup("arm"));
  EXPECT_EQ(a->dofs.dofAt(1)->dof, KaRY);
  // A group dof takes its limits from the group: ry got none there.
  EXPECT_FLOAT_EQ(a->dofs.dofAt(1)->limits()->lower, -3.40282347e38f);
  // A group may pick dofs of a group defined before it.
  KaASFDOFGroup* hand = asf.findDOFGroup("hand");
  ASSERT_EQ(hand->count(), 2);
  EXPECT_EQ(hand->dofAt(0)->group, asf.findDOFGroup("arm"));
  EXPECT_EQ(hand->dofAt(1)->group, nullptr);

  KaASF whole;
  EXPECT_TRUE(scan(whole, head + "dof ARM end\n:root order tx arm<rz>\n:skin\n").empty());
  KaASFBone* w = whole.findBone("a");
  ASSERT_EQ(w->dofs.count(), 3);
  EXPECT_EQ(w->dofs.dofAt(2)->dof, KaRZ);
  EXPECT_FLOAT_EQ(w->dofs.dofAt(0)->limits()->lower, -1.0f);
  ASSERT_EQ(whole.root.order.count(), 2);
  EXPECT_EQ(whole.root.order.dofAt(1)->group, whole.findDOFGroup("arm"));

  const char* const b = "Unable to read :bonedata section.";
  const char* const d = "Unable to read dof in :bonedata section.";
  expectChains({
      {head + "dof arm<tx> end\n", {F, b, d, "Line 7:  Dofgroup 'arm' does not contain dof 'tx'."}},
      {head + "dof arm<> end\n", {F, b, d, "Line 7:  No dof specified within < >."}},
      {head + "dof arm<ry end\n", {F, b, d, "Line 7:  Unexpected 'end' encountered."}},
  });
}

TEST(KaASFReader, LimitsFillTheOwnDofsInOrderAndConvertOnlyRotations) {
  KaASF asf;
  EXPECT_TRUE(scan(asf,
                   ":version 1\n:units angle deg\n:bonedata\n"
                   " begin name a direction 0 0 1 length 1 axis 0 0 0 xyz\n"
                   "  dof rx ry rz limits (-90, 90)\n -70 70\n end\n"
                   " begin name t direction 0 0 1 length 1 axis 0 0 0 xyz\n"
                   "  dof tx rx limits (-90 90) (-inf INF) end\n:skin\n")
                  .empty());
  const KaASFDOFGroup& a = asf.findBone("a")->dofs;
  EXPECT_FLOAT_EQ(a.limits(KaRX)->lower, (float)(-M_PI / 2));
  EXPECT_FLOAT_EQ(a.limits(KaRX)->upper, (float)(M_PI / 2));
  EXPECT_FLOAT_EQ(a.limits(KaRY)->upper, (float)(70 * M_PI / 180));
  EXPECT_EQ(a.limits(KaRZ)->lower, -3.40282347e38f);
  EXPECT_EQ(a.limits(KaRZ)->upper, 3.40282347e38f);
  const KaASFDOFGroup& t = asf.findBone("t")->dofs;
  EXPECT_EQ(t.limits(KaTX)->lower, -90.0f);
  EXPECT_EQ(t.limits(KaTX)->upper, 90.0f);
  // The unlimited values of a rotation in degrees are scaled as well.
  EXPECT_FLOAT_EQ(t.limits(KaRX)->upper, (float)(3.40282347e38 * M_PI / 180));
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

TEST(KaASFReader, UnitsApplyOnlyToTheSectionsAfterThem) {
  KaASF asf;
  EXPECT_TRUE(scan(asf,
                   ":version 1\n:units angle deg length 0.5\n:root orientation 90 0 0\n"
                   ":bonedata\n begin name a direction 0 0 1 length 3 axis 0 0 0 xyz end\n"
                   ":skin\n")
                  .empty());
  EXPECT_FLOAT_EQ(asf.root.orientation[0], (float)(M_PI / 2));
  EXPECT_FLOAT_EQ(asf.findBone("a")->length, 6.0f);
  KaASF after;
  EXPECT_TRUE(
      scan(after, ":version 1\n:root orientation 90 0 0\n:units angle deg length 0.5\n:skin\n")
          .empty());
  EXPECT_FLOAT_EQ(after.root.orientation[0], 90.0f);
  EXPECT_EQ(after.header.angleInDegrees, 1);
  EXPECT_FLOAT_EQ(after.header.length, 0.5f);
}

TEST(KaASFReader, SmallSectionsStoreWhatTheyRead) {
  KaASF asf;
  EXPECT_TRUE(scan(asf,
                   ":version 1\n:skin a.skn\n:units\n:root\n axis zXy\n order\n"
                   " position 1 2 3\n:documentation walk   cycle (x)\n\n take 3 # note\n"
                   ":skin b.skn c.skn\n")
                  .empty());
  EXPECT_STREQ(asf.header.documentation.text(), "walk cycle x\n take 3");
  EXPECT_EQ(asf.root.axis[0], 3);
  EXPECT_EQ(asf.root.axis[1], 1);
  EXPECT_EQ(asf.root.axis[2], 2);
  EXPECT_TRUE(asf.root.order.isEmpty());
  EXPECT_FLOAT_EQ(asf.root.position.z, 3.0f);
  ASSERT_EQ(asf.skins.count(), 3);
  EXPECT_STREQ(asf.skins[2].text(), "c.skn");
  EXPECT_FLOAT_EQ(asf.header.mass, 1.0f);
}

TEST(KaASFReader, HierarchyLinesSetParentsAndFirstChildren) {
  KaASF asf;
  EXPECT_TRUE(scan(asf, ":version 1\n:bonedata\n" + bone("hips") + bone("lfemur") + bone("rfemur") +
                            bone("spare") + bone("head") +
                            ":hierarchy\n begin head\n ROOT hips\n hips lfemur rfemur\n"
                            " lfemur HEAD\n end\n")
                  .empty());
  KaASFBone* hips = asf.findBone("hips");
  EXPECT_EQ(hips->parent, nullptr);
  EXPECT_EQ(hips->child, asf.findBone("lfemur"));
  EXPECT_EQ(asf.findBone("rfemur")->parent, hips);
  // A bone named twice keeps the parent of its last naming.
  EXPECT_EQ(asf.findBone("head")->parent, asf.findBone("lfemur"));
  EXPECT_EQ(asf.findBone("spare")->parent, nullptr);
  KtList<KaASFBone*> rootChildren;
  asf.getChildBonesOfRoot(&rootChildren);
  EXPECT_EQ(rootChildren.count(), 2);  // hips and spare
}

TEST(KaASFReader, HierarchyLoopsAreRefused) {
  const std::string bones =
      ":version 1\n:bonedata\n" + bone("hips") + bone("b") + ":hierarchy\n begin\n";
  const char* const h = "Unable to read :hierarchy section.";
  expectChains({
      {bones + " hips hips\n end\n",
       {F, h, "Line 7:  Bone 'hips' is its own ancestor in :hierarchy section."}},
      {bones + " hips b\n b hips\n end\n",
       {F, h, "Line 8:  Bone 'hips' is its own ancestor in :hierarchy section."}},
  });
  // A loop closed across two hierarchy sections is refused all the same.
  KaASF asf;
  Chain twice = scan(asf, bones + " hips b\n end\n:hierarchy\n begin\n b hips\n end\n");
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_EQ(twice[0], h);
  EXPECT_NE(twice[1].find("is its own ancestor"), std::string::npos);
  EXPECT_EQ(twice[1].rfind("Line ", 0), 0u);
}

TEST(KaASFReader, CancellationIsPolledEveryTenthBlockAndStopsTheRead) {
  static int polls;
  static int answer;
  polls = 0;
  answer = 0;
  KtCancelHandler::_proc = [](void*) {
    polls++;
    return answer;
  };
  std::string text = ":version 1\n:bonedata\n";
  for (int i = 0; i < 25; i++) text += bone("b" + std::to_string(i));
  text += ":hierarchy\n begin\n root";
  for (int i = 0; i < 25; i++) text += " b" + std::to_string(i);
  text += "\n end\n";
  KaASF asf;
  EXPECT_TRUE(scan(asf, text).empty());
  EXPECT_EQ(polls, 4);  // two in :bonedata, two in :hierarchy
  answer = 1;
  EXPECT_EQ(scan(asf, text), (Chain{"Unable to read :bonedata section.", "Canceled."}));
  EXPECT_EQ(asf.bones.count(), 0);
  KtCancelHandler::_proc = nullptr;
}

TEST(KaASFReader, FailedReadLeavesNoBonesGroupsOrNames) {
  KaASF asf;
  Chain chain = scan(asf,
                     ":asf-internal\n:version 1\n:name s\n:documentation d\n:dofgroups\n"
                     " begin name g dof rx end\n:bonedata\n" +
                         bone("a") + ":skin s1\n:hierarchy\n begin\n root zz\n");
  EXPECT_EQ(chain.size(), 2u);
  EXPECT_EQ(asf.bones.count(), 0);
  EXPECT_EQ(asf.dofGroups.count(), 0);
  EXPECT_EQ(asf.skins.count(), 0);
  EXPECT_EQ(asf.header.name.length(), 0);
  EXPECT_EQ(asf.header.documentation.length(), 0);
}

TEST(KaASFReader, BuildsDifferInRootScaleAndDuplicateIds) {
  const std::string text =
      ":version 1\n:units length 0.5\n:root position 10 0 0\n:bonedata\n"
      " begin id 4 name a direction 0 0 1 length 1 axis 0 0 0 xyz end\n"
      " begin id 4 name b direction 0 0 1 length 1 axis 0 0 0 xyz end\n:skin\n";
  {
    BuildSwitch build(KtBuild::Skelconv);
    KaASF skel;
    EXPECT_EQ(scan(skel, text),
              (Chain{"Unable to read :bonedata section.", "Line 6:  Multiple bones have id 4."}));
    KaASF root;
    EXPECT_TRUE(
        scan(root, ":version 1\n:units length 0.5\n:root position 10 0 0\n:skin\n").empty());
    EXPECT_FLOAT_EQ(root.root.position.x, 20.0f);
  }
  BuildSwitch build(KtBuild::Motconv);
  KaASF mot;
  EXPECT_TRUE(scan(mot, text).empty());
  EXPECT_FLOAT_EQ(mot.root.position.x, 10.0f);
  ASSERT_EQ(mot.bones.count(), 2);
  EXPECT_EQ(mot.findBone("b")->id(), 4);
}

TEST(KaASFReader, SkelconvOpensThePlainFileOnly) {
  TempDir dir;
  BuildSwitch build(KtBuild::Skelconv);
  const std::string text = ":version 1\n:name plain\n:skin\n";
  RC_SKIP_WITHOUT_TOOLS("gzip");
  std::string path = dir.file("x.asf");
  compressTo("gzip", text, path + ".gz");
  theExceptObj.clear();
  KaASF asf;
  asf.read(path.c_str());
  EXPECT_EQ(takeChain(path), (Chain{"Unable to open \"F\"."}));
  writeFile(path, text);
  asf.read(path.c_str());
  EXPECT_TRUE(takeChain().empty());
  EXPECT_STREQ(asf.header.name.text(), "plain");
  KaASF bad;
  writeFile(path, ":version 1\n:root\n position 1 x 2\n");
  bad.read(path.c_str());
  EXPECT_EQ(takeChain(path), (Chain{"Unable to read 'F'.", "Unable to read :root section.",
                                    "Line 3:  Invalid value for position in :root section.", N}));
}

TEST(KaASFReader, MotconvReadsCompressedFilesAndFindsTheirGzipForm) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip", "compress", "uncompress");
  std::string path = dir.file("skel.asf");
  compressTo("compress", ":version 1\n:name fromZ\n:skin\n", path + ".Z");
  theExceptObj.clear();
  KaASF z;
  z.read(path.c_str());
  EXPECT_TRUE(takeChain().empty());
  EXPECT_STREQ(z.header.name.text(), "fromZ");
  compressTo("gzip", ":version 1.5\n:name fromGz\n:skin\n", path + ".gz");
  KaASF gz;
  gz.read(path.c_str());
  EXPECT_TRUE(takeChain().empty());
  EXPECT_STREQ(gz.header.name.text(), "fromGz");
  EXPECT_FLOAT_EQ(gz.header.version, 1.5f);
  KaASF named;
  named.read((path + ".Z").c_str());
  EXPECT_TRUE(takeChain().empty());
  EXPECT_STREQ(named.header.name.text(), "fromZ");

  KaASF missing;
  missing.read(dir.file("none.asf").c_str());
  EXPECT_EQ(takeChain(dir.file("none.asf")),
            (Chain{"Unable to read \"F\".", "File does not exist."}));
}

TEST(KaASFReader, FailedDecompressorIsAReadFailure) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  const std::string text = ":version 1\n:name whole\n:skin\n";
  const std::string failed = "Command 'gunzip' failed to uncompress\n'F'.";

  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip");
  // Truncated: every byte of the text comes out, then the tool fails.
  std::string truncated = dir.file("cut.asf.gz");
  compressTo("gzip", text, truncated);
  std::string bytes = readFile(truncated);
  writeFile(truncated, bytes.substr(0, bytes.size() - 8));
  theExceptObj.clear();
  KaASF cut;
  cut.read(truncated.c_str());
  EXPECT_EQ(takeChain(truncated), (Chain{F, failed}));
  EXPECT_EQ(cut.header.name.length(), 0);

  std::string corrupt = dir.file("bad.asf.gz");
  writeFile(corrupt, "this is not gzip data\n");
  KaASF bad;
  bad.read(corrupt.c_str());
  EXPECT_EQ(takeChain(corrupt), (Chain{F, failed, "Unexpected end of file."}));

  // A tool that writes the whole text and then fails.
  std::string tools = dir.file("bin");
  mkdir(tools.c_str(), 0700);
  writeFile(tools + "/gunzip", "#!/bin/sh\ncat \"$2\"\nexit 1\n");
  chmod((tools + "/gunzip").c_str(), 0700);
  std::string fake = dir.file("fake.asf.gz");
  writeFile(fake, text);
  std::string savedPath = std::getenv("PATH");
  setenv("PATH", (tools + ":" + savedPath).c_str(), 1);
  KaASF faked;
  faked.read(fake.c_str());
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_EQ(takeChain(fake), (Chain{F, failed}));
  EXPECT_EQ(faked.header.name.length(), 0);
}

TEST(KaASFReader, FileContainsASFTestsOnlyTheHeader) {
  TempDir dir;
  BuildSwitch build(KtBuild::Motconv);
  const std::string text = ":asf-internal\n:version 1.2\n:bonedata\n begin\n";
  std::string plain = dir.file("p.asf");
  writeFile(plain, text);
  theExceptObj.clear();
  EXPECT_EQ(KaASF::fileContainsASF(plain.c_str()), 1);
  RC_SKIP_WITHOUT_TOOLS("gzip", "gunzip", "compress", "uncompress");
  // A big compressed file is read to its end, so that the tool can finish.
  std::string big = dir.file("big.asf.gz");
  compressTo("gzip", text + std::string(3 << 20, 'x') + "\n", big);
  EXPECT_EQ(KaASF::fileContainsASF(big.c_str()), 1);
  compressTo("compress", text, dir.file("z.asf.Z"));
  EXPECT_EQ(KaASF::fileContainsASF(dir.file("z.asf").c_str()), 1);
  EXPECT_TRUE(takeChain().empty());

  std::string missing = dir.file("none.asf");
  EXPECT_EQ(KaASF::fileContainsASF(missing.c_str()), 0);
  EXPECT_EQ(takeChain(missing),
            (Chain{"Unable to open 'F'.", "Unable to read \"F\".", "File does not exist."}));
  std::string other = dir.file("o.asf.gz");
  compressTo("gzip", ":frames 3\n", other);
  EXPECT_EQ(KaASF::fileContainsASF(other.c_str()), 0);
  EXPECT_EQ(takeChain(other), (Chain{"Unable to read \"F\".", "File does not contain ASF data.",
                                     "File does not contain the ':version' keyword."}));
  std::string cut = dir.file("cut.asf.gz");
  compressTo("gzip", text, cut);
  std::string bytes = readFile(cut);
  writeFile(cut, bytes.substr(0, bytes.size() - 8));
  EXPECT_EQ(KaASF::fileContainsASF(cut.c_str()), 0);
  EXPECT_EQ(takeChain(cut),
            (Chain{"Unable to read \"F\".", "Command 'gunzip' failed to uncompress\n'F'."}));

  std::istringstream in(text);
  int internal = 0;
  float version = 0;
  EXPECT_EQ(KaASF::streamContainsASF(in, &internal, &version), 1);
  EXPECT_EQ(internal, 1);
  EXPECT_FLOAT_EQ(version, 1.2f);
  std::istringstream none(":version\n");
  EXPECT_EQ(KaASF::streamContainsASF(none, nullptr, nullptr), 0);
  EXPECT_EQ(takeChain(), (Chain{"Unexpected end of file."}));
}

TEST(KaASFReader, DeepChainsAndHugeTokensNeitherCrashNorHang) {
  std::string text = ":version 1\n:bonedata\n";
  const int n = 20000;
  for (int i = 0; i < n; i++)
    text += " begin name b" + std::to_string(i) + " direction 0 0 1 length 1 axis 0 0 0 xyz end\n";
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
  // The same chain closed into a loop is found without deep recursion.
  KaASF loop;
  Chain chain =
      scan(loop, text.substr(0, text.find(" end\n:documentation")) + " b19999 b0\n end\n");
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_EQ(chain[0], "Unable to read :hierarchy section.");
}

TEST(KaASFReader, GarbageAndHugeValuesEndInARecordOrAModel) {
  std::string garbage;
  for (int i = 0; i < 50000; i++) garbage += (char)((i * 7919 + i / 7) % 256);
  const char* const sections[] = {":name",     ":units", ":documentation", ":root",
                                  ":bonedata", ":skin",  ":hierarchy",     ":dofgroups"};
  for (const char* section : sections) {
    SCOPED_TRACE(section);
    KaASF asf;
    scan(asf, std::string(":asf-internal\n:version 1\n") + section + "\n" + garbage);
    scan(asf, std::string(":asf-internal\n:version 1\n") + section + " " + garbage);
  }
  KaASF asf;
  Chain chain = scan(asf, garbage);
  EXPECT_FALSE(chain.empty());
  // A 10 MB name is cut into tokens: the first 80 characters are the name.
  chain = scan(asf, ":version 1\n:name " + std::string(10 << 20, 'n') + "\n");
  ASSERT_EQ(chain.size(), 3u);
  EXPECT_EQ(chain[0], "Unable to read :name section.");
  EXPECT_EQ(chain[2], "Line 2:  :name data exceeds limit of 50 characters.");
  // Numbers below the float range convert to zero; ids are clamped.
  EXPECT_TRUE(scan(asf, ":version 1\n:root position 1e-999 -1e-999 0\n:bonedata\n" +
                            bone("a", "id 99999999999999") + bone("b") + ":skin\n")
                  .empty());
  EXPECT_EQ(asf.root.position.x, 0.0f);
  ASSERT_EQ(asf.bones.count(), 2);
  EXPECT_EQ(asf.findBone("a")->id(), 2147483647);
  EXPECT_EQ(asf.findBone("b")->id(), 1);
}

TEST(KaASFReader, VerticalTabsAndFormFeedsSeparateWordsInAFile) {
  KaASF asf;
  EXPECT_TRUE(scan(asf, ":version\v1.5\f\n:name\fx\v\n:units\fangle\vdeg\n:skin\n").empty());
  EXPECT_FLOAT_EQ(asf.header.version, 1.5f);
  EXPECT_STREQ(asf.header.name.text(), "x");
  EXPECT_EQ(asf.header.angleInDegrees, 1);
}

TEST(KaASFReader, NumbersThatMustBeFiniteAreRefusedWithTheirLine) {
  const std::string v = ":version 1\n";
  const char* const units = "Unable to read :units section.";
  const char* const root = "Unable to read :root section.";
  const char* const b = "Unable to read :bonedata section.";
  auto factor = [&](const std::string& text) {
    return Case{v + ":units\n length " + text + "\n",
                {F, units, "Line 3:  Unable to read length data in :units section.",
                 "Length factor '" + text + "' is not a finite number greater than 0."}};
  };
  auto notFinite = [](const std::string& text) { return "Number '" + text + "' is not finite."; };
  const std::string h = v + ":bonedata\n begin\n name a\n";
  expectChains({
      factor("0"),
      factor("-0.5"),
      factor("nan"),
      factor("inf"),
      factor("1e999"),
      {v + ":root\n position 1 nan 2\n",
       {F, root, "Line 3:  Invalid value for position in :root section.", notFinite("nan")}},
      {v + ":root\n orientation 0 0\n -inf\n",
       {F, root, "Line 4:  Invalid value for orientation in :root section.", notFinite("-inf")}},
      {h + " direction 0 1e999 0\n",
       {F, b, "Line 5:  Invalid value for direction in :bonedata section.", notFinite("1e999")}},
      {h + " length INF\n",
       {F, b, "Line 5:  Invalid value for length in :bonedata section.", notFinite("INF")}},
      {h + " axis 0 NaN 0 xyz\n",
       {F, b, "Line 5:  Invalid value for axis in :bonedata section.", notFinite("NaN")}},
      // A finite length that the length factor takes beyond the float range.
      {v + ":units length 1e-30\n:bonedata\n begin\n name a\n length 1e30\n",
       {F, b, "Line 6:  Invalid value for length in :bonedata section.",
        "Number '1e30' is not finite after conversion by the length factor."}},
  });

  // Limits keep their unlimited sides; a tiny length factor is a factor.
  KaASF asf;
  EXPECT_TRUE(scan(asf,
                   ":version 1\n:units length 1e-40\n:root position 0 0 0\n:bonedata\n"
                   " begin name a direction 0 0 1 length 0 axis 0 0 0 xyz"
                   " dof rx ry limits (-inf inf) (-1e999 1e999) end\n:skin\n")
                  .empty());
  const KaASFDOFGroup& dofs = asf.findBone("a")->dofs;
  EXPECT_EQ(dofs.limits(KaRX)->lower, -3.40282347e38f);
  EXPECT_EQ(dofs.limits(KaRX)->upper, 3.40282347e38f);
  EXPECT_TRUE(std::isinf(dofs.limits(KaRY)->upper));
  // skelconv multiplies the root position by the factor's reciprocal, which
  // is beyond the float range here.
  BuildSwitch build(KtBuild::Skelconv);
  KaASF skel;
  EXPECT_EQ(scan(skel, ":version 1\n:units length 1e-40\n:root\n position 0 0 0\n:skin\n"),
            (Chain{root, "Line 4:  Invalid value for position in :root section.",
                   "Number '0' is not finite after conversion by the length factor."}));
}

TEST(KaASFReader, AByteOrderMarkAtTheStartOfAFileIsSkipped) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string text = mark + ":version 1.2\n:name marked\n:root\n position 0 nan 0\n";
  const Chain badRoot = {F, "Unable to read :root section.",
                         "Line 4:  Invalid value for position in :root section.",
                         "Number 'nan' is not finite."};
  // The lines count as without the mark.
  EXPECT_EQ(readText(text), badRoot);
  KaASF asf;
  EXPECT_TRUE(readText(mark + ":version 1.2\n:name marked\n:skin\n", &asf).empty());
  EXPECT_STREQ(asf.header.name.text(), "marked");
  EXPECT_FLOAT_EQ(asf.header.version, 1.2f);
  // Only at the very start, and only the whole mark.
  EXPECT_EQ(readText("\n" + mark + ":version 1\n:skin\n"),
            (Chain{F, "File does not contain ASF data.",
                   "File does not contain the ':version' keyword."}));
  EXPECT_EQ(readText("\xEF\xBB:version 1\n:skin\n"),
            (Chain{F, "File does not contain ASF data.",
                   "File does not contain the ':version' keyword."}));

  TempDir dir;
  std::string plain = dir.file("m.asf");
  writeFile(plain, text);
  std::string gz = dir.file("z.asf.gz");
  compressTo("gzip", text, gz);
  {
    BuildSwitch build(KtBuild::Skelconv);
    theExceptObj.clear();
    KaASF skel;
    skel.read(plain.c_str());
    EXPECT_EQ(takeChain(plain), badRoot);
  }
  BuildSwitch build(KtBuild::Motconv);
  theExceptObj.clear();
  KaASF z;
  z.read(gz.c_str());
  EXPECT_EQ(takeChain(gz), badRoot);
  EXPECT_EQ(KaASF::fileContainsASF(plain.c_str()), 1);
  EXPECT_EQ(KaASF::fileContainsASF(gz.c_str()), 1);
  EXPECT_TRUE(takeChain().empty());
  std::istringstream in(text);
  float version = 0;
  EXPECT_EQ(KaASF::streamContainsASF(in, nullptr, &version), 1);
  EXPECT_FLOAT_EQ(version, 1.2f);
}
