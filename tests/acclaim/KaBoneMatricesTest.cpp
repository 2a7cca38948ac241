#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "acclaim/KaASF.h"
#include "acclaim/KaBoneMatrices.h"
#include "toolkit/math/KtCoordSystem.h"

namespace {

const float kHalfPi = static_cast<float>(M_PI / 2);

// A frame given by its rotation rows and its translation (column 3 is
// (0, 0, 0, 1)).
struct Frame {
  float r[3][3];
  float t[3];
};

const Frame kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};

KtCoordSystem coordSystemOf(const Frame& f) {
  KtCoordSystem cs;
  cs = 1.0f;
  for (int r = 0; r < 3; r++)
    for (int c = 0; c < 3; c++) cs.m[r][c] = f.r[r][c];
  for (int c = 0; c < 3; c++) cs.m[3][c] = f.t[c];
  return cs;
}

// A frame filled with a value no result should hold, so that every entry
// the composition leaves alone shows.
KtCoordSystem garbage() {
  KtCoordSystem cs;
  for (auto& row : cs.m)
    for (float& v : row) v = 7.5f;
  return cs;
}

// Compares all sixteen entries.
void expectFrame(const KtCoordSystem& actual, const Frame& expected, const std::string& what) {
  for (int r = 0; r < 4; r++) {
    for (int c = 0; c < 4; c++) {
      float want = r < 3 ? (c < 3 ? expected.r[r][c] : 0.0f) : (c < 3 ? expected.t[c] : 1.0f);
      EXPECT_NEAR(actual.m[r][c], want, 1e-6f) << what << " [" << r << "][" << c << "]";
    }
  }
}

KaASFBone boneWith(float ax, float ay, float az, int o0, int o1, int o2) {
  KaASFBone bone;
  bone.name = "b";
  bone.axis[0] = ax;
  bone.axis[1] = ay;
  bone.axis[2] = az;
  bone.order[0] = o0;
  bone.order[1] = o1;
  bone.order[2] = o2;
  return bone;
}

}  // namespace

TEST(KaBoneMatrices, ZeroAxisOnTheRootGivesIdentityForBoth) {
  KaASFBone bone = boneWith(0, 0, 0, 1, 2, 3);
  KtCoordSystem axisFrame = garbage(), relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, coordSystemOf(kIdentity));
  expectFrame(axisFrame, kIdentity, "axis frame");
  expectFrame(relFrame, kIdentity, "relative frame");
}

TEST(KaBoneMatrices, AxisRotationTakesTheAnglesInTheBonesOrderFirstAxisFirst) {
  const KtCoordSystem identity = coordSystemOf(kIdentity);
  struct Case {
    const char* what;
    KaASFBone bone;
    Frame rb;
  } cases[] = {
      // Rx(pi/2) = rows (1, 0, 0), (0, 0, 1), (0, -1, 0).
      {"x 90 xyz",
       boneWith(kHalfPi, 0, 0, 1, 2, 3),
       {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}, {0, 0, 0}}},
      // Ry(pi/2) = rows (0, 0, -1), (0, 1, 0), (1, 0, 0).
      {"y 90 xyz",
       boneWith(0, kHalfPi, 0, 1, 2, 3),
       {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}, {0, 0, 0}}},
      // Rx(pi/2) . Rz(pi/2), not Rz(pi/2) . Rx(pi/2) = (0, 0, 1), (-1, 0, 0), (0, -1, 0).
      {"x 90 z 90 xyz",
       boneWith(kHalfPi, 0, kHalfPi, 1, 2, 3),
       {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {0, 0, 0}}},
      // Ry(pi/2) . Rz(pi/2); Rz(pi/2) . Ry(pi/2) would begin with (0, 1, 0).
      {"y 90 z 90 xyz",
       boneWith(0, kHalfPi, kHalfPi, 1, 2, 3),
       {{{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}}, {0, 0, 0}}},
      // Order zxy: Rz(pi/2) . Rx(pi/2) . Ry(0); the angles stay indexed by axis.
      {"x 90 z 90 zxy",
       boneWith(kHalfPi, 0, kHalfPi, 3, 1, 2),
       {{{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}}, {0, 0, 0}}},
  };
  for (Case& c : cases) {
    KtCoordSystem axisFrame = garbage(), relFrame = garbage();
    KaGetComposedBoneMatrices(&axisFrame, &relFrame, c.bone, identity);
    expectFrame(axisFrame, c.rb, std::string(c.what) + " axis frame");
    expectFrame(relFrame, c.rb, std::string(c.what) + " relative frame");
  }
}

TEST(KaBoneMatrices, ArbitraryAnglesComposeAsRxRyRzForOrderXyz) {
  const float a = 0.3f, b = -0.5f, c = 1.1f;
  KaASFBone bone = boneWith(a, b, c, 1, 2, 3);
  KtCoordSystem expected;
  expected = 1.0f;
  // pre operations act first on a point: Rx(a) . Ry(b) . Rz(c) is built by
  // applying Rz, then Ry, then Rx in front.
  expected.preRotateZ(c);
  expected.preRotateY(b);
  expected.preRotateX(a);
  KtCoordSystem axisFrame = garbage(), relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, coordSystemOf(kIdentity));
  Frame want = kIdentity;
  for (int r = 0; r < 3; r++)
    for (int col = 0; col < 3; col++) want.r[r][col] = expected.m[r][col];
  // Row 0 of Rx(a) . Ry(b) . Rz(c) is row 0 of Ry(b) . Rz(c):
  // (cos b cos c, cos b sin c, -sin b).
  EXPECT_NEAR(want.r[0][0], std::cos(b) * std::cos(c), 1e-6f);
  EXPECT_NEAR(want.r[0][1], std::cos(b) * std::sin(c), 1e-6f);
  EXPECT_NEAR(want.r[0][2], -std::sin(b), 1e-6f);
  expectFrame(axisFrame, want, "axis frame");
  expectFrame(relFrame, want, "relative frame");
}

TEST(KaBoneMatrices, OffsetIsTheParentBoneCarriedByTheParentFrameRotationOnly) {
  KaASFBone parent = boneWith(0, 0, 0, 1, 2, 3);
  parent.direction.y = 1;
  parent.length = 2;
  KaASFBone bone = boneWith(0, 0, 0, 1, 2, 3);
  bone.parent = &parent;

  KtCoordSystem axisFrame = garbage(), relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, coordSystemOf(kIdentity));
  expectFrame(axisFrame, kIdentity, "identity parent: axis frame");
  expectFrame(relFrame, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 2, 0}}, "identity parent");

  // Rz(pi/2) with translation (5, 5, 5): (0, 2, 0) . Rz(pi/2) = (-2, 0, 0),
  // and the (5, 5, 5) is dropped.
  const Frame rz90 = {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}, {5, 5, 5}};
  axisFrame = garbage();
  relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, coordSystemOf(rz90));
  expectFrame(axisFrame, kIdentity, "turned parent: axis frame");
  expectFrame(relFrame, {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}, {-2, 0, 0}}, "turned parent");

  // The rotation is Rb . P: Rx(pi/2) . Rz(pi/2) = (0, 1, 0), (0, 0, 1), (1, 0, 0);
  // the axis frame keeps Rb alone.
  bone.axis[0] = kHalfPi;
  axisFrame = garbage();
  relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, coordSystemOf(rz90));
  expectFrame(axisFrame, {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}, {0, 0, 0}}, "x 90: axis frame");
  expectFrame(relFrame, {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {-2, 0, 0}},
              "x 90 under turned parent");
}

TEST(KaBoneMatrices, InverseOfTheParentAxisFrameGivesTheJointVectorInParentAxes) {
  // The parent's accumulated frame: x axis along world y, y axis along world
  // -x, placed at (1, 2, 3). Its inverse turns world vectors into parent axes.
  KtCoordSystem accumulated = coordSystemOf({{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}, {1, 2, 3}});
  KtCoordSystem parentFrame = accumulated;
  parentFrame.invert();

  KaASFBone parent = boneWith(0, 0, 0, 1, 2, 3);
  parent.direction.x = 0.6f;  // times 5: the world vector (3, 4, 0)
  parent.direction.y = 0.8f;
  parent.length = 5;
  KaASFBone bone = boneWith(0, 0, 0, 1, 2, 3);
  bone.parent = &parent;

  KtCoordSystem axisFrame = garbage(), relFrame = garbage();
  KaGetComposedBoneMatrices(&axisFrame, &relFrame, bone, parentFrame);
  // World (3, 4, 0) is 4 along the parent's x and -3 along its y; the
  // rotation is Rz(-pi/2), the transpose of the parent's.
  expectFrame(relFrame, {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {4, -3, 0}}, "relative frame");
  expectFrame(axisFrame, kIdentity, "axis frame");
}
