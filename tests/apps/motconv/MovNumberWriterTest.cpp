#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>

#include "apps/motconv/MovNumberWriter.h"

namespace {

std::string written(double v) {
  std::ostringstream out;
  writeMovNumber(out, v);
  return out.str();
}

std::string printfText(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%g ", v);
  return text;
}

TEST(MovNumberWriter, WritesTheGeneralFormAndABlank) {
  EXPECT_EQ(written(1.0), "1 ");
  EXPECT_EQ(written(0.5), "0.5 ");
  EXPECT_EQ(written(-0.0), "-0 ");
  EXPECT_EQ(written(0.0), "0 ");
  EXPECT_EQ(written(1.0f / 30.0f), "0.0333333 ");
  EXPECT_EQ(written(2.0f / 30.0f), "0.0666667 ");
  EXPECT_EQ(written(0.1f), "0.1 ");
  EXPECT_EQ(written(1234567.0), "1.23457e+06 ");
  EXPECT_EQ(written(999999.5f), "1e+06 ");
  EXPECT_EQ(written(0.0001f), "0.0001 ");
  EXPECT_EQ(written(0.00001f), "1e-05 ");
  EXPECT_EQ(written(-1.03865e-14f), "-1.03865e-14 ");
  // Ties at the seventh digit go to the even digit, as printf rounds.
  EXPECT_EQ(written(100000.5f), "100000 ");
  EXPECT_EQ(written(100001.5f), "100002 ");
  EXPECT_EQ(written(0.00048828125f), "0.000488281 ");
}

TEST(MovNumberWriter, AgreesWithPrintfOnFloatsAndDoubles) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> exponent(-12, 12);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  for (int i = 0; i < 300000; ++i) {
    double d = mantissa(random) * std::pow(10.0, exponent(random));
    float f = (float)d;
    ASSERT_EQ(written(f), printfText(f)) << std::setprecision(9) << f;
    ASSERT_EQ(written(d), printfText(d)) << std::setprecision(17) << d;
  }
  // Every float from 1 to 2 ** 23 steps apart around the decimal boundaries.
  for (float f : {9.9999943e-5f, 0.00099999993f, 0.99999994f, 9.999999f, 99999.99f, 999999.9f}) {
    for (int step = 0; step < 200; ++step) {
      ASSERT_EQ(written(f), printfText(f)) << std::setprecision(9) << f;
      f = std::nextafter(f, 1e30f);
    }
  }
  uint32_t bits = 0;
  for (int i = 0; i < 200000; ++i) {
    bits = bits * 1664525u + 1013904223u;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (f != f) continue;
    ASSERT_EQ(written(f), printfText(f)) << std::setprecision(9) << f;
  }
}

TEST(MovNumberWriter, OtherStreamStatesUseTheStreamsFormatting) {
  std::ostringstream out;
  out << std::fixed << std::setprecision(2);
  writeMovNumber(out, 3.14159);
  out << std::defaultfloat << std::setprecision(3);
  writeMovNumber(out, 3.14159);
  EXPECT_EQ(out.str(), "3.14 3.14 ");
}

}  // namespace
