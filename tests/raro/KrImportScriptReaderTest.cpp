// The import script reader: what motconv writes (with filters, with a
// capture rate) binds every device axis to the joint attribute it names and
// gives the take's rate, units and first frame; blank lines and comments
// are skipped; anything else is refused with the file and the line.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "raro/KrImportScriptReader.h"
#include "raro/KrJointScriptReader.h"
#include "tests/raro/ConvertedTake.h"
#include "toolkit/KtExcept.h"

using rarotest::messages;

namespace {

const char* const kJoints =
    "select -cl;\n"
    "joint -name r -position 0 0 0 -rotationOrder xyz -dof \"xz\" -orientation 0 0 0;\n";

const char* const kChannels =
    "  defineVirtualDevice -channel r_tx -usage posX -axis 0;\n"
    "  defineVirtualDevice -channel r_rz -usage rotZ -axis 1;\n";

const char* const kBindings =
    "  attachDeviceAttr -device \"amc_device\" -axis \"r_tx\" \"r.translateX\";\n"
    "  attachDeviceAttr -device \"amc_device\" -axis \"r_rz\" \"r.rotateZ\";\n";

const char* const kTake =
    "    currentUnit -time film;\n"
    "    readTake -device \"amc_device\" -angle \"radian\" -linear \"inch\" -take $mov_file;\n"
    "    applyTake -device \"amc_device\";\n"
    "    currentTime -edit 5;\n"
    "    playbackOptions -minTime 5;\n";

KrScene jointsOf(const std::string& script) {
  KrScene scene;
  EXPECT_TRUE(KrReadJointScript(script, "s.mel", &scene));
  return scene;
}

}  // namespace

TEST(KrImportScriptReader, BindsWhatMotconvWrites) {
  theExceptObj.clear();
  for (const rarotest::ConvertedTake& take : rarotest::convertedTakes()) {
    SCOPED_TRACE(take.name);
    KrScene scene = jointsOf(take.jointScript);
    KrTake facts;
    ASSERT_TRUE(KrReadImportScript(take.importScript, "t.mel", &scene, &facts));
    EXPECT_FALSE(theExceptObj.errorOccurred());
    EXPECT_EQ(facts.fps, take.fps);
    EXPECT_EQ(facts.firstFrame, take.firstFrame);
    EXPECT_TRUE(facts.degrees);
    EXPECT_DOUBLE_EQ(facts.angleScale, M_PI / 180.0);
    // Every channel is bound once, and the axes run from 0 without a gap.
    const int channels =
        rarotest::linesStartingWith(take.importScript, "defineVirtualDevice -channel");
    ASSERT_GT(channels, 6);
    EXPECT_EQ((int)scene.bindings().size(), channels);
    EXPECT_EQ(scene.axesNeeded(), channels);
    // The root's translation comes first; the left femur turns about all
    // three of its axes.
    const KrBinding& first = scene.bindings()[0];
    EXPECT_EQ(first.joint, scene.find("A_root"));
    EXPECT_TRUE(first.translate);
    EXPECT_EQ(first.component, 0);
    int femurTurns = 0;
    for (const KrBinding& b : scene.bindings())
      if (b.joint == scene.find("A_lfemur")) {
        EXPECT_FALSE(b.translate);
        ++femurTurns;
      }
    EXPECT_EQ(femurTurns, 3);
  }
}

TEST(KrImportScriptReader, SkipsBlankLinesAndComments) {
  theExceptObj.clear();
  KrScene scene = jointsOf(kJoints);
  KrTake take;
  ASSERT_TRUE(KrReadImportScript(std::string("// made by hand\n\nproc createAMCDevice()\n{\n") +
                                     kChannels + "\t\n  // bound below\r\n" + kBindings + "}\n" +
                                     kTake + "\n",
                                 "t.mel", &scene, &take));
  EXPECT_FALSE(theExceptObj.errorOccurred());
  EXPECT_EQ(take.fps, 24);
  EXPECT_EQ(take.firstFrame, 5);
  EXPECT_FALSE(take.degrees);
  EXPECT_EQ(take.angleScale, 1.0);
  ASSERT_EQ(scene.bindings().size(), 2u);
  EXPECT_EQ(scene.bindings()[1].axis, 1);
  EXPECT_FALSE(scene.bindings()[1].translate);
  EXPECT_EQ(scene.bindings()[1].component, 2);
}

TEST(KrImportScriptReader, RefusesWhatItDoesNotKnowWithFileAndLine) {
  struct Case {
    const char* label;
    std::string text;
    const char* line;
  };
  const std::string device = kChannels;
  const Case cases[] = {
      {"unknown line", device + "  setAttr r.translateX 2;\n",
       "Line 3:  Expected a line of an AMC import script."},
      {"binding to a joint the joint script lacks",
       device + "  attachDeviceAttr -device \"amc_device\" -axis \"r_tx\" \"hand.translateX\";\n",
       "Line 3:  No joint 'hand'."},
      {"binding of a channel not defined",
       device + "  attachDeviceAttr -device \"amc_device\" -axis \"r_ty\" \"r.translateY\";\n",
       "Line 3:  Channel 'r_ty' is not defined."},
      {"binding to an attribute it does not know",
       device + "  attachDeviceAttr -device \"amc_device\" -axis \"r_tx\" \"r.scaleX\";\n",
       "Line 3:  Unknown joint attribute 'scaleX'."},
      {"rotation outside the dof",
       device + "  attachDeviceAttr -device \"amc_device\" -axis \"r_rz\" \"r.rotateY\";\n",
       "Line 3:  Attribute 'r.rotateY' turns the joint outside its -dof."},
      {"channel twice", device + "  defineVirtualDevice -channel r_tx -usage posX -axis 2;\n",
       "Line 3:  Channel 'r_tx' is defined twice."},
      {"axis twice", device + "  defineVirtualDevice -channel r_ty -usage posY -axis 1;\n",
       "Line 3:  Axis 1 is defined twice."},
      {"time unit it does not know", "currentUnit -time hour;\n",
       "Line 1:  Unknown time unit 'hour'."},
      {"angle unit it does not know",
       "readTake -device \"amc_device\" -angle \"grad\" -linear \"inch\" -take $mov_file;\n",
       "Line 1:  Expected angle unit \"degree\" or \"radian\", found \"grad\"."},
      {"length unit other than the joint script's",
       "readTake -device \"amc_device\" -angle \"degree\" -linear \"cm\" -take $mov_file;\n",
       "Line 1:  Expected linear unit \"inch\", found \"cm\"."},
      {"no rate", device + kBindings + "currentTime -edit 1;\nplaybackOptions -minTime 1;\n",
       "Line 6:  Expected currentUnit, readTake, currentTime and playbackOptions lines."},
      {"first frames that differ",
       device + kBindings + "currentUnit -time ntsc;\n" +
           "readTake -device \"amc_device\" -angle \"degree\" -linear \"inch\" -take $f;\n" +
           "currentTime -edit 2;\nplaybackOptions -minTime 1;\n",
       "Line 8:  currentTime 2 and playbackOptions -minTime 1 differ."},
  };
  theExceptObj.clear();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    KrScene scene = jointsOf(kJoints);
    KrTake take;
    EXPECT_FALSE(KrReadImportScript(c.text, "t.mel", &scene, &take));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Unable to read import script 't.mel'.", c.line}));
  }
}

// motconv -p B_ drives joints the skelconv -p A_ script never made: the
// first binding is refused, on its own line.
TEST(KrImportScriptReader, RefusesATakeForOtherJoints) {
  theExceptObj.clear();
  const rarotest::ConvertedTake& take = rarotest::convertedTakes()[0];
  std::string other = take.importScript;
  for (size_t at; (at = other.find("\"A_")) != std::string::npos;) other.replace(at, 3, "\"B_");
  KrScene scene = jointsOf(take.jointScript);
  KrTake facts;
  EXPECT_FALSE(KrReadImportScript(other, "t.mel", &scene, &facts));
  const int line = rarotest::lineHolding(other, "attachDeviceAttr");
  ASSERT_GT(line, 0);
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Unable to read import script 't.mel'.",
                                      "Line " + std::to_string(line) + ":  No joint 'B_root'."}));
}
