// The joint evaluation on values worked out by hand: absolute placement
// under a turned parent, the rotation order and the orientation, a take's
// bindings in the take's angle unit, and unbound attributes keeping what
// they hold.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raro/KrScene.h"

namespace {

void expectAt(const KrVec3& p, double x, double y, double z) {
  EXPECT_NEAR(p.x, x, 1e-12);
  EXPECT_NEAR(p.y, y, 1e-12);
  EXPECT_NEAR(p.z, z, 1e-12);
}

KrJoint jointNamed(const char* name, const char* order, const char* dof, double orientZ) {
  KrJoint j;
  j.name = name;
  j.order = order;
  j.dof = dof;
  j.orient[2] = orientZ;
  return j;
}

}  // namespace

// r sits at (1, 0, 0), oriented 90 degrees about z; c is placed at (1, 2, 0),
// two inches along world y, which in r's turned frame is (2, 0, 0). The take
// turns r a further 90 degrees about z (axis 0, in degrees) and moves it
// along x (axis 2); axis 1 is bound to nothing.
TEST(KrScene, PlacesJointsAbsolutelyAndPlaysTheBoundAttributes) {
  KrScene scene;
  scene.select(-1);
  const int r = scene.addJoint(jointNamed("r", "zxy", "z", M_PI / 2), {1, 0, 0});
  EXPECT_EQ(scene.selected(), r);
  const int c = scene.addJoint(jointNamed("c", "xyz", "", 0), {1, 2, 0});
  EXPECT_EQ(scene.joint(c).parent, r);
  expectAt(scene.joint(c).translate, 2, 0, 0);
  expectAt(scene.world("c").t, 1, 2, 0);
  EXPECT_EQ(scene.find("hand"), -1);

  scene.bind({0, r, false, 2});
  EXPECT_EQ(scene.axesNeeded(), 1);
  const double turn[] = {90};
  scene.apply(turn, M_PI / 180);
  // r's frame is now Rz(180): c's (2, 0, 0) points along -x.
  expectAt(scene.world("r").t, 1, 0, 0);
  expectAt(scene.world("c").t, -1, 0, 0);
  EXPECT_NEAR(scene.world("c").r.m[0][0], -1, 1e-12);
  EXPECT_NEAR(scene.world("c").r.m[1][1], -1, 1e-12);

  scene.bind({2, r, true, 0});
  EXPECT_EQ(scene.axesNeeded(), 3);
  const double move[] = {0, 7, 5};
  scene.apply(move, M_PI / 180);
  // Rotate back to 0: r's frame is its orientation again; r.translateY and
  // c, bound to nothing, keep their values.
  expectAt(scene.world("r").t, 5, 0, 0);
  expectAt(scene.world("c").t, 5, 2, 0);
  std::vector<KrVec3> at;
  scene.positions(&at);
  ASSERT_EQ(at.size(), 2u);
  expectAt(at[r], 5, 0, 0);
  expectAt(at[c], 5, 2, 0);

  // In radians the same number is taken as it is.
  const double half[] = {M_PI / 2, 0, 5};
  scene.apply(half, 1.0);
  expectAt(scene.world("c").t, 3, 0, 0);
}

// g turns in the order y, x, z by 90 degrees about y and about x, and is
// oriented 90 degrees about z: its frame is Ry(90) . Rx(90) . Rz(90), the
// rotate attribute in its order first, then the orientation. Its x axis
// ends on -x, y on z and z on y (any other order puts x elsewhere).
TEST(KrScene, TurnsInTheRotationOrderThenByTheOrientation) {
  KrScene scene;
  scene.select(-1);
  const int g = scene.addJoint(jointNamed("g", "yxz", "xy", M_PI / 2), {0, 0, 0});
  scene.bind({0, g, false, 0});
  scene.bind({1, g, false, 1});
  const double turn[] = {90, 90};
  scene.apply(turn, M_PI / 180);
  const KrMat3 r = scene.world("g").r;
  const double want[3][3] = {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(r.m[i][j], want[i][j], 1e-12) << i << " " << j;
}
