#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "toolkit/math/KtQuaternion.h"

namespace {

KtQuaternion quat(float w, float x, float y, float z) {
  KtPoint v;
  v.x = x;
  v.y = y;
  v.z = z;
  return KtQuaternion(w, v);
}

void expectQuatNear(const KtQuaternion& want, const KtQuaternion& got, float tol) {
  EXPECT_NEAR(want.w, got.w, tol);
  EXPECT_NEAR(want.v.x, got.v.x, tol);
  EXPECT_NEAR(want.v.y, got.v.y, tol);
  EXPECT_NEAR(want.v.z, got.v.z, tol);
}

const float kQuarter = 0.785398163f;

}  // namespace

TEST(KtQuaternion, HamiltonProductIsNotCommutative) {
  const KtQuaternion one = quat(1, 0, 0, 0);
  const KtQuaternion q = quat(0.5f, -1.0f, 2.0f, 3.0f);
  expectQuatNear(q, one * q, 0.0f);
  expectQuatNear(q, q * one, 0.0f);
  expectQuatNear(quat(0, 0, 0, 1), quat(0, 1, 0, 0) * quat(0, 0, 1, 0), 0.0f);
  expectQuatNear(quat(0, 0, 0, -1), quat(0, 0, 1, 0) * quat(0, 1, 0, 0), 0.0f);
  expectQuatNear(quat(1.5f, -1.0f, 2.0f, 3.0f), q + one, 0.0f);
  expectQuatNear(quat(1.0f, -2.0f, 4.0f, 6.0f), q * 2.0f, 0.0f);
  EXPECT_EQ(0.5f, KtDotProduct(q, one));
}

TEST(KtQuaternion, InverseIsTheConjugate) {
  expectQuatNear(quat(0.5f, -0.5f, -0.5f, -0.5f), quat(0.5f, 0.5f, 0.5f, 0.5f).inverse(), 0.0f);
  expectQuatNear(quat(2, 0, 0, 0), quat(2, 0, 0, 0).inverse(), 0.0f);
}

TEST(KtQuaternion, RotateAndSlerp) {
  KtPoint p;
  p.x = 1.0f;
  const KtPoint r = KtRotate(p, quat(std::cos(kQuarter), 0, 0, std::sin(kQuarter)));
  EXPECT_NEAR(0.0f, r.x, 1e-6f);
  EXPECT_NEAR(1.0f, r.y, 1e-6f);
  EXPECT_NEAR(0.0f, r.z, 1e-6f);

  const KtQuaternion a = quat(1, 0, 0, 0);
  expectQuatNear(a, KtSlerp(a, a, 0.3f), 0.0f);
  const KtQuaternion b = quat(0, 0, 0, 1);
  expectQuatNear(quat(std::cos(kQuarter), 0, 0, std::sin(kQuarter)), KtSlerp(a, b, 0.5f), 1e-6f);
  expectQuatNear(b, KtSlerp(a, b, 1.0f), 1e-6f);
}

TEST(KtQuaternion, PrintsScalarThenVectorAsPoint) {
  std::ostringstream out;
  out << quat(1, 0, 0, 0);
  EXPECT_EQ("(1,[ 0  0  0 ])", out.str());
}

namespace {

TEST(KtDoubleQuaternion, MatrixRoundTripAndSlerpAlongTheShorterArc) {
  // A turn of 0.8 rad about (1, 2, 2) / 3, in each direction.
  const double half = 0.4;
  KtDoubleQuaternion q;
  q.w = std::cos(half);
  q.x = std::sin(half) / 3;
  q.y = 2 * std::sin(half) / 3;
  q.z = 2 * std::sin(half) / 3;
  double m[3][3];
  KtRotationOfQuaternion(m, q);
  const KtDoubleQuaternion back = KtQuaternionOfRotation(m);
  EXPECT_NEAR(back.w, q.w, 1e-12);
  EXPECT_NEAR(back.x, q.x, 1e-12);
  EXPECT_NEAR(back.z, q.z, 1e-12);
  // The matrix is KtRotMatrix's: a quarter turn about z takes x to y.
  KtDoubleQuaternion z;
  z.w = std::cos(M_PI / 4);
  z.z = std::sin(M_PI / 4);
  KtRotationOfQuaternion(m, z);
  EXPECT_NEAR(m[0][1], 1, 1e-12);
  // 170 and -170 degrees about x: the shorter arc passes 180, not 0.
  KtDoubleQuaternion a, b;
  a.w = std::cos(170 * M_PI / 360);
  a.x = std::sin(170 * M_PI / 360);
  b.w = std::cos(-170 * M_PI / 360);
  b.x = std::sin(-170 * M_PI / 360);
  const KtDoubleQuaternion mid = KtSlerpShorter(a, b, 0.5);
  EXPECT_NEAR(std::fabs(mid.x), 1, 1e-12);
  EXPECT_NEAR(mid.w, 0, 1e-12);
  const KtDoubleQuaternion same = KtSlerpShorter(a, a, 0.3);
  EXPECT_NEAR(same.w, a.w, 1e-15);
  EXPECT_NEAR(same.x, a.x, 1e-15);
}

}  // namespace
