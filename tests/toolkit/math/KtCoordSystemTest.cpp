#include <gtest/gtest.h>

#include <sstream>

#include "tests/toolkit/math/MathExpect.h"
#include "toolkit/KtArray.h"
#include "toolkit/math/KtCoordSystem.h"
#include "toolkit/math/KtEulerAngles.h"

namespace {

using mathtest::point;

const float kHalfPi = 1.57079633f;

KtPoint mapped(const KtCoordSystem& cs, const KtPoint& p) {
  KtPoint q = p;
  q.applyMatrix(cs);
  return q;
}

void expectPointNear(const KtPoint& want, const KtPoint& got) {
  EXPECT_NEAR(want.x, got.x, 1e-6f);
  EXPECT_NEAR(want.y, got.y, 1e-6f);
  EXPECT_NEAR(want.z, got.z, 1e-6f);
}

KtCoordSystem identity() {
  KtCoordSystem cs;
  cs = 1.0f;
  return cs;
}

}  // namespace

TEST(KtCoordSystem, PreRotationKeepsTheTranslationRow) {
  KtCoordSystem cs = identity();
  cs.preTranslate(1.0f, 2.0f, 3.0f);
  expectPointNear(point(1, 2, 3), cs.translationVector());
  cs.preRotateZ(kHalfPi);
  expectPointNear(point(1, 2, 3), cs.translationVector());
  const float want[3][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(want[r][c], cs.m[r][c], 1e-6f);
  EXPECT_EQ(1.0f, cs.m[3][3]);
  EXPECT_EQ(0.0f, cs.m[2][3]);
}

TEST(KtCoordSystem, PostOperationsActLastAndPreOperationsFirst) {
  KtCoordSystem post = identity();
  post.postRotateZ(kHalfPi);
  post.postTranslate(1.0f, 0.0f, 0.0f);
  expectPointNear(point(1, 1, 0), mapped(post, point(1, 0, 0)));

  KtCoordSystem pre = identity();
  pre.preRotateZ(kHalfPi);
  pre.preTranslate(1.0f, 0.0f, 0.0f);
  expectPointNear(point(0, 1, 0), mapped(pre, point(0, 0, 0)));
}

TEST(KtCoordSystem, ShiftRotationPointRotatesAboutThatPoint) {
  KtCoordSystem cs = identity();
  cs.postRotateZ(2.0f * kHalfPi);
  cs.shiftRotationPoint(point(1, 0, 0));
  expectPointNear(point(1, 0, 0), mapped(cs, point(1, 0, 0)));
  expectPointNear(point(2, 0, 0), mapped(cs, point(0, 0, 0)));
}

TEST(KtCoordSystem, PreRotationsMatchComposedEulerMatrix) {
  KtCoordSystem cs = identity();
  cs.preRotateX(0.3f);
  cs.preRotateY(-0.5f);
  cs.preRotateZ(1.2f);
  KtArray<float> angles(3);
  angles[0] = 0.3f;
  angles[1] = -0.5f;
  angles[2] = 1.2f;
  KtArray<int> order(3);
  order[0] = 1;
  order[1] = 2;
  order[2] = 3;
  const Kt3X3FloatMat want = KtComposeRotationMatrix(angles, order);
  Kt3X3FloatMat got;
  cs.getRotationMatrix(&got);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(want.m[r][c], got.m[r][c], 1e-6f);

  // Post rotations multiply on the right, so they agree with pre rotations
  // about the same axes applied in the opposite order, Rz . Ry . Rx.
  KtCoordSystem viaPost = identity();
  viaPost.postRotateZ(1.2f);
  viaPost.postRotateY(-0.5f);
  viaPost.postRotateX(0.3f);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(cs.m[r][c], viaPost.m[r][c], 1e-6f);

  const float zAxis[3] = {0.0f, 0.0f, 1.0f};
  KtCoordSystem axisPre = identity();
  axisPre.preRotateAxis(zAxis, 0.8f);
  KtCoordSystem axisPost = identity();
  axisPost.postRotateAxis(zAxis, 0.8f);
  KtCoordSystem plain = identity();
  plain.preRotateZ(0.8f);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(plain.m[r][c], axisPre.m[r][c], 1e-6f);
      EXPECT_NEAR(plain.m[r][c], axisPost.m[r][c], 1e-6f);
    }
}

TEST(KtCoordSystem, ScalesAndTranslationsTouchTheirRowsAndColumns) {
  KtCoordSystem cs = identity();
  cs.preScale(2.0f, 3.0f, 4.0f);
  cs.preTranslateY(1.0f);
  expectPointNear(point(0, 3, 0), cs.translationVector());
  cs.postScale(0.5f, 1.0f, 1.0f);
  EXPECT_EQ(1.0f, cs.m[0][0]);
  cs.postTranslateZ(5.0f);
  expectPointNear(point(0, 3, 5), cs.translationVector());
  cs.setTranslationVector(point(7, 8, 9));
  KtPoint t;
  cs.getTranslationVector(&t);
  expectPointNear(point(7, 8, 9), t);
}

TEST(KtCoordSystem, PrintsRowsOfFourValues) {
  KtCoordSystem cs = identity();
  cs.m[3][0] = 0.5f;
  std::ostringstream out;
  out << cs;
  EXPECT_EQ("[\n  [ 1 0 0 0 ]\n  [ 0 1 0 0 ]\n  [ 0 0 1 0 ]\n  [ 0.5 0 0 1 ]\n\n]", out.str());
}
