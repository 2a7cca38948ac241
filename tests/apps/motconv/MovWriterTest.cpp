#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "apps/motconv/MovWriter.h"
#include "tests/apps/motconv/MotconvTestModels.h"

namespace {

class MovWriter : public motconvtest::MotconvBuild {
 protected:
  void load(const std::string& bones, const std::string& hierarchy, const std::string& frames) {
    std::string asf =
        ":version 1.10\n:name t\n:units\n  mass 1\n  length 1\n  angle deg\n"
        ":root\n  order TX TY TZ RX RY RZ\n  axis XYZ\n  position 0 0 0\n"
        "  orientation 0 0 0\n:bonedata\n" +
        bones + ":hierarchy\n  begin\n" + hierarchy + "  end\n";
    ASSERT_EQ(motconvtest::readModel(&skeleton, asf), "");
    ASSERT_EQ(motconvtest::readModel(&motion, ":FULLY-SPECIFIED\n:DEGREES\n" + frames), "");
  }

  std::string mov(int fps) {
    std::ostringstream out;
    printMOV(out, skeleton, motion, fps);
    return out.str();
  }

  KaASF skeleton;
  KaAMC motion;
};

const char* kBoneA =
    "  begin\n    name a\n    direction 1 0 0\n    length 1\n    axis 0 0 0 XYZ\n"
    "    dof rx ry rz\n  end\n";
const char* kBoneB =
    "  begin\n    name b\n    direction 1 0 0\n    length 1\n    axis 0 0 0 XYZ\n"
    "    dof rz\n  end\n";

TEST_F(MovWriter, OneLinePerFrameWithTheTimeFirst) {
  load(kBoneA, "    root a\n",
       "1\nroot 1 2 3 4 5 6\na 7 8 9\n2\nroot 1.5 2 3 4 5 6\na 7 8 9.25\n"
       "3\nroot -1 0 0.001 0 0 0\na 0 0 0\n");
  EXPECT_EQ(mov(30),
            "0.0333333 1 2 3 4 5 6 7 8 9 \n"
            "0.0666667 1.5 2 3 4 5 6 7 8 9.25 \n"
            "0.1 -1 0 0.001 0 0 0 0 0 0 \n");
}

TEST_F(MovWriter, TimesAreFrameNumbersOverTheRate) {
  load(kBoneA, "    root a\n", "10\nroot 0 0 0 0 0 0\na 1 2 3\n20\nroot 0 0 0 0 0 0\na 1 2 3\n");
  std::string text = mov(25);
  EXPECT_EQ(text.substr(0, 4), "0.4 ");
  EXPECT_NE(text.find("\n0.8 "), std::string::npos);
}

TEST_F(MovWriter, BonesComeInSkeletonOrderWhateverTheMotionsOrder) {
  // b is listed first and in another case; a frame without a root entry
  // writes no root channels.
  load(std::string(kBoneA) + kBoneB, "    root a b\n", "1\nB 30\na 1 2 3\n2\nb 31\nA 4 5 6\n");
  EXPECT_EQ(mov(30), "0.0333333 1 2 3 30 \n0.0666667 4 5 6 31 \n");
}

TEST_F(MovWriter, AValueCountMismatchStopsTheTable) {
  load(std::string(kBoneA) + kBoneB, "    root a b\n",
       "1\nroot 1 2 3 4 5 6\na 7 8 9 10\nb 1\n2\nroot 1 2 3 4 5 6\na 7 8 9 10\nb 1\n");
  // The beginning of the failing line stays.
  EXPECT_EQ(mov(30), "0.0333333 1 2 3 4 5 6 ");
  ASSERT_TRUE(theExceptObj.errorOccurred());
  KtExcept* record = theExceptObj.exception();
  EXPECT_STREQ(record->message().text(),
               "Unable to convert transformations to MOV for body \"a\".");
  ASSERT_NE(record->detail(), nullptr);
  EXPECT_STREQ(record->detail()->message().text(),
               "The number of degrees of freedom in the AMC does not match the number of "
               "degrees of freedom in the ASF.");
  EXPECT_EQ(record->detail()->detail(), nullptr);
}

TEST_F(MovWriter, RootFailureAndPercentInANameAreReportedAsTheyAre) {
  load(
      "  begin\n    name a%s%n\n    direction 1 0 0\n    length 1\n    axis 0 0 0 XYZ\n"
      "    dof rx\n  end\n",
      "    root a%s%n\n", "1\nroot 1 2 3 4 5 6\na%s%n 1 2\n");
  EXPECT_EQ(mov(30), "0.0333333 1 2 3 4 5 6 ");
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(),
               "Unable to convert transformations to MOV for body \"a%s%n\".");
  theExceptObj.clear();

  ASSERT_EQ(motconvtest::readModel(&motion, ":FULLY-SPECIFIED\n:DEGREES\n1\nroot 1 2 3\n"), "");
  EXPECT_EQ(mov(30), "0.0333333 ");
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(),
               "Unable to convert transformations to MOV for \"root\".");
}

// The numbers of one AMC frame, read straight from the text: name -> values.
std::map<std::string, std::vector<double>> frameOf(const std::string& path, int number) {
  std::ifstream in(path);
  std::string line;
  std::map<std::string, std::vector<double>> frame;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && std::isdigit((unsigned char)line[0])) {
      if (inside) break;
      inside = std::stoi(line) == number;
      continue;
    }
    if (!inside) continue;
    std::istringstream words(line);
    std::string name;
    words >> name;
    double v;
    while (words >> v) frame[name].push_back(v);
  }
  return frame;
}

std::vector<double> movLine(const std::string& text, int index) {
  std::istringstream in(text);
  std::string line;
  for (int i = 0; i <= index; ++i) std::getline(in, line);
  std::istringstream words(line);
  std::vector<double> values;
  double v;
  while (words >> v) values.push_back(v);
  return values;
}

TEST_F(MovWriter, CMUTakesConvertToTheirOwnNumbers) {
  struct Take {
    const char* asf;
    const char* amc;
    int frames;
  };
  for (const Take& take :
       {Take{"lambada.asf", "lambada.amc", 2180}, Take{"charleston.asf", "charleston1.amc", 506}}) {
    SCOPED_TRACE(take.amc);
    std::string dir = std::string(RC_DATA_DIR) + "/cmu/";
    skeleton.read((dir + take.asf).c_str());
    motion.read((dir + take.amc).c_str());
    ASSERT_FALSE(theExceptObj.exceptionOccurred());
    ASSERT_EQ(motion.fields.count(), take.frames);
    std::string text = mov(120);
    ASSERT_FALSE(theExceptObj.exceptionOccurred());

    // Both takes' skeletons: length factor 0.45, root at the origin and
    // not turned, so the root's channels are its translations over 0.45,
    // then every rotation value as written, bones in skeleton order.
    const double scale = 1.0 / 0.45;
    for (int number : {1, 2, 250, take.frames}) {
      SCOPED_TRACE(number);
      std::map<std::string, std::vector<double>> frame = frameOf(dir + take.amc, number);
      std::vector<double> expected = {number / 120.0};
      const std::vector<double>& root = frame["root"];
      ASSERT_EQ(root.size(), 6u);
      for (int i = 0; i < 3; ++i) expected.push_back(root[i] * scale);
      for (int i = 3; i < 6; ++i) expected.push_back(root[i]);
      for (const KaASFBone* bone : skeleton.bones) {
        auto found = frame.find(bone->name.text());
        if (found != frame.end())
          for (double v : found->second) expected.push_back(v);
      }
      std::vector<double> line = movLine(text, number - 1);
      ASSERT_EQ(line.size(), expected.size());
      for (size_t i = 0; i < line.size(); ++i)
        EXPECT_NEAR(line[i], expected[i], 6e-6 * std::fabs(expected[i]) + 1e-9) << i;
    }
  }
}

}  // namespace
