#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/toolkit/math/MathExpect.h"
#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/Kt4X4FloatMat.h"
#include "toolkit/math/KtPoint.h"

using mathtest::point;

TEST(KtPoint, DefaultIsOriginAndPrintsWithTwoSpacesBetweenValues) {
  KtPoint p;
  EXPECT_EQ(0.0f, p.x);
  EXPECT_EQ(0.0f, p.y);
  EXPECT_EQ(0.0f, p.z);
  std::ostringstream out;
  out << p;
  EXPECT_EQ("[ 0  0  0 ]", out.str());
  std::ostringstream out2;
  out2 << point(1.5f, -2.0f, 3.0f);
  EXPECT_EQ("[ 1.5  -2  3 ]", out2.str());
}

TEST(KtPoint, OrderIsStrictAndLexicographic) {
  EXPECT_TRUE(point(1, 2, 3) < point(1, 2, 4));
  EXPECT_FALSE(point(1, 2, 3) < point(1, 2, 3));
  EXPECT_FALSE(point(1, 2, 3) > point(1, 2, 3));
  EXPECT_TRUE(point(2, 0, 0) > point(1, 9, 9));
  EXPECT_FALSE(point(2, 0, 0) < point(1, 9, 9));
}

TEST(KtPoint, CrossAndDotProducts) {
  KtPoint c;
  KtGetCrossProduct(&c, point(1, 0, 0), point(0, 1, 0));
  EXPECT_EQ(0.0f, c.x);
  EXPECT_EQ(0.0f, c.y);
  EXPECT_EQ(1.0f, c.z);
  KtPoint a = point(1, 2, 3);
  KtGetCrossProduct(&a, a, point(4, 5, 6));  // output aliasing an operand
  EXPECT_EQ(-3.0f, a.x);
  EXPECT_EQ(6.0f, a.y);
  EXPECT_EQ(-3.0f, a.z);
  EXPECT_EQ(32.0f, KtDotProduct(point(1, 2, 3), point(4, 5, 6)));
}

TEST(KtPoint, TriangleNormalIsUnitOrZeroForDegenerateTriangles) {
  KtPoint n = KtTriangleNormal(point(0, 0, 0), point(1, 0, 0), point(0, 1, 0));
  EXPECT_FLOAT_EQ(0.0f, n.x);
  EXPECT_FLOAT_EQ(0.0f, n.y);
  EXPECT_FLOAT_EQ(1.0f, n.z);
  KtPoint z = KtTriangleNormal(point(0, 0, 0), point(1, 1, 1), point(2, 2, 2));
  EXPECT_EQ(0.0f, z.x);
  EXPECT_EQ(0.0f, z.y);
  EXPECT_EQ(0.0f, z.z);
}

TEST(KtPoint, ArbitraryPerpendicularIsPerpendicularOrZero) {
  const KtPoint vs[] = {point(1, 0, 0), point(0, 1, 0), point(0, 0, 1), point(1, 2, 3),
                        point(-4, 0.5f, 2)};
  for (const KtPoint& v : vs) {
    KtPoint p;
    KtArbitraryPerpendicular(&p, v);
    EXPECT_NEAR(0.0f, KtDotProduct(p, v), 1e-5f);
    EXPECT_GT(KtDotProduct(p, p), 0.0f);
  }
  KtPoint p;
  KtArbitraryPerpendicular(&p, point(0, 0, 0));
  EXPECT_EQ(0.0f, KtDotProduct(p, p));
  KtArbitraryPerpendicular(&p, point(1, -1, -1));
  EXPECT_EQ(0.0f, KtDotProduct(p, p));
}

TEST(KtPoint, ApplyMatrixMultipliesTheRowVector) {
  Kt3X3FloatMat m(1.0f);
  m.m[0][1] = 2.0f;  // x contributes 2x to y
  KtPoint p = point(1, 1, 1);
  p.applyMatrix(m);
  EXPECT_EQ(1.0f, p.x);
  EXPECT_EQ(3.0f, p.y);
  EXPECT_EQ(1.0f, p.z);

  Kt4X4FloatMat t;
  t = 1.0f;
  t.m[3][0] = 10.0f;
  t.m[3][3] = 2.0f;  // w = 2 halves the result
  KtPoint q = point(2, 4, 6);
  q.applyMatrix(t);
  EXPECT_EQ(6.0f, q.x);
  EXPECT_EQ(2.0f, q.y);
  EXPECT_EQ(3.0f, q.z);
}

TEST(KtPoint, ReorthogonalizeRepairsSlightlyScaledRotations) {
  const float c = std::cos(0.7f), s = std::sin(0.7f);
  Kt3X3FloatMat r(1.0f);
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  Kt3X3FloatMat same = r;
  KtReorthogonalize(&same);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(r.m[i][j], same.m[i][j], 1e-6f);

  Kt3X3FloatMat scaled = r;
  scaled.multiply(1.001f);
  KtReorthogonalize(&scaled);
  for (int i = 0; i < 3; ++i) {
    const float len2 = scaled.m[i][0] * scaled.m[i][0] + scaled.m[i][1] * scaled.m[i][1] +
                       scaled.m[i][2] * scaled.m[i][2];
    EXPECT_NEAR(1.0f, std::sqrt(len2), 1e-6f);
  }
}
