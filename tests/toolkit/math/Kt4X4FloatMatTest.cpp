#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/Kt4X4FloatMat.h"
#include "toolkit/math/KtPoint.h"

namespace {

Kt4X4FloatMat translation(float x, float y, float z) {
  Kt4X4FloatMat t;
  t = 1.0f;
  t.m[3][0] = x;
  t.m[3][1] = y;
  t.m[3][2] = z;
  return t;
}

Kt4X4FloatMat general() {
  // Rotation about Z by 90 degrees, scale 2 on Y, translation (1, 2, 3).
  Kt4X4FloatMat g;
  g = 1.0f;
  g.m[0][0] = 0.0f;
  g.m[0][1] = 1.0f;
  g.m[1][0] = -2.0f;
  g.m[1][1] = 0.0f;
  g.m[3][0] = 1.0f;
  g.m[3][1] = 2.0f;
  g.m[3][2] = 3.0f;
  return g;
}

}  // namespace

TEST(Kt4X4FloatMat, InvertOfTranslationNegatesTheBottomRow) {
  Kt4X4FloatMat t = translation(1.0f, -2.0f, 3.5f);
  t.invert();
  EXPECT_TRUE(t == translation(-1.0f, 2.0f, -3.5f));
}

TEST(Kt4X4FloatMat, InvertTimesOriginalIsIdentity) {
  const Kt4X4FloatMat g = general();
  EXPECT_FLOAT_EQ(2.0f, Kt4X4FloatMat::_matrixDeterminant(g.m));
  Kt4X4FloatMat inv = g;
  inv.invert();
  Kt4X4FloatMat prod;
  Kt4X4FloatMat::_multfunc(prod.m, inv.m, g.m);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(r == c ? 1.0f : 0.0f, prod.m[r][c], 1e-6f);
  // The adjugate is the inverse times the determinant.
  Kt4X4FloatMat adj = g;
  adj.adjoint();
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(2.0f * inv.m[r][c], adj.m[r][c], 1e-6f);
}

TEST(Kt4X4FloatMat, InvertOfSingularMatrixLeavesNonFiniteElements) {
  Kt4X4FloatMat s;
  s = 1.0f;
  s.m[2][2] = 0.0f;
  s.invert();
  bool nonFinite = false;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) nonFinite = nonFinite || !std::isfinite(s.m[r][c]);
  EXPECT_TRUE(nonFinite);
  EXPECT_FALSE(s.isValid());  // 0 / 0 cofactors give NaN
}

TEST(Kt4X4FloatMat, PointTransformsUseRowAndColumnForms) {
  const Kt4X4FloatMat g = general();
  KtPoint p;
  p.x = 1.0f;
  KtPoint row, col;
  Kt4X4FloatMat::_preMultPoint(&row, p, g);
  EXPECT_EQ(1.0f, row.x);  // (0, 1, 0) + (1, 2, 3)
  EXPECT_EQ(3.0f, row.y);
  EXPECT_EQ(3.0f, row.z);
  Kt4X4FloatMat::_postMultPoint(&col, g, p);
  EXPECT_EQ(0.0f, col.x);
  EXPECT_EQ(-1.0f, col.y);  // w = 2 from the bottom row
  EXPECT_EQ(0.0f, col.z);
  const float v[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  float out[4];
  Kt4X4FloatMat::_preMultVector(out, v, g.m);
  EXPECT_EQ(3.0f, out[1]);
  Kt4X4FloatMat::_postMultVector(out, g.m, v);
  EXPECT_EQ(-2.0f, out[1]);
  EXPECT_EQ(2.0f, out[3]);
}

TEST(Kt4X4FloatMat, UpperLeftBlockAndSinCosAngle) {
  Kt4X4FloatMat g = general();
  Kt3X3FloatMat r;
  g.getUpperLeft3X3Mat(&r);
  EXPECT_EQ(-2.0f, r.m[1][0]);
  r = 1.0f;
  g.setUpperLeft3X3Mat(r);
  EXPECT_TRUE(g == translation(1.0f, 2.0f, 3.0f));

  EXPECT_FLOAT_EQ(1.5707964f, Kt4X4FloatMat::_sinCosAngle(2.0f, 1.0f));
  EXPECT_FLOAT_EQ(static_cast<float>(3.14159265359 - std::asin(0.5)),
                  Kt4X4FloatMat::_sinCosAngle(0.5f, -1.0f));
  int out[3];
  const int in[4] = {7, 8, 9, 10};
  Kt4X4FloatMat::_removePosFromIntVec(out, in, 4, 1);
  EXPECT_EQ(7, out[0]);
  EXPECT_EQ(9, out[1]);
  EXPECT_EQ(10, out[2]);
}

TEST(Kt4X4FloatMat, PrintsFourRows) {
  std::ostringstream out;
  Kt4X4FloatMat::MultiplicativeIdentity.printOn(out);
  const std::string one = std::string(13, ' ') + "1";
  const std::string zero = std::string(13, ' ') + "0";
  const std::string r0 = "[" + one + "  " + zero + "  " + zero + "  " + zero + "]";
  const std::string r3 = "[" + zero + "  " + zero + "  " + zero + "  " + one + "]";
  const std::string s = out.str();
  EXPECT_EQ(0u, s.find("[\n" + r0 + "\n "));
  EXPECT_EQ(s.size() - (r3.size() + 2), s.rfind(r3 + "\n]"));
}

// The full-size determinant and cofactors (which the inverse uses) are
// unrolled for speed; the channel table's bytes depend on their giving
// exactly the float results of the general expansion over index lists.
struct ExpansionProbe : Kt4X4FloatMat {
  static bool sameBits(float x, float y) { return std::memcmp(&x, &y, sizeof x) == 0; }
  static bool agree(const float a[4][4]) {
    if (!sameBits(_matrixDeterminant(a), _matrixSubDeterminant(a, Map, Map, 4))) return false;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        if (!sameBits(_matrixCofactor(a, r, c), _matrixSubCofactor(a, Map, Map, r, c, 4)))
          return false;
    return true;
  }
};

TEST(Kt4X4FloatMat, FullSizeExpansionGivesTheGeneralExpansionsBits) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(-3.0f, 3.0f);
  std::uniform_int_distribution<int> exponent(-30, 30);
  int disagreements = 0;
  for (int i = 0; i < 20000; ++i) {
    float a[4][4];
    for (auto& row : a)
      for (float& x : row) x = std::ldexp(value(random), i % 3 == 0 ? exponent(random) : 0);
    if (i % 5 == 0) {  // a rigid transform's last column
      a[0][3] = a[1][3] = a[2][3] = 0.0f;
      a[3][3] = 1.0f;
    }
    if (i % 7 == 0) a[i % 4][(i / 4) % 4] = -0.0f;
    if (!ExpansionProbe::agree(a)) ++disagreements;
  }
  EXPECT_EQ(disagreements, 0);
}
