#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "acclaim/KaAMC.h"
#include "toolkit/KtExcept.h"

namespace {

// The messages of the recorded chain, newest first, one per line.
std::string chain() {
  std::string text;
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail()) {
    text += e->message().text();
    text += "\n";
  }
  theExceptObj.clear();
  return text;
}

std::string read(KaAMC* motion, const std::string& text) {
  std::istringstream in(text);
  motion->scanFrom(in);
  return chain();
}

const char* header = ":FULLY-SPECIFIED\n:DEGREES\n";

}  // namespace

TEST(KaAMC, HeaderFailuresGiveTheirReasons) {
  struct Case {
    const char* text;
    const char* reason;
  } cases[] = {
      {"", "Error reading file."},
      {":FULLY-SPECIFIED\n:DEGREES\n", "Error reading file."},
      {":DEGREES\n1\nroot 1\n", "File does not specify mode."},
      {":FULLY-SPECIFIED\n1\nroot 1\n", "File does not specify units."},
      {":FULLY-SPECIFIED\n:POSITIONS\n1\n", "Unrecognized key word \"POSITIONS\"."},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(read(&motion, c.text),
              std::string("File does not contain amc data.\n") + c.reason + "\n")
        << c.text;
  }
}

TEST(KaAMC, KeywordsInAnyCaseAndCommentsAreAccepted) {
  KaAMC motion;
  EXPECT_EQ(
      read(&motion, "# a comment\n  :fully-Specified  \n#x\n:RADIANS\n: Degrees\n1\nroot 1 2\n"),
      "");
  EXPECT_EQ(motion.degrees, 1);
  ASSERT_EQ(motion.fields.count(), 1);
  EXPECT_EQ(motion.fields[0].bones[0].values.count(), 2);
}

TEST(KaAMC, FirstDataLineThatIsNotANumberFails) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "root 1 2\n"),
            "Unable to read field.\nUnable to read field number.\n");
  EXPECT_EQ(motion.fields.count(), 0);
}

TEST(KaAMC, BoneLineValuesStopAtTheFirstTextThatIsNotANumber) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "1\nroot 1 2 x 3\nhead\n"), "");
  const KaAMCField& f = motion.fields[0];
  ASSERT_EQ(f.bones[0].values.count(), 2);
  EXPECT_EQ(f.bones[0].values[1], 2.0f);
  EXPECT_EQ(f.bones[1].values.count(), 0);
  EXPECT_STREQ(f.bones[1].name->text(), "head");
}

TEST(KaAMC, AWordAfterTheFrameNumberIsTheFirstBone) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "7 root 1 2\nhead 3\n"), "");
  EXPECT_EQ(motion.fields[0].number, 7);
  EXPECT_STREQ(motion.boneNames[0].text(), "root");
  EXPECT_EQ(motion.fields[0].bones[0].values.count(), 2);
}

TEST(KaAMC, LongNamesAndValueLinesAreReadWhole) {
  std::string name(300, 'b');
  std::string values;
  for (int i = 0; i < 100; i++) values += " 1.5";
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "1\n" + name + values + "\nhead 2\n"), "");
  ASSERT_EQ(motion.boneNames.count(), 2);
  EXPECT_EQ(motion.boneNames[0].length(), 300);
  EXPECT_EQ(motion.fields[0].bones[0].values.count(), 100);
}

TEST(KaAMC, LaterFramesAreStoredInTheFirstFramesOrderByName) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, std::string(header) + "1\nroot 1\nhead 2\n2\nHEAD 4\nroot 3\n"), "");
  ASSERT_EQ(motion.fields.count(), 2);
  const KaAMCField& f = motion.fields[1];
  EXPECT_EQ(f.bones[0].name, &motion.boneNames[0]);
  EXPECT_EQ(f.bones[0].values[0], 3.0f);
  EXPECT_EQ(f.bones[1].values[0], 4.0f);
}

TEST(KaAMC, FramesThatDoNotListTheFirstFramesBonesAreRefused) {
  std::string first = std::string(header) + "1\nroot 1\nhead 2\n";
  struct Case {
    const char* frame;
    const char* message;
  } cases[] = {
      {"2\nroot 1\nneck 2\n", "Field 2 lists bone 'neck', which the first field does not have.\n"},
      {"2\nroot 1\nroot 2\n", "Field 2 lists bone 'root' twice.\n"},
      {"2\nroot 1\n", "Field 2 lacks bone 'head'.\n"},
  };
  for (const Case& c : cases) {
    KaAMC motion;
    EXPECT_EQ(read(&motion, first + c.frame), std::string("Unable to read field.\n") + c.message);
    EXPECT_EQ(motion.fields.count(), 0);
  }
}

TEST(KaAMC, PartialReadLeavesTheStreamAtTheNextFrame) {
  std::string text = std::string(header);
  for (int i = 1; i <= 1000; i++) text += std::to_string(i) + "\nroot 1 2 3\nhead 4\n";
  std::istringstream in(text);
  KaAMC motion;
  motion._scanFrom(in, 1);
  EXPECT_EQ(chain(), "");
  EXPECT_EQ(motion.fields.count(), 1);
  int next = 0;
  in >> next;
  EXPECT_EQ(next, 2);
}

TEST(KaAMC, WritingReproducesTheText) {
  KaAMC motion;
  EXPECT_EQ(read(&motion, ":FULLY-SPECIFIED\n:RADIANS\n1\nroot 1.5 -2 1234567\nhead\n"), "");
  std::ostringstream out;
  motion.printOn(out);
  EXPECT_EQ(out.str(), ":FULLY-SPECIFIED\n:RADIANS\n1\nroot 1.5 -2 1.23457e+06 \nhead \n");
}

TEST(KaAMC, WritingFramesOfDifferentLengthFailsAfterWritingThem) {
  KaAMC motion;
  KtDArray<KtStr> names(2);
  names[0] = "root";
  names[1] = "head";
  motion.setBoneNames(names);
  motion.createField(1);
  motion.createField(5)->setNumBones(1);
  std::ostringstream out;
  motion.printOn(out);
  EXPECT_EQ(
      chain(),
      "The number of bones in field 5 differs from the number of bones in previous fields.\n");
  EXPECT_EQ(out.str(), ":FULLY-SPECIFIED\n:DEGREES\n1\nroot \nhead \n5\nroot \n");
}

TEST(KaAMC, ACMUTakeRoundTripsToSixDigits) {
  std::ifstream file(RC_DATA_DIR "/cmu/charleston1.amc");
  ASSERT_TRUE(file.good());
  KaAMC motion;
  motion.scanFrom(file);
  ASSERT_EQ(chain(), "");
  std::stringstream text;
  motion.printOn(text);
  KaAMC again;
  again.scanFrom(text);
  ASSERT_EQ(chain(), "");
  ASSERT_EQ(again.fields.count(), motion.fields.count());
  for (int f = 0; f < motion.fields.count(); f++)
    for (int b = 0; b < motion.boneNames.count(); b++)
      for (int v = 0; v < motion.fields[f].bones[b].values.count(); v++) {
        float a = motion.fields[f].bones[b].values[v];
        EXPECT_NEAR(again.fields[f].bones[b].values[v], a, 5e-6 * std::fabs(a) + 1e-30);
      }
}
