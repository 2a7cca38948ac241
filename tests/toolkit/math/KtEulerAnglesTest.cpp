#include <gtest/gtest.h>

#include <cmath>

#include "tests/toolkit/math/MathExpect.h"
#include "toolkit/math/Kt4X4FloatMat.h"
#include "toolkit/math/KtEulerAngles.h"

namespace {

using mathtest::expectMatrixNear;

const float kPi = 3.14159265f;
const float kHalfPi = 1.57079633f;

KtArray<float> triple(float x, float y, float z) {
  KtArray<float> a(3);
  a[0] = x;
  a[1] = y;
  a[2] = z;
  return a;
}

KtArray<int> order(int a, int b, int c) {
  KtArray<int> o(3);
  o[0] = a;
  o[1] = b;
  o[2] = c;
  return o;
}

// Elementary rotations written out from their row-vector definitions.
Kt3X3FloatMat rot(int axis, float a) {
  const float c = std::cos(a), s = std::sin(a);
  Kt3X3FloatMat r(1.0f);
  if (axis == 1) {
    r.m[1][1] = c, r.m[1][2] = s, r.m[2][1] = -s, r.m[2][2] = c;
  } else if (axis == 2) {
    r.m[0][0] = c, r.m[0][2] = -s, r.m[2][0] = s, r.m[2][2] = c;
  } else {
    r.m[0][0] = c, r.m[0][1] = s, r.m[1][0] = -s, r.m[1][1] = c;
  }
  return r;
}

Kt3X3FloatMat product(const Kt3X3FloatMat& a, const Kt3X3FloatMat& b) {
  Kt3X3FloatMat p;
  Kt3X3FloatMat::_multiply(p.m, a.m, b.m);
  return p;
}

void decompose(float out[3], const KtArray<float>& angles, const int ord[3]) {
  const Kt3X3FloatMat m = KtComposeRotationMatrix(angles, order(ord[0], ord[1], ord[2]));
  KtGetDecomposedRotationMatrix(out, ord, m);
}

}  // namespace

TEST(KtEulerAngles, ComposeMultipliesTheFirstAxisLast) {
  const Kt3X3FloatMat m = KtComposeRotationMatrix(triple(0.1f, 0.2f, 0.3f), order(1, 2, 3));
  expectMatrixNear(product(product(rot(3, 0.3f), rot(2, 0.2f)), rot(1, 0.1f)), m, 1e-6f);
  KtPoint p;
  p.x = 0.1f;
  p.y = 0.2f;
  p.z = 0.3f;
  EXPECT_TRUE(m == KtComposeRotationMatrix(p, order(1, 2, 3)));
  const Kt3X3FloatMat zxy = KtComposeRotationMatrix(triple(0.1f, 0.2f, 0.3f), order(3, 1, 2));
  expectMatrixNear(product(product(rot(2, 0.2f), rot(1, 0.1f)), rot(3, 0.3f)), zxy, 1e-6f);
}

TEST(KtEulerAngles, ComposeTurnsNothingForEntriesThatAreNoAxisCode) {
  // A root read without an axis keeps the all-zero order: its frame is the
  // identity whatever the orientation angles hold.
  const KtArray<float> angles = triple(0.1f, 0.2f, 0.3f);
  expectMatrixNear(Kt3X3FloatMat(1.0f), KtComposeRotationMatrix(angles, order(0, 0, 0)), 0.0f);
  // Only the valid entries rotate, still applied first axis last.
  expectMatrixNear(product(rot(1, 0.1f), rot(3, 0.3f)),
                   KtComposeRotationMatrix(angles, order(3, 7, 1)), 1e-6f);
  expectMatrixNear(rot(2, 0.2f), KtComposeRotationMatrix(angles, order(-1, 2, 4)), 1e-6f);
  // A shorter order lacks the missing positions.
  KtArray<int> one(1);
  one[0] = 3;
  expectMatrixNear(rot(3, 0.3f), KtComposeRotationMatrix(angles, one), 1e-6f);
  expectMatrixNear(Kt3X3FloatMat(1.0f), KtComposeRotationMatrix(angles, KtArray<int>()), 0.0f);
}

TEST(KtEulerAngles, DecomposeReproducesSmallAngles) {
  const int xyz[3] = {1, 2, 3};
  const int zxy[3] = {3, 1, 2};
  float a[3];
  decompose(a, triple(0.1f, 0.2f, 0.3f), xyz);
  EXPECT_NEAR(0.1f, a[0], 1e-6f);
  EXPECT_NEAR(0.2f, a[1], 1e-6f);
  EXPECT_NEAR(0.3f, a[2], 1e-6f);
  decompose(a, triple(0.1f, 0.2f, 0.3f), zxy);
  EXPECT_NEAR(0.1f, a[0], 1e-6f);
  EXPECT_NEAR(0.2f, a[1], 1e-6f);
  EXPECT_NEAR(0.3f, a[2], 1e-6f);
}

TEST(KtEulerAngles, GimbalLockPutsTheFreeRotationOnOneAxis) {
  const int xyz[3] = {1, 2, 3};
  float a[3];
  decompose(a, triple(0.1f, kHalfPi, 0.3f), xyz);
  EXPECT_NEAR(0.4f, a[0], 1e-5f);
  EXPECT_NEAR(kHalfPi, a[1], 1e-5f);
  EXPECT_EQ(0.0f, a[2]);
  decompose(a, triple(0.1f, -kHalfPi, 0.3f), xyz);
  EXPECT_EQ(0.0f, a[0]);
  EXPECT_NEAR(-kHalfPi, a[1], 1e-5f);
  EXPECT_NEAR(0.2f, a[2], 1e-5f);
}

TEST(KtEulerAngles, MiddleAngleBeyondHalfTurnGivesTheEquivalentTriple) {
  const int xyz[3] = {1, 2, 3};
  float a[3];
  decompose(a, triple(0.0f, 2.0f, 0.0f), xyz);
  EXPECT_NEAR(-kPi, a[0], 1e-5f);
  EXPECT_NEAR(kPi - 2.0f, a[1], 1e-5f);
  EXPECT_NEAR(-kPi, a[2], 1e-5f);
}

TEST(KtEulerAngles, DecomposeInvertsComposeForAllThreeAxisOrders) {
  const int orders[6][3] = {{1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}};
  int checked = 0;
  for (const auto& ord : orders) {
    for (float first = -3.0f; first <= 3.01f; first += 0.75f)
      for (float middle = -1.5f; middle <= 1.51f; middle += 0.375f)
        for (float last = -3.0f; last <= 3.01f; last += 0.75f) {
          float in[3];
          in[ord[0] - 1] = first;
          in[ord[1] - 1] = middle;
          in[ord[2] - 1] = last;
          float out[3];
          decompose(out, triple(in[0], in[1], in[2]), ord);
          for (int n = 0; n < 3; ++n)
            ASSERT_NEAR(in[n], out[n], 1e-5f) << ord[0] << ord[1] << ord[2] << " slot " << n
                                              << " of " << in[0] << " " << in[1] << " " << in[2];
          ++checked;
        }
  }
  EXPECT_EQ(6 * 9 * 9 * 9, checked);
}

TEST(KtEulerAngles, TwoAxisOrdersAreCompletedAndKeepTheThirdAngleSmall) {
  const int xyz[3] = {1, 2, 3};
  const int xy0[3] = {1, 2, 0};
  float full[3], part[3];
  decompose(full, triple(0.1f, 0.2f, 0.3f), xyz);
  const Kt3X3FloatMat small = KtComposeRotationMatrix(triple(0.1f, 0.2f, 0.3f), order(1, 2, 3));
  KtGetDecomposedRotationMatrix(part, xy0, small);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(full[n], part[n]);

  const Kt3X3FloatMat zyx = KtComposeRotationMatrix(triple(0.1f, 0.2f, 0.3f), order(3, 2, 1));
  const int zy0[3] = {3, 2, 0};
  KtGetDecomposedRotationMatrix(part, zy0, zyx);
  EXPECT_NEAR(0.1f, part[0], 1e-6f);
  EXPECT_NEAR(0.2f, part[1], 1e-6f);
  EXPECT_NEAR(0.3f, part[2], 1e-6f);

  // Z = 2.0 exceeds a quarter turn: (x + pi, pi - y, z + pi), not wrapped.
  const Kt3X3FloatMat m = KtComposeRotationMatrix(triple(0.1f, 0.2f, 2.0f), order(1, 2, 3));
  KtGetDecomposedRotationMatrix(part, xy0, m);
  EXPECT_NEAR(0.1f + kPi, part[0], 1e-5f);
  EXPECT_NEAR(kPi - 0.2f, part[1], 1e-5f);
  EXPECT_NEAR(2.0f + kPi, part[2], 1e-5f);
  expectMatrixNear(m, KtComposeRotationMatrix(triple(part[0], part[1], part[2]), order(1, 2, 3)),
                   1e-5f);
}

TEST(KtEulerAngles, SingleAxisOrdersAreCompletedWithCyclicSuccessors) {
  const int completions[3][3] = {{1, 2, 3}, {2, 3, 1}, {3, 1, 2}};
  for (const auto& full : completions) {
    const Kt3X3FloatMat m =
        KtComposeRotationMatrix(triple(0.3f, -0.4f, 0.5f), order(full[0], full[1], full[2]));
    const int single[3] = {full[0], 0, 0};
    float a[3];
    KtGetDecomposedRotationMatrix(a, single, m);
    EXPECT_NEAR(0.3f, a[0], 1e-6f) << full[0];
    EXPECT_NEAR(-0.4f, a[1], 1e-6f) << full[0];
    EXPECT_NEAR(0.5f, a[2], 1e-6f) << full[0];
  }
}

TEST(KtEulerAngles, RepeatedAxisOrdersStoreTheLastAngleInTheUnnamedSlot) {
  const int pairs[6][2] = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
  for (const auto& pr : pairs) {
    const int i = pr[0], j = pr[1], unnamed = 6 - i - j;
    const int ord[3] = {i, j, i};
    const Kt3X3FloatMat m = product(product(rot(i, 0.4f), rot(j, 1.1f)), rot(i, -0.7f));
    float a[3];
    KtGetDecomposedRotationMatrix(a, ord, m);
    EXPECT_NEAR(0.4f, a[unnamed - 1], 1e-5f) << i << j;
    EXPECT_NEAR(1.1f, a[j - 1], 1e-5f) << i << j;
    EXPECT_NEAR(-0.7f, a[i - 1], 1e-5f) << i << j;

    // With no middle turn the two turns about i merge into the first.
    const Kt3X3FloatMat flat = product(rot(i, 0.4f), rot(i, -0.7f));
    KtGetDecomposedRotationMatrix(a, ord, flat);
    EXPECT_NEAR(-0.3f, a[unnamed - 1], 1e-5f) << i << j;
    EXPECT_EQ(0.0f, a[j - 1]);
    EXPECT_EQ(0.0f, a[i - 1]);
  }
}

TEST(KtEulerAngles, MatrixMembersAndFindA) {
  const int zyx[3] = {3, 2, 1};
  const Kt3X3FloatMat m = KtComposeRotationMatrix(triple(0.5f, -0.25f, 1.0f), order(3, 2, 1));
  float a[3];
  m.findAngles(a, zyx);
  EXPECT_NEAR(0.5f, a[0], 1e-6f);
  EXPECT_NEAR(-0.25f, a[1], 1e-6f);
  EXPECT_NEAR(1.0f, a[2], 1e-6f);
  Kt4X4FloatMat big;
  big = 1.0f;
  big.setUpperLeft3X3Mat(m);
  big.m[3][0] = 5.0f;
  float b[3];
  big.findAngles(b, zyx);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(a[n], b[n]);
  float out;
  KtFindA(&out, 1.0f, -1.0f);
  EXPECT_FLOAT_EQ(3.0f * kPi / 4.0f, out);
}

TEST(KtEulerAngles, ClosestAnglesUnwrapTowardTheReference) {
  const int xyz[3] = {1, 2, 3};
  const float zero[3] = {0.0f, 0.0f, 0.0f};
  const float cand[3] = {2.0f * kPi - 0.1f, 0.2f, 0.3f};
  float out[3];
  KtGetClosestAngles(out, zero, cand, xyz);
  EXPECT_NEAR(-0.1f, out[0], 1e-5f);
  EXPECT_NEAR(0.2f, out[1], 1e-6f);
  EXPECT_NEAR(0.3f, out[2], 1e-6f);

  KtArray<float> res(3);
  KtGetClosestAngles(&res, triple(3.0f, 0.0f, 0.0f), triple(-3.0f, 0.0f, 0.0f), order(1, 2, 3));
  EXPECT_NEAR(2.0f * kPi - 3.0f, res[0], 1e-5f);
  EXPECT_EQ(0.0f, res[1]);
  EXPECT_EQ(0.0f, res[2]);
}

TEST(KtEulerAngles, ClosestAnglesPreferTheEquivalentTripleWhenNearer) {
  KtArray<float> res(3);
  KtGetClosestAngles(&res, triple(kPi, 3.0f, kPi), triple(0.0f, 0.1f, 0.0f));
  EXPECT_NEAR(kPi, res[0], 1e-6f);
  EXPECT_NEAR(kPi - 0.1f, res[1], 1e-6f);
  EXPECT_NEAR(kPi, res[2], 1e-6f);

  // The order decides which angle is the middle one: here X (slot 0).
  const int yxz[3] = {2, 1, 3};
  const float ref[3] = {3.0f, kPi, kPi};
  const float cand[3] = {0.1f, 0.0f, 0.0f};
  float out[3];
  KtGetClosestAngles(out, ref, cand, yxz);
  EXPECT_NEAR(kPi - 0.1f, out[0], 1e-6f);
  EXPECT_NEAR(kPi, out[1], 1e-6f);
  EXPECT_NEAR(kPi, out[2], 1e-6f);
}

TEST(KtEulerAngles, ClosestAnglesKeepTheFirstSetOnATie) {
  // Set A unwraps to (-1.5, -1.5, -3 pi / 2), set B to (pi - 1.5,
  // -(pi / 2 + (pi / 2 - 1.5)), -pi / 2): both lie pi^2 + (pi / 2 - 1.5)^2
  // away, equal in float arithmetic too.
  KtArray<float> res(3);
  KtGetClosestAngles(&res, triple(-1.5f, -kHalfPi, -kHalfPi), triple(-1.5f, -1.5f, kHalfPi));
  EXPECT_NEAR(-1.5f, res[0], 1e-6f);
  EXPECT_NEAR(-1.5f, res[1], 1e-6f);
  EXPECT_NEAR(-3.0f * kHalfPi, res[2], 1e-5f);
}

namespace {

// The double forms: every order of three distinct axes composes and
// decomposes back within double rounding, also a millionth of a radian
// from gimbal lock, and the closest angles pick the nearer family.
TEST(KtEulerAnglesDouble, ComposeAndDecomposeAreInversesForEveryOrder) {
  const int orders[6][3] = {{1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}};
  const double triples[3][3] = {
      {0.1, 0.2, 0.3}, {-2.9, 1.2, 3.0}, {0.4, 1.5707963267948966 - 1e-6, -0.7}};
  for (const auto& order : orders) {
    for (const auto& t : triples) {
      // The middle angle of the order is the one within [-pi/2, pi/2].
      double angles[3];
      angles[order[0] - 1] = t[0];
      angles[order[1] - 1] = t[1];
      angles[order[2] - 1] = t[2];
      double m[3][3];
      KtComposeRotationMatrix(m, angles, order);
      double back[3];
      KtGetDecomposedRotationMatrix(back, order, m);
      for (int a = 0; a < 3; ++a) EXPECT_NEAR(back[a], angles[a], 1e-9) << order[0] << order[1];
    }
  }
  // The double composition is the float one's, in more digits.
  const double angles[3] = {0.1, 0.2, 0.3};
  const int xyz[3] = {3, 2, 1};
  double m[3][3];
  KtComposeRotationMatrix(m, angles, xyz);
  const Kt3X3FloatMat f = KtComposeRotationMatrix(triple(0.1f, 0.2f, 0.3f), order(3, 2, 1));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(m[r][c], f.m[r][c], 1e-6);
}

TEST(KtEulerAnglesDouble, ClosestAnglesMoveByWholeTurnsOrTakeTheOtherFamily) {
  const int xyz[3] = {1, 2, 3};
  const double pi = 3.141592653589793;
  double out[3];
  const double ref1[3] = {3.0, 0, 0}, cand1[3] = {-3.0, 0, 0};
  KtGetClosestAngles(out, ref1, cand1, xyz);
  EXPECT_NEAR(out[0], 2 * pi - 3.0, 1e-12);
  const double ref2[3] = {pi, 3.0, pi}, cand2[3] = {0, 0.1, 0};
  KtGetClosestAngles(out, ref2, cand2, xyz);
  EXPECT_NEAR(out[0], pi, 1e-12);
  EXPECT_NEAR(out[1], pi - 0.1, 1e-12);
  EXPECT_NEAR(out[2], pi, 1e-12);
  // Many turns away is one step, not a loop per turn.
  const double ref3[3] = {2000 * pi + 0.5, 0, 0}, cand3[3] = {0.4, 0, 0};
  KtGetClosestAngles(out, ref3, cand3, xyz);
  EXPECT_NEAR(out[0], 2000 * pi + 0.4, 1e-9);
}

}  // namespace
