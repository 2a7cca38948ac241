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
    // A take that passes may leave a warning only.
    EXPECT_EQ(passed, !theExceptObj.errorOccurred()) << message;
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

TEST_F(TakeCheck, FrameNumbersMustIncreaseAndTheirGapsAreCountedForOneWarning) {
  auto frame = [](int n) { return std::to_string(n) + "\nroot 1 2 3 4 5 6\nhip 1 2 3\nknee 4\n"; };
  EXPECT_EQ(check(frame(1) + frame(6) + frame(3) + frame(7)),
            "Frame 3 follows frame 6: frame numbers must increase.");
  EXPECT_EQ(check(frame(1) + frame(2) + frame(2)),
            "Frame 2 follows frame 2: frame numbers must increase.");
  // The number rule comes before the frame's values.
  EXPECT_EQ(check(frame(4) + "3\nroot 1\nhip 1 2\nknee 4\n"),
            "Frame 3 follows frame 4: frame numbers must increase.");
  EXPECT_EQ(check(frame(1) + frame(2) + frame(3)), "");
  EXPECT_EQ(check(frame(3) + frame(6)),
            "Frame 6 follows frame 3: the frame numbers have 1 gap in all; the MOV times keep the "
            "gaps.");
  EXPECT_EQ(check(frame(0) + frame(1) + frame(5) + frame(6) + frame(10) + frame(2147483647)),
            "Frame 5 follows frame 1: the frame numbers have 3 gaps in all; the MOV times keep the "
            "gaps.");
  // A refused take gets no gap warning.
  EXPECT_EQ(check(frame(1) + frame(5) + frame(5)),
            "Frame 5 follows frame 5: frame numbers must increase.");
}

TEST_F(TakeCheck, EntriesForNoBoneAndBonesWithoutEntriesAreLeftAlone) {
  EXPECT_EQ(check("1\nroot 1 2 3 4 5 6\nHIP 1 2 3\ntail 1 2 3 4 5\n"
                  "2\nroot 1 2 3 4 5 6\nHIP 1 2 3\ntail 9\n"),
            "");
}

}  // namespace
