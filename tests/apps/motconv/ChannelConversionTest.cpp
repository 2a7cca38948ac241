#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MovNumberWriter.h"
#include "apps/motconv/MovWriter.h"
#include "tests/apps/motconv/MotconvTestModels.h"
#include "toolkit/math/KtCoordSystem.h"

namespace {

const std::string kUnits1 = "  mass 1.0\n  length 1\n  angle deg\n";
const std::string kUnitsHalf = "  mass 1.0\n  length 0.5\n  angle deg\n";

std::string rootBlock(const std::string& order, const std::string& axis,
                      const std::string& position, const std::string& orientation) {
  return "  order " + order + "\n  axis " + axis + "\n  position " + position + "\n  orientation " +
         orientation + "\n";
}

std::string bone(const std::string& name, const std::string& direction, const std::string& length,
                 const std::string& dof) {
  std::string text = "    name " + name + "\n    direction " + direction + "\n    length " +
                     length + "\n    axis 0 0 0 XYZ\n";
  if (!dof.empty()) text += "    dof " + dof + "\n";
  return text;
}

class ChannelConversion : public motconvtest::MotconvBuild {
 protected:
  void load(const std::string& asf, const std::string& amc) {
    ASSERT_EQ(motconvtest::readModel(&skeleton, asf), "");
    ASSERT_EQ(motconvtest::readModel(&motion, amc), "");
    ASSERT_FALSE(motion.fields.isEmpty());
  }

  // The channels printBoneChannels writes for a bone of frame f.
  std::string channels(const char* name, int f = 0) {
    const KaAMCField& frame = motion.fields[f];
    const KaAMCBone* entry = frame.findBone(name);
    EXPECT_NE(entry, nullptr) << name;
    if (!entry) return "";
    const KaASFDOFGroup& dofs =
        std::string(name) == "root" ? skeleton.root.order : skeleton.findBone(name)->dofs;
    std::ostringstream out;
    printBoneChannels(out, name, skeleton, frame, dofs, entry->values.data(), entry->values.count(),
                      motion.degrees);
    return out.str();
  }

  // The warnings checkAMCAgainstASF records, newest first.
  std::string checkWarnings() {
    checkAMCAgainstASF(skeleton, motion);
    std::string all;
    for (KtExcept* r = theExceptObj.exception(); r; r = r->detail()) {
      EXPECT_TRUE(r->isWarning());
      all += std::string(r->message().text()) + "\n";
    }
    theExceptObj.clear();
    return all;
  }

  KaASF skeleton;
  KaAMC motion;
};

const char* kAMCHeader = ":FULLY-SPECIFIED\n:DEGREES\n";

void expectNumbers(const std::string& text, const std::vector<double>& expected) {
  std::istringstream in(text);
  std::vector<double> got;
  double v;
  while (in >> v) got.push_back(v);
  ASSERT_EQ(got.size(), expected.size()) << text;
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 2e-6) << text;
}

TEST_F(ChannelConversion, RootChannelsAreTranslationsThenRotationsAsRead) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ RX RY RZ", "XYZ", "0 0 0", "0 0 0"), {},
                            {}),
       std::string(kAMCHeader) + "1\nroot 1 2 3 10 20 30\n");
  EXPECT_EQ(channels("root"), "1 2 3 10 20 30 ");
}

TEST_F(ChannelConversion, LengthFactorScalesTranslationsOnly) {
  load(motconvtest::asfText(kUnitsHalf, rootBlock("TX TY TZ RX RY RZ", "XYZ", "0 0 0", "0 0 0"), {},
                            {}),
       std::string(kAMCHeader) + "1\nroot 1 2 3 10 20 30\n");
  EXPECT_EQ(channels("root"), "2 4 6 10 20 30 ");
  // 1 / 0.45 in double precision, rounded to a float.
  skeleton.header.length = 0.45f;
  EXPECT_EQ(motconvScale(skeleton), (float)(1.0 / (double)0.45f));
}

TEST_F(ChannelConversion, LengthFactorScalesTheRootPositionLikeTheMotion) {
  // The root joint of the skeleton script stands at position / length
  // factor: (5, 6, 7) at factor 0.5 is (10, 12, 14), and the motion's
  // (1, 2, 3) adds (2, 4, 6).
  load(motconvtest::asfText(kUnitsHalf, rootBlock("TX TY TZ RX RY RZ", "XYZ", "5 6 7", "0 0 0"), {},
                            {}),
       std::string(kAMCHeader) + "1\nroot 1 2 3 10 20 30\n");
  EXPECT_EQ(channels("root"), "12 16 20 10 20 30 ");
}

TEST_F(ChannelConversion, RootRestRotationCarriesTheMotionsTranslation) {
  // 90 degrees about Z: x of the motion becomes y, then the position adds.
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "5 6 7", "0 0 90"), {}, {}),
       std::string(kAMCHeader) + "1\nroot 1 0 0\n");
  EXPECT_EQ(channels("root"), "5 7 7 ");
}

TEST_F(ChannelConversion, RootRestRotationUsesTheJointsAxisOrder) {
  // Axis XYZ, orientation (30, 45, 0) degrees: the rest rotation is
  // Rx(30) . Ry(45) (row vectors), so (0, 1, 0) goes to
  // (0, cos 30, sin 30) . Ry(45) = (sin 30 sin 45, cos 30, sin 30 cos 45)
  // = (0.353553, 0.866025, 0.353553). The order as written (Rz . Ry . Rx)
  // would give (0, 0.866025, 0.5) instead.
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "0 0 0", "30 45 0"), {}, {}),
       std::string(kAMCHeader) + "1\nroot 0 1 0\n");
  KtCoordSystem animated, rest;
  animated = 1.0f;
  rest = 1.0f;
  composeMotionMatrices(&animated, &rest, skeleton, motion.fields[0], "root", 1.0f, 1);
  EXPECT_NEAR(animated.m[3][0], 0.353553, 1e-6);
  EXPECT_NEAR(animated.m[3][1], 0.866025, 1e-6);
  EXPECT_NEAR(animated.m[3][2], 0.353553, 1e-6);
  // The rest frame's rotation rows: Rx(30) . Ry(45).
  const double c30 = std::cos(M_PI / 6), s30 = 0.5, c45 = std::sqrt(0.5), s45 = c45;
  const double expected[3][3] = {
      {c45, 0, -s45}, {s30 * s45, c30, s30 * c45}, {c30 * s45, -s30, c30 * c45}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(rest.m[r][c], expected[r][c], 1e-6) << r << c;
  EXPECT_EQ(channels("root"), "0.353553 0.866025 0.353553 ");
}

TEST_F(ChannelConversion, RotationValuesFollowTheDofListAndSkipLengthDofs) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "0 0 0", "0 0 0"),
                            {bone("a", "1 0 0", "1", "rz rx"), bone("b", "1 0 0", "1", "rx l rz")},
                            {"root a", "a b"}),
       std::string(":FULLY-SPECIFIED\n:RADIANS\n1\nroot 0 0 0\na 10 20\nb 1.5 7 2.5\n"));
  EXPECT_EQ(channels("a"), "10 20 ");
  // The l value is neither written nor shifts the rz value out of place;
  // radians are written as they stand too.
  EXPECT_EQ(channels("b"), "1.5 2.5 ");
}

TEST_F(ChannelConversion, BoneTranslationIsItsOriginInItsParentsAnimatedFrame) {
  // A bone on the root with tx ry: its origin moved 3 along x, then its
  // rotation value as read; the root's own motion does not enter.
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ RX RY RZ", "XYZ", "0 0 0", "0 0 0"),
                            {bone("a", "0 1 0", "2", "tx ry"), bone("b", "1 0 0", "1", "tx ty tz"),
                             bone("c", "1 0 0", "1", "tx ty tz")},
                            {"root a c", "a b"}),
       std::string(kAMCHeader) + "1\nroot 4 5 6 10 20 30\na 3 10\nb 1 0 0\nc 1 2 3\n");
  // The parent's turned frame is undone by an inverse in single precision,
  // which leaves noise of the order of 1e-7 behind.
  expectNumbers(channels("a"), {3, 0, 0, 10});
  // b hangs from a (direction (0, 1, 0), length 2): its offset from a's
  // joint plus its own motion, whatever the values of the root and of a.
  expectNumbers(channels("b"), {1, 2, 0});
  expectNumbers(channels("c"), {1, 2, 3});
}

TEST_F(ChannelConversion, ValueCountMismatchIsRecordedAndNothingWritten) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "0 0 0", "0 0 0"),
                            {bone("a", "1 0 0", "1", "rx ry rz")}, {"root a"}),
       std::string(kAMCHeader) + "1\nroot 0 0 0\na 1 2 3 4\n");
  EXPECT_EQ(channels("a"), "");
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(),
               "The number of degrees of freedom in the AMC does not match the number of "
               "degrees of freedom in the ASF.");
}

TEST_F(ChannelConversion, ApplyBoneMotionNeverPairsPastTheValues) {
  KaASFDOFGroup dofs;
  dofs.addDOF(KaTX);
  dofs.addDOF(KaTY);
  dofs.addDOF(KaRZ);
  const float values[3] = {1.0f, 99.0f, 90.0f};
  KtCoordSystem m;
  m = 1.0f;
  applyBoneMotion(&m, dofs, values, 1, 2.0f, 1);
  EXPECT_FLOAT_EQ(m.m[3][0], 2.0f);
  EXPECT_FLOAT_EQ(m.m[3][1], 0.0f);
  EXPECT_FLOAT_EQ(m.m[0][0], 1.0f);  // rz not applied
  // All three: the rotation turns the frame, the translation is not turned.
  m = 1.0f;
  applyBoneMotion(&m, dofs, values, 3, 1.0f, 1);
  EXPECT_FLOAT_EQ(m.m[3][0], 1.0f);
  EXPECT_FLOAT_EQ(m.m[3][1], 99.0f);
  EXPECT_NEAR(m.m[0][1], 1.0, 1e-6);
  EXPECT_NEAR(m.m[1][0], -1.0, 1e-6);
  // Radians when the degrees flag is off; rotations in dof-list order:
  // R(rx) . R(rz), so row 0 is (1, 0, 0) . Rz.
  KaASFDOFGroup turns;
  turns.addDOF(KaRX);
  turns.addDOF(KaRZ);
  const float angles[2] = {(float)(M_PI / 2), (float)(M_PI / 2)};
  m = 1.0f;
  applyBoneMotion(&m, turns, angles, 2, 1.0f, 0);
  EXPECT_NEAR(m.m[0][1], 1.0, 1e-6);  // x -> y by Rz
  EXPECT_NEAR(m.m[1][0], 0.0, 1e-6);  // y -> z by Rx, then z stays under Rz
  EXPECT_NEAR(m.m[1][2], 1.0, 1e-6);
}

TEST_F(ChannelConversion, ShortAncestorEntriesContributeWhatTheyHold) {
  // The root's entry holds two of its six values: the bone below is
  // composed with the root moved by (1, 2, 0) and not turned.
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ RX RY RZ", "XYZ", "0 0 0", "0 0 0"),
                            {bone("a", "0 1 0", "1", "tx")}, {"root a"}),
       std::string(kAMCHeader) + "1\nroot 1 2\na 5\n");
  KtCoordSystem animated, rest;
  animated = 1.0f;
  rest = 1.0f;
  composeMotionMatrices(&animated, &rest, skeleton, motion.fields[0], "a", 1.0f, 1);
  EXPECT_FLOAT_EQ(animated.m[3][0], 6.0f);
  EXPECT_FLOAT_EQ(animated.m[3][1], 2.0f);
  EXPECT_FLOAT_EQ(animated.m[3][2], 0.0f);
  EXPECT_FLOAT_EQ(rest.m[3][0], 0.0f);
  EXPECT_EQ(channels("a"), "5 0 0 ");
}

TEST_F(ChannelConversion, FrameWithoutRootUsesNeitherRestNorMotion) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "5 6 7", "0 0 90"),
                            {bone("a", "0 1 0", "1", "tx")}, {"root a"}),
       std::string(kAMCHeader) + "1\na 5\n");
  KtCoordSystem animated, rest;
  composeMotionMatrices(&animated, &rest, skeleton, motion.fields[0], "root", 1.0f, 1);
  EXPECT_TRUE(animated == Kt4X4FloatMat::MultiplicativeIdentity);
  EXPECT_TRUE(rest == Kt4X4FloatMat::MultiplicativeIdentity);
  composeMotionMatrices(&animated, &rest, skeleton, motion.fields[0], "a", 1.0f, 1);
  EXPECT_FLOAT_EQ(animated.m[3][0], 5.0f);
}

TEST_F(ChannelConversion, DeepChainsComposeWithoutRecursion) {
  std::vector<std::string> bones, hierarchy;
  std::string amc = std::string(kAMCHeader) + "1\nroot 0 0 0\n";
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    bones.push_back(bone("b" + std::to_string(i), "0 1 0", "1", i == n - 1 ? "tx" : ""));
    hierarchy.push_back((i ? "b" + std::to_string(i - 1) : std::string("root")) + " b" +
                        std::to_string(i));
  }
  amc += "b" + std::to_string(n - 1) + " 1\n";
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "0 0 0", "0 0 0"), bones,
                            hierarchy),
       amc);
  EXPECT_EQ(channels(("b" + std::to_string(n - 1)).c_str()), "1 1 0 ");
}

TEST_F(ChannelConversion, CheckWarnsAboutTheFirstFramesValueCounts) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ RX RY RZ", "XYZ", "0 0 0", "0 0 0"),
                            {bone("a", "1 0 0", "1", "rx ry"), bone("b", "1 0 0", "1", "rx"),
                             bone("c", "1 0 0", "1", ""), bone("d", "1 0 0", "1", "rx l")},
                            {"root a b c d"}),
       std::string(kAMCHeader) +
           "1\nroot 1 2 3\nzz 4\na 1 2 3\nD 1 2\nYy 5\nZZ 6\n"
           "2\nroot 1\nzz 4\na 1\nD 1 2\nYy 5\nZZ 6\n");
  // Newest first: the bones the skeleton lacks, once each, in the frame's
  // order (zz, Yy; ZZ is zz again), after the skeleton's own: b lacks its
  // entry, a has three values for two dofs, the root three for six; c (no
  // dofs) and D (d in another case) are not reported, nor are later frames.
  EXPECT_EQ(checkWarnings(),
            "Bone \"Yy\" is in the AMC, but not in the ASF; its values are not used.\n"
            "Bone \"zz\" is in the AMC, but not in the ASF; its values are not used.\n"
            "Bone \"b\" has dofs in the ASF, but not in the AMC.\n"
            "Bone \"a\" has 2 dofs in the ASF, but the AMC specifies 3.\n"
            "Bone \"root\" has 6 dofs in the ASF, but the AMC specifies 3.\n");
}

TEST_F(ChannelConversion, CheckWarnsAboutAMissingRootAndAnEmptyMotion) {
  load(motconvtest::asfText(kUnits1, rootBlock("TX TY TZ", "XYZ", "0 0 0", "0 0 0"), {}, {}),
       std::string(kAMCHeader) + "1\n");
  EXPECT_EQ(checkWarnings(), "Bone \"root\" has dofs in the ASF, but not in the AMC.\n");
  KaAMC empty;
  checkAMCAgainstASF(skeleton, empty);
  ASSERT_TRUE(theExceptObj.warningOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(), "The AMC specifies no frames of data.");
}

// A synthetic skeleton and take for comparing the frame-by-frame converter
// with the bone-by-bone functions. The numbers come from a fixed engine
// whose output the language defines, so every machine builds the same
// files.
struct Synthetic {
  int bones = 30;
  bool chain = false;     // bone i hangs from bone i - 1, else from any before it
  bool allDofs = true;    // tx ty tz rx ry rz, else a random subset in random order
  bool shuffled = false;  // bone list and frame entries out of hierarchy order
  bool radians = false;
  const char* length = "0.45";
  const char* rootOrder = "TX TY TZ RX RY RZ";
  bool rootEntry = true;
  int omitted = 0;       // bones with dofs that no frame lists
  bool renamed = false;  // some entries in upper case, and one the skeleton lacks
  int shortBone = -1;    // this bone's entries hold one value fewer
  int frames = 4;
  unsigned seed = 1;
};

class SyntheticText {
 public:
  explicit SyntheticText(const Synthetic& shape) : _shape(shape), _engine(shape.seed) { _build(); }
  std::string asf, amc;

 private:
  // A number in [lo, hi) with 4 decimals.
  std::string _number(double lo, double hi) {
    double v = lo + (hi - lo) * (double)(_engine() % 1000000u) / 1e6;
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", v);
    return text;
  }
  int _below(int n) { return (int)(_engine() % (unsigned)n); }

  void _build() {
    static const char* orders[] = {"XYZ", "XZY", "YXZ", "YZX", "ZXY", "ZYX"};
    static const char* words[] = {"tx", "ty", "tz", "rx", "ry", "rz", "l"};
    const int n = _shape.bones;
    std::vector<int> parent(n + 1, 0), list;
    std::vector<std::vector<std::string>> dofs(n + 1);
    for (int i = 1; i <= n; ++i) {
      parent[i] = _shape.chain ? i - 1 : _below(i);
      list.push_back(i);
      if (_shape.allDofs) {
        dofs[i] = {"tx", "ty", "tz", "rx", "ry", "rz"};
      } else {
        std::vector<std::string> pool(words, words + 7);
        for (int k = _below(8); k > 0 && !pool.empty(); --k) {
          int pick = _below((int)pool.size());
          dofs[i].push_back(pool[pick]);
          pool.erase(pool.begin() + pick);
        }
      }
    }
    if (_shape.shuffled)
      for (int i = n - 1; i > 0; --i) std::swap(list[i], list[_below(i + 1)]);
    const double turn = _shape.radians ? 3.1 : 179.0;
    asf = ":version 1.10\n:name synthetic\n:units\n  mass 1.0\n  length " +
          std::string(_shape.length) + "\n  angle " + (_shape.radians ? "rad" : "deg") +
          "\n:root\n  order " + _shape.rootOrder + "\n  axis " + orders[_below(6)] +
          "\n  position " + _number(-5, 5) + " " + _number(-5, 5) + " " + _number(-5, 5) +
          "\n  orientation " + _number(-turn, turn) + " " + _number(-turn, turn) + " " +
          _number(-turn, turn) + "\n:bonedata\n";
    for (int i : list) {
      asf += "  begin\n    name b" + std::to_string(i) + "\n    direction " + _number(-1, 1) + " " +
             _number(-1, 1) + " " + _number(-1, 1) + "\n    length " + _number(0.1, 4) +
             "\n    axis " + _number(-turn, turn) + " " + _number(-turn, turn) + " " +
             _number(-turn, turn) + " " + orders[_below(6)] + "\n";
      if (!dofs[i].empty()) {
        asf += "    dof";
        for (const std::string& d : dofs[i]) asf += " " + d;
        asf += "\n";
      }
      asf += "  end\n";
    }
    asf += ":hierarchy\n  begin\n";
    for (int p = 0; p <= n; ++p) {
      std::string line;
      for (int i = 1; i <= n; ++i)
        if (parent[i] == p) line += " b" + std::to_string(i);
      if (!line.empty())
        asf += "    " + (p ? "b" + std::to_string(p) : std::string("root")) + line + "\n";
    }
    asf += "  end\n";

    std::vector<char> listed(n + 1, 1);
    for (int k = 0, i = 1; k < _shape.omitted && i <= n; ++i)
      if (!dofs[i].empty()) {
        listed[i] = 0;
        ++k;
      }
    int rootValues = 0;
    std::istringstream rootWords(_shape.rootOrder);
    for (std::string word; rootWords >> word;) ++rootValues;
    amc = std::string(":FULLY-SPECIFIED\n") + (_shape.radians ? ":RADIANS\n" : ":DEGREES\n");
    std::vector<std::string> upper(n + 1);
    for (int i = 1; i <= n; ++i) upper[i] = _shape.renamed && _below(3) == 0 ? "B" : "b";
    for (int f = 1; f <= _shape.frames; ++f) {
      amc += std::to_string(f) + "\n";
      std::vector<std::string> lines;
      if (_shape.rootEntry) {
        std::string line = "root";
        for (int k = 0; k < rootValues; ++k) line += " " + _number(-turn, turn);
        lines.push_back(line);
      }
      for (int i = 1; i <= n; ++i) {
        if (!listed[i] || dofs[i].empty()) continue;
        std::string line = (f == 1 ? upper[i] : std::string("b")) + std::to_string(i);
        int count = (int)dofs[i].size() - (i == _shape.shortBone ? 1 : 0);
        for (int k = 0; k < count; ++k)
          line += " " + (dofs[i][k][0] == 't' ? _number(-3, 3) : _number(-turn, turn));
        lines.push_back(line);
      }
      if (_shape.renamed) lines.push_back("ghost 1 2");
      if (_shape.shuffled && f > 1)
        for (int i = (int)lines.size() - 1; i > 0; --i) std::swap(lines[i], lines[_below(i + 1)]);
      for (const std::string& line : lines) amc += line + "\n";
    }
  }

  Synthetic _shape;
  std::mt19937 _engine;
};

// For every frame and column: the converter's channels equal
// printBoneChannels' byte for byte (or both record the same error), so its
// transforms, composed once per frame from the root down, give what
// composeMotionMatrices gives each bone on its own; and printMOV writes
// exactly what those functions give, column by column.
void expectSameAsBoneByBone(const KaASF& skeleton, const KaAMC& motion) {
  ChannelConverter converter(skeleton, motion);
  // The columns: the root, then the skeleton's bones in list order.
  std::vector<const KaASFDOFGroup*> columnDofs{&skeleton.root.order};
  for (const KaASFBone* bone : skeleton.bones) columnDofs.push_back(&bone->dofs);
  ASSERT_EQ((int)columnDofs.size(), converter.columnCount());
  std::ostringstream expectedMov;
  bool stopped = false;
  for (int f = 0; f < motion.fields.count(); ++f) {
    const KaAMCField& frame = motion.fields[f];
    converter.setFrame(frame);
    if (!stopped) writeMovNumber(expectedMov, (float)frame.number / 30.0f);
    for (int c = 0; c < converter.columnCount(); ++c) {
      SCOPED_TRACE(testing::Message() << "frame " << frame.number << ", " << converter.name(c));
      const KaAMCBone* entry = converter.entry(c);
      ASSERT_EQ(entry, frame.findBone(converter.name(c)));
      if (!entry) continue;
      const KaASFDOFGroup& dofs = *columnDofs[c];
      std::ostringstream got, expected;
      converter.printChannels(got, c);
      const bool failed = theExceptObj.errorOccurred();
      theExceptObj.clear();
      printBoneChannels(expected, converter.name(c), skeleton, frame, dofs, entry->values.data(),
                        entry->values.count(), motion.degrees);
      EXPECT_EQ(failed, theExceptObj.errorOccurred());
      theExceptObj.clear();
      EXPECT_EQ(got.str(), expected.str());
      if (!stopped) expectedMov << expected.str();
      stopped = stopped || failed;
    }
    if (!stopped) expectedMov << '\n';
  }
  std::ostringstream mov;
  printMOV(mov, skeleton, motion, 30);
  EXPECT_EQ(theExceptObj.errorOccurred(), stopped);
  theExceptObj.clear();
  EXPECT_EQ(mov.str(), expectedMov.str());
}

TEST_F(ChannelConversion, FrameByFrameEqualsBoneByBoneBitForBit) {
  std::vector<Synthetic> shapes;
  Synthetic deep;  // a deep chain, every bone with translations, turned axes
  deep.bones = 120;
  deep.chain = true;
  shapes.push_back(deep);
  Synthetic mixed;  // a tree listed out of order, with mixed dofs and names
  mixed.bones = 60;
  mixed.allDofs = false;
  mixed.shuffled = true;
  mixed.omitted = 5;
  mixed.renamed = true;
  mixed.seed = 2;
  shapes.push_back(mixed);
  Synthetic radians = mixed;
  radians.radians = true;
  radians.length = "2.54";
  radians.rootOrder = "RZ TX RY TY";
  radians.seed = 3;
  shapes.push_back(radians);
  Synthetic rootless;  // frames without a root entry
  rootless.rootEntry = false;
  rootless.seed = 4;
  shapes.push_back(rootless);
  Synthetic rotating = mixed;  // a root without translations
  rotating.rootOrder = "RX RY RZ";
  rotating.chain = true;
  rotating.seed = 5;
  shapes.push_back(rotating);
  Synthetic shortAncestor;  // b3 gives one value fewer: it fails, b4 on uses what it holds
  shortAncestor.bones = 12;
  shortAncestor.chain = true;
  shortAncestor.shuffled = true;
  shortAncestor.shortBone = 3;
  shortAncestor.seed = 6;
  shapes.push_back(shortAncestor);

  for (size_t i = 0; i < shapes.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "skeleton " << i);
    SyntheticText text(shapes[i]);
    KaASF skeleton;
    KaAMC motion;
    ASSERT_EQ(motconvtest::readModel(&skeleton, text.asf), "") << text.asf;
    ASSERT_EQ(motconvtest::readModel(&motion, text.amc), "") << text.amc;
    expectSameAsBoneByBone(skeleton, motion);
  }

  // Chains no file can give: a loop of parents (b2 -> b3 -> b2) and a parent
  // outside the bone list are composed bone by bone, as before.
  Synthetic small;
  small.bones = 6;
  small.chain = true;
  small.seed = 7;
  SyntheticText text(small);
  KaASF skeleton;
  KaAMC motion;
  ASSERT_EQ(motconvtest::readModel(&skeleton, text.asf), "");
  ASSERT_EQ(motconvtest::readModel(&motion, text.amc), "");
  KaASFBone outside = *skeleton.findBone("b5");
  outside.name = "outside";
  outside.parent = nullptr;
  skeleton.findBone("b6")->parent = &outside;
  skeleton.findBone("b2")->parent = skeleton.findBone("b3");
  expectSameAsBoneByBone(skeleton, motion);
}

}  // namespace
