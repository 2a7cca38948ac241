#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "apps/motconv/TakeResampler.h"
#include "tests/apps/motconv/MotconvTestModels.h"

namespace {

using motconvtest::MotconvBuild;
using motconvtest::readModel;

class TakeResampler_ : public MotconvBuild {};

MotconvCaptureRate rate(const char* text) {
  MotconvCaptureRate r;
  EXPECT_TRUE(motconvParseCaptureRate(text, &r)) << text;
  return r;
}

// One bone turning about three axes ("rz rx ry") under a root that only
// translates.
const char* const kSkeleton =
    ":version 1.10\n:name t\n:units\n  mass 1.0\n  length 1\n  angle deg\n"
    ":root\n  order TX TY TZ\n  axis XYZ\n  position 0 0 0\n  orientation 0 0 0\n"
    ":bonedata\n  begin\n    id 1\n    name b\n    direction 0 1 0\n    length 1\n"
    "    axis 0 0 0 XYZ\n    dof rz rx ry\n  end\n"
    ":hierarchy\n  begin\n    root b\n  end\n";

struct Line {
  int number;
  std::vector<float> root;
  std::vector<float> bone;
};

std::vector<Line> resample(const KaASF& skeleton, const KaAMC& motion, const char* capture,
                           int fps) {
  TakeResampler resampler(skeleton, motion.boneNames, motion.degrees, rate(capture), fps);
  std::vector<Line> lines;
  auto drain = [&]() {
    while (const KaAMCField* scene = resampler.next()) {
      Line line{scene->number, {}, {}};
      for (float v : scene->bones[0].values) line.root.push_back(v);
      for (float v : scene->bones[1].values) line.bone.push_back(v);
      lines.push_back(line);
    }
  };
  for (const KaAMCField& frame : motion.fields) {
    EXPECT_TRUE(resampler.feed(frame));
    drain();
  }
  EXPECT_TRUE(resampler.finish());
  return lines;
}

// The bone turns steadily about z from 150 to 210 degrees (written -150 in
// the second frame), tilted a little about x and y; at 10 frames per second
// played at 60 the five lines between the two frames are interpolated.
TEST_F(TakeResampler_, ATurnThroughAHalfTurnGoesOnWithoutAWholeTurnJump) {
  KaASF skeleton;
  ASSERT_EQ(readModel(&skeleton, kSkeleton), "");
  KaAMC motion;
  ASSERT_EQ(readModel(&motion,
                      ":FULLY-SPECIFIED\n:DEGREES\n"
                      "1\nroot 0 0 0\nb 150 10 5\n"
                      "2\nroot 6 0 0\nb -150 12 4\n"
                      "3\nroot 12 0 0\nb -90 14 3\n"),
            "");
  const std::vector<Line> lines = resample(skeleton, motion, "10", 60);
  ASSERT_EQ(lines.size(), 13u);  // scene frames 6 to 18
  for (size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k].number, 6 + (int)k);
  // The kept frames exactly as the AMC has them, the wrap to -150 included.
  EXPECT_EQ(lines[0].bone, (std::vector<float>{150, 10, 5}));
  EXPECT_EQ(lines[6].bone, (std::vector<float>{-150, 12, 4}));
  EXPECT_EQ(lines[12].bone, (std::vector<float>{-90, 14, 3}));
  EXPECT_EQ(lines[6].root, (std::vector<float>{6, 0, 0}));
  // Translations linearly: scene frame 9 is halfway between the frames.
  EXPECT_FLOAT_EQ(lines[3].root[0], 3.0f);
  for (size_t k = 1; k < 6; ++k) {
    // From 150 on toward 210, each step about a sixth of the 60 degrees,
    // and none a whole turn away from the line before.
    const float step = lines[k].bone[0] - lines[k - 1].bone[0];
    EXPECT_NEAR(step, 10.0f, 0.5f) << "line " << k;
    EXPECT_GT(lines[k].bone[0], 150.0f);
    EXPECT_LT(lines[k].bone[0], 210.0f);
    EXPECT_NEAR(lines[k].bone[1], 10.0f + 2.0f * k / 6.0f, 0.2f);
  }
  // After the kept -150 the interpolated lines follow it, not 210.
  for (size_t k = 7; k < 12; ++k) {
    const float step = lines[k].bone[0] - lines[k - 1].bone[0];
    EXPECT_NEAR(step, 10.0f, 0.5f) << "line " << k;
  }
}

// 120 to 60 keeps every second frame untouched; a rate equal to the scene's
// hands every frame out as it is, gaps included.
TEST_F(TakeResampler_, KeptFramesAreCopiedAndAnEqualRatePassesFramesThrough) {
  KaASF skeleton;
  ASSERT_EQ(readModel(&skeleton, kSkeleton), "");
  KaAMC motion;
  ASSERT_EQ(readModel(&motion,
                      ":FULLY-SPECIFIED\n:DEGREES\n"
                      "1\nroot 0.1 0 0\nb 1 2 3\n"
                      "2\nroot 0.2 0 0\nb 4 5 6\n"
                      "3\nroot 0.3 0 0\nb 7 8 9\n"
                      "4\nroot 0.4 0 0\nb 10 11 12\n"
                      "7\nroot 0.7 0 0\nb 13 14 15\n"),
            "");
  std::vector<Line> lines = resample(skeleton, motion, "120", 60);
  // Scene frames 1 to 3: AMC frames 2 and 4, then between 4 and 7.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].bone, (std::vector<float>{4, 5, 6}));
  EXPECT_EQ(lines[1].bone, (std::vector<float>{10, 11, 12}));
  EXPECT_FLOAT_EQ(lines[2].root[0], 0.4f + (0.7f - 0.4f) * 2.0f / 3.0f);

  lines = resample(skeleton, motion, "60.0", 60);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4].number, 7);
  EXPECT_EQ(lines[4].bone, (std::vector<float>{13, 14, 15}));
}

TEST_F(TakeResampler_, FramesOutOfOrderAndEmptyTimeLinesAreRefused) {
  KaASF skeleton;
  ASSERT_EQ(readModel(&skeleton, kSkeleton), "");
  KaAMC motion;
  ASSERT_EQ(readModel(&motion,
                      ":FULLY-SPECIFIED\n:DEGREES\n"
                      "5\nroot 0 0 0\nb 0 0 0\n4\nroot 0 0 0\nb 0 0 0\n"),
            "");
  {
    TakeResampler resampler(skeleton, motion.boneNames, 1, rate("120"), 60);
    EXPECT_TRUE(resampler.feed(motion.fields[0]));
    while (resampler.next()) {
    }
    EXPECT_FALSE(resampler.feed(motion.fields[1]));
  }
  KtStr text;
  KtGetExceptionStr(&text, *theExceptObj.exception());
  EXPECT_NE(std::string(text.text()).find("Frame 4 follows frame 5"), std::string::npos);
  theExceptObj.clear();

  KaAMC single;
  ASSERT_EQ(readModel(&single, ":FULLY-SPECIFIED\n:DEGREES\n1\nroot 0 0 0\nb 0 0 0\n"), "");
  TakeResampler resampler(skeleton, single.boneNames, 1, rate("120"), 60);
  EXPECT_TRUE(resampler.feed(single.fields[0]));
  EXPECT_EQ(resampler.next(), nullptr);
  EXPECT_FALSE(resampler.finish());
  theExceptObj.clear();
  // Frame 1 at 10^-9 frames a second falls on scene frame 6 * 10^10.
  TakeResampler slow(skeleton, single.boneNames, 1, rate("1e-9"), 60);
  EXPECT_FALSE(slow.feed(single.fields[0]));
  theExceptObj.clear();
}

}  // namespace
