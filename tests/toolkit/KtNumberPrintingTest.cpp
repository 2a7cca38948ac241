#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>

namespace {

std::string print(double v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

}  // namespace

TEST(KtNumberPrinting, FreshStreamUsesShortestGeneralForm) {
  EXPECT_EQ(print(3.14159265), "3.14159");
  EXPECT_EQ(print(1.0), "1");
  EXPECT_EQ(print(0.5), "0.5");
  EXPECT_EQ(print(1234567.0), "1.23457e+06");
  EXPECT_EQ(print(0.0001), "0.0001");
  EXPECT_EQ(print(0.00001), "1e-05");
  EXPECT_EQ(print(-0.0), "-0");
}

TEST(KtNumberPrinting, WidthFixedAndScientificFlagsApply) {
  std::ostringstream wide;
  wide << std::setw(10) << 3.14159265 << '|' << 1.0;
  EXPECT_EQ(wide.str(), "   3.14159|1");

  std::ostringstream fixed;
  fixed << std::fixed << std::setprecision(2) << 3.14159265;
  EXPECT_EQ(fixed.str(), "3.14");

  std::ostringstream sci;
  sci << std::scientific << std::uppercase << std::setprecision(3) << 3.14159265;
  EXPECT_EQ(sci.str(), "3.142E+00");

  std::ostringstream lower;
  lower << std::scientific << std::setprecision(3) << 3.14159265;
  EXPECT_EQ(lower.str(), "3.142e+00");

  std::ostringstream upperGeneral;
  upperGeneral << std::uppercase << 0.00001;
  EXPECT_EQ(upperGeneral.str(), "1E-05");
}

TEST(KtNumberPrinting, FloatIsWidenedAndPrintsAtDefaultPrecision) {
  std::ostringstream out;
  out << 0.1f << ' ' << 2.5f << ' ' << 1234567.0f;
  EXPECT_EQ(out.str(), "0.1 2.5 1.23457e+06");
}
