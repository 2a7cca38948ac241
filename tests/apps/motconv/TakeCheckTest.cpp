#include <gtest/gtest.h>

#include <string>

#include "apps/motconv/TakeCheck.h"
#include "tests/apps/motconv/MotconvTestModels.h"

namespace {

using motconvtest::asfText;
using motconvtest::MotconvBuild;
using motconvtest::readMotion;
using motconvtest::readSkeleton;

class TakeCheck : public MotconvBuild {
 protected:
  // The check's result and the message it recorded ("" when none).
  std::string check(const std::string& frames) {
    KaASF skeleton;
    readSkeleton(&skeleton, asfText("TX TY TZ RX RY RZ", {{"hip", "rx ry rz"}, {"knee", "rz"}}));
    KaAMC motion;
    readMotion(&motion, ":FULLY-SPECIFIED\n:DEGREES\n" + frames);
    bool passed = checkTakeAgainstSkeleton(skeleton, motion);
    std::string message =
        theExceptObj.exception() ? theExceptObj.exception()->message().text() : "";
    EXPECT_EQ(passed, message.empty()) << message;
    theExceptObj.clear();
    return message;
  }
};

TEST_F(TakeCheck, EveryFrameIsCheckedAndTheFirstMismatchIsNamedByFrameNumberAndBone) {
  const std::string good1 = "1\nroot 1 2 3 4 5 6\nhip 1 2 3\nknee 4\n";
  const std::string good2 = "2\nroot 1 2 3 4 5 6\nhip 1 2 3\nknee 4\n";
  EXPECT_EQ(check(good1 + good2), "");
  // A later frame, too many and too few values, the root and a bone.
  EXPECT_EQ(check(good1 + "7\nroot 1 2 3 4 5 6\nhip 1 2 3\nknee 4 5\n"),
            "Frame 7: bone \"knee\" has 1 dofs in the ASF, but the AMC specifies 2.");
  EXPECT_EQ(check(good1 + "2\nroot 1 2 3 4 5\nhip 1 2\nknee 4\n"),
            "Frame 2: bone \"root\" has 6 dofs in the ASF, but the AMC specifies 5.");
  EXPECT_EQ(check(good1 + "2\nroot 1 2 3 4 5 6\nhip 1 2\nknee 4\n" +
                  "3\nroot 1 2 3 4 5 6\nhip 1\nknee 4\n"),
            "Frame 2: bone \"hip\" has 3 dofs in the ASF, but the AMC specifies 2.");
}

TEST_F(TakeCheck, EntriesForNoBoneAndBonesWithoutEntriesAreLeftAlone) {
  EXPECT_EQ(check("1\nroot 1 2 3 4 5 6\nHIP 1 2 3\ntail 1 2 3 4 5\n"
                  "2\nroot 1 2 3 4 5 6\nHIP 1 2 3\ntail 9\n"),
            "");
}

}  // namespace
