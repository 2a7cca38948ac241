#include <gtest/gtest.h>

#include <climits>

#include "apps/motconv/CaptureTimeLine.h"

namespace {

MotconvCaptureRate rate(const char* text) {
  MotconvCaptureRate r;
  EXPECT_TRUE(motconvParseCaptureRate(text, &r)) << text;
  return r;
}

// Scene frame m shows u = m C / F; whole values are found in integers.
TEST(CaptureTimeLine, TheTimeLineIsExactForDecimalRates) {
  const CaptureTimeLine ntsc(rate("29.97"), 30);
  const CaptureTimeLine::CaptureTime u = ntsc.captureTimeOf(1000);
  EXPECT_TRUE(u.exact);
  EXPECT_EQ(u.whole, 999);
  EXPECT_FALSE(ntsc.captureTimeOf(999).exact);
  EXPECT_EQ(ntsc.sceneFrameAtOrAfter(999), 1000);
  EXPECT_EQ(ntsc.sceneFrameAtOrBefore(999), 1000);
  EXPECT_EQ(ntsc.sceneFrameAtOrBefore(998), 998);  // 998.998...
  const CaptureTimeLine pal(rate("120"), 25);
  EXPECT_EQ(pal.sceneFrameAtOrAfter(24), 5);
  EXPECT_EQ(pal.sceneFrameAtOrBefore(24), 5);
  EXPECT_EQ(pal.sceneFrameAtOrAfter(25), 6);
  EXPECT_EQ(pal.sceneFrameAtOrBefore(-1), -1);
  EXPECT_EQ(pal.sceneFrameAtOrAfter(-1), 0);
  EXPECT_FALSE(pal.passesThrough());
  EXPECT_TRUE(CaptureTimeLine(rate("2.5e1"), 25).passesThrough());
  EXPECT_TRUE(CaptureTimeLine(rate("0x1.9p4"), 25).passesThrough());  // 25, not a decimal
  // Far beyond a long long: held at its limit, never wrapped around.
  const CaptureTimeLine slow(rate("1e-17"), 60);
  EXPECT_EQ(slow.sceneFrameAtOrBefore(2000000000), LLONG_MAX);
  EXPECT_EQ(slow.sceneFrameAtOrAfter(-2000000000), LLONG_MIN);
  MotconvCaptureRate r;
  EXPECT_TRUE(motconvParseCaptureRate("29.970", &r));
  EXPECT_EQ(r.numerator, 2997);
  EXPECT_EQ(r.denominator, 100);
  for (const char* bad : {"0", "-30", "inf", "nan", "1e999", "30fps", "", " 30", "abc"})
    EXPECT_FALSE(motconvParseCaptureRate(bad, &r)) << bad;
}

}  // namespace
