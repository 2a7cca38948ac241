// The contact sheet's frames: the -frames list as typed, the frames spread
// over a take by default, and the refusal of a frame outside the take.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/motview/FrameList.h"
#include "toolkit/KtExcept.h"

TEST(FrameList, ParsesWholeNumbersSeparatedByCommasWithBlanksAround) {
  std::vector<long> frames;
  ASSERT_TRUE(parseFrameList("1,60,120", &frames));
  EXPECT_EQ(frames, (std::vector<long>{1, 60, 120}));
  ASSERT_TRUE(parseFrameList(" 7 ,\t-2,7", &frames));
  EXPECT_EQ(frames, (std::vector<long>{7, -2, 7}));
  ASSERT_TRUE(parseFrameList("42", &frames));
  EXPECT_EQ(frames, (std::vector<long>{42}));
}

TEST(FrameList, RefusesAnythingElseAndLeavesTheFramesAlone) {
  for (const char* bad : {"", " ", ",", "1,", ",1", "1,,2", "1 2", "1.5", "+3", "x", "1,a", "-",
                          "99999999999999999999", "1;2", "0x10"}) {
    std::vector<long> frames = {5};
    EXPECT_FALSE(parseFrameList(bad, &frames)) << "'" << bad << "'";
    EXPECT_EQ(frames, (std::vector<long>{5})) << "'" << bad << "'";
  }
}

TEST(FrameList, SpreadsFramesEvenlyFromFirstToLastBothIncluded) {
  // 1 + i * 505 / 7: 1, 73.1, 145.3, 217.4, 289.6, 361.7, 433.9, 506.
  EXPECT_EQ(spreadFrames(1, 506, 8), (std::vector<long>{1, 73, 145, 217, 290, 362, 434, 506}));
  // A tie goes to the earlier frame: 0 + i * 3 / 2 = 0, 1.5, 3.
  EXPECT_EQ(spreadFrames(0, 3, 3), (std::vector<long>{0, 1, 3}));
  // A take shorter than the count: every frame once.
  EXPECT_EQ(spreadFrames(2, 5, 8), (std::vector<long>{2, 3, 4, 5}));
  EXPECT_EQ(spreadFrames(9, 9, 8), (std::vector<long>{9}));
  EXPECT_EQ(spreadFrames(3, 100, 1), (std::vector<long>{3}));
}

TEST(FrameList, RefusesTheFirstFrameOutsideTheTakeNamingItAndTheTake) {
  theExceptObj.clear();
  EXPECT_TRUE(checkFramesInTake({2, 62, 30}, 2, 62));
  EXPECT_FALSE(theExceptObj.exceptionOccurred());
  EXPECT_FALSE(checkFramesInTake({5, 63, 1}, 2, 62));
  ASSERT_TRUE(theExceptObj.errorOccurred());
  EXPECT_STREQ(theExceptObj.exception()->message().text(),
               "Frame 63 is not a frame of the take, which holds scene frames 2 to 62.");
  EXPECT_EQ(theExceptObj.exception()->detail(), nullptr);
  theExceptObj.clear();
}
