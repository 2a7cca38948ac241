#include <gtest/gtest.h>

#include "toolkit/math/KtSmooth.h"

namespace {

KtArray<KtPoint> xs(std::initializer_list<float> values) {
  KtArray<KtPoint> a;
  for (float v : values) {
    KtPoint p;
    p.x = v;
    p.y = -v;
    a.append(p);
  }
  return a;
}

void expectXs(std::initializer_list<float> want, const KtArray<KtPoint>& got) {
  ASSERT_EQ(static_cast<int>(want.size()), got.count());
  int k = 0;
  for (float v : want) {
    EXPECT_FLOAT_EQ(v, got[k].x) << k;
    EXPECT_FLOAT_EQ(-v, got[k].y) << k;
    EXPECT_EQ(0.0f, got[k].z) << k;
    ++k;
  }
}

}  // namespace

TEST(KtSmooth, StraightLinesAreUnchangedAndSpikesAreDamped) {
  KtArray<KtPoint> line = xs({1, 2, 3, 4, 5});
  KtSmooth(&line);
  expectXs({1, 2, 3, 4, 5}, line);

  KtArray<KtPoint> spike = xs({0, 0, 8, 0, 0});
  KtSmooth(&spike);
  expectXs({0, 0, 2, 0, 0}, spike);
}

TEST(KtSmooth, OnlyInnerPointsChangeAndFromInputValues) {
  KtArray<KtPoint> zigzag = xs({0, 1, 0, 1, 0, 1});
  KtSmooth(&zigzag);
  expectXs({0, 1, 1, 0, 0, 1}, zigzag);
}

TEST(KtSmooth, ShortArraysAreLeftAlone) {
  for (int n = 0; n < 5; ++n) {
    KtArray<KtPoint> a;
    for (int k = 0; k < n; ++k) {
      KtPoint p;
      p.x = static_cast<float>(k * k);
      a.append(p);
    }
    KtSmooth(&a);
    ASSERT_EQ(n, a.count());
    for (int k = 0; k < n; ++k) EXPECT_EQ(static_cast<float>(k * k), a[k].x);
  }
}
