// The drawings' numbers: hundredths of an inch, rounded half away from
// zero, written as short decimals; sizes and labels in fixed precision.

#include <gtest/gtest.h>

#include <string>

#include "apps/motview/DrawingNumbers.h"

namespace {

std::string hundredths(long h) {
  std::string out;
  appendHundredths(&out, h);
  return out;
}

}  // namespace

TEST(DrawingNumbers, RoundsInchesToTheNearestHundredthHalvesAwayFromZero) {
  EXPECT_EQ(toHundredths(12.344), 1234);
  EXPECT_EQ(toHundredths(12.346), 1235);
  EXPECT_EQ(toHundredths(-0.004), 0);
  EXPECT_EQ(toHundredths(-0.006), -1);
  EXPECT_EQ(toHundredths(0.125), 13);  // 12.5 hundredths, exactly a half
  EXPECT_EQ(toHundredths(-0.125), -13);
}

TEST(DrawingNumbers, WritesHundredthsAsShortDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(hundredths(1234), "12.34");
  EXPECT_EQ(hundredths(1230), "12.3");
  EXPECT_EQ(hundredths(1200), "12");
  EXPECT_EQ(hundredths(5), "0.05");
  EXPECT_EQ(hundredths(-5), "-0.05");
  EXPECT_EQ(hundredths(-250), "-2.5");
  EXPECT_EQ(hundredths(0), "0");
  EXPECT_EQ(hundredths(-100001), "-1000.01");
}

TEST(DrawingNumbers, WritesSizesInSignificantDigitsAndLabelsInFixedDecimals) {
  std::string out;
  appendShort(&out, 2.3456789, 4);
  out += " ";
  appendShort(&out, 0.0123456, 3);
  out += " ";
  appendFixed(&out, 73 / 60.0, 3);
  out += " ";
  appendFixed(&out, 2, 2);
  EXPECT_EQ(out, "2.346 0.0123 1.217 2.00");
}
