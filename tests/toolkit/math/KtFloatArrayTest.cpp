#include <gtest/gtest.h>

#include "toolkit/math/KtFloatArray.h"
#include "toolkit/math/KtIntArray.h"

TEST(KtFloatArray, RangeConstructorsAccumulateTheStep) {
  const KtFloatArray f(3, 1.0f, 0.5f);
  ASSERT_EQ(3, f.count());
  EXPECT_EQ(1.0f, f[0]);
  EXPECT_EQ(1.5f, f[1]);
  EXPECT_EQ(2.0f, f[2]);
  const KtIntArray i(4, 10, -3);
  ASSERT_EQ(4, i.count());
  EXPECT_EQ(10, i[0]);
  EXPECT_EQ(7, i[1]);
  EXPECT_EQ(4, i[2]);
  EXPECT_EQ(1, i[3]);
  EXPECT_TRUE(KtFloatArray(0, 5.0f, 1.0f) == 3.0f);
}

TEST(KtFloatArray, ComparisonCoversThisArraysElementsOnly) {
  const KtFloatArray a(2, 1.0f, 1.0f);
  const KtFloatArray b(3, 1.0f, 1.0f);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(b == a);  // a has no third element to match
  EXPECT_FALSE(a == 1.0f);
  EXPECT_TRUE(KtFloatArray(3, 2.0f, 0.0f) == 2.0f);
}

TEST(KtFloatArray, ArithmeticAppliesToEveryElement) {
  KtFloatArray a(3, 1.0f, 1.0f);  // 1, 2, 3
  a *= 2.0f;
  EXPECT_TRUE(a == KtFloatArray(3, 2.0f, 2.0f));
  a -= KtFloatArray(3, 1.0f, 0.0f);  // 1, 3, 5
  EXPECT_EQ(5.0f, a[2]);
  const KtFloatArray sum = a + KtFloatArray(3, 1.0f, 0.0f);
  EXPECT_EQ(6.0f, sum[2]);
  EXPECT_EQ(5.0f, a[2]);  // the operand is untouched
  const KtFloatArray half = a / 2.0f;
  EXPECT_EQ(0.5f, half[0]);
  KtFloatArray shorter(2, 10.0f, 0.0f);
  a += shorter;  // only the common elements change
  EXPECT_EQ(11.0f, a[0]);
  EXPECT_EQ(13.0f, a[1]);
  EXPECT_EQ(5.0f, a[2]);

  KtIntArray i(2, 7, -14);  // 7, -7
  i /= 2;
  EXPECT_EQ(3, i[0]);
  EXPECT_EQ(-3, i[1]);
  const KtIntArray p = i * KtIntArray(2, 2, 0) - 1;
  EXPECT_EQ(5, p[0]);
  EXPECT_EQ(-7, p[1]);
}
