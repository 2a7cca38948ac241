#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/toolkit/math/MathExpect.h"
#include "toolkit/math/KtQuaternion.h"
#include "toolkit/math/KtRotMatrix.h"

namespace {

using mathtest::expectMatrixNear;
using mathtest::point;

const float kHalfPi = 1.57079633f;

KtRotMatrix sample() {
  KtRotMatrix m;
  float v = 1.0f;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m.m[r][c] = v++;
  return m;
}

}  // namespace

TEST(KtRotMatrix, SingleAxisRotationsChangeOnlyTwoRowsOrColumns) {
  KtRotMatrix pre = sample();
  pre.preRotateZ(0.7f);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(sample().m[2][c], pre.m[2][c]);
  EXPECT_NE(sample().m[0][0], pre.m[0][0]);
  KtRotMatrix post = sample();
  post.postRotateZ(0.7f);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(sample().m[r][2], post.m[r][2]);
  EXPECT_NE(sample().m[0][0], post.m[0][0]);

  KtRotMatrix x(1.0f);
  x.preRotateX(0.5f);
  EXPECT_NEAR(std::sin(0.5f), x.m[1][2], 1e-7f);
  KtRotMatrix y(1.0f);
  y.postRotateY(0.5f);
  EXPECT_NEAR(-std::sin(0.5f), y.m[0][2], 1e-7f);
}

TEST(KtRotMatrix, QuaternionConversionBothWays) {
  expectMatrixNear(Kt3X3FloatMat::MultiplicativeIdentity,
                   KtRotMatrix(KtQuaternion(1.0f, KtPoint())), 0.0f);
  KtRotMatrix rz(1.0f);
  rz.postRotateZ(kHalfPi);
  const float h = std::sin(kHalfPi / 2.0f);
  expectMatrixNear(rz, KtRotMatrix(KtQuaternion(std::cos(kHalfPi / 2.0f), point(0, 0, h))), 1e-6f);

  KtRotMatrix m(1.0f);
  m.preRotateX(0.3f);
  m.preRotateY(-0.6f);
  m.preRotateZ(1.1f);
  KtQuaternion q(0.0f, KtPoint());
  m.getQuaternion(&q);
  expectMatrixNear(m, KtRotMatrix(q), 1e-6f);
}

TEST(KtRotMatrix, AxisAngleRoundTripAndSmallRotations) {
  KtRotMatrix set;
  set.setAxisAngle(point(0, 0, kHalfPi));
  KtRotMatrix rz(1.0f);
  rz.postRotateZ(kHalfPi);
  expectMatrixNear(rz, set, 1e-6f);
  KtPoint v;
  set.getAxisAngle(&v);
  EXPECT_NEAR(0.0f, v.x, 1e-6f);
  EXPECT_NEAR(0.0f, v.y, 1e-6f);
  EXPECT_NEAR(kHalfPi, v.z, 1e-6f);

  KtRotMatrix id = sample();
  id.setAxisAngle(point(0, 0, 0));
  expectMatrixNear(Kt3X3FloatMat::MultiplicativeIdentity, id, 0.0f);
  id.getAxisAngle(&v);
  EXPECT_EQ(0.0f, v.x);
  EXPECT_EQ(0.0f, v.y);
  EXPECT_EQ(0.0f, v.z);

  // Below n = 0.001 the vector part comes back unscaled: half the angle.
  KtRotMatrix tiny(1.0f);
  tiny.postRotateX(0.0005f);
  tiny.getAxisAngle(&v);
  EXPECT_NEAR(0.00025f, v.x, 1e-8f);
  EXPECT_EQ(0.0f, v.y);
  EXPECT_EQ(0.0f, v.z);
}

TEST(KtRotMatrix, PrintsRowsWithoutFieldWidths) {
  std::ostringstream out;
  out << KtRotMatrix(1.0f);
  EXPECT_EQ("[\n  [ 1 0 0 ]\n  [ 0 1 0 ]\n  [ 0 0 1 ]\n\n]", out.str());
}
