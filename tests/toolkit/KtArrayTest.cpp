#include <gtest/gtest.h>

#include "toolkit/KtArray.h"
#include "toolkit/KtDArray.h"
#include "toolkit/KtStr.h"

TEST(KtArray, StorageIsExactlySizedAndFreedAtZero) {
  KtArray<int> a(0);
  EXPECT_EQ(a.count(), 0);
  EXPECT_EQ(a.data(), nullptr);
  a._resize(3);
  EXPECT_EQ(a.count(), 3);
  EXPECT_NE(a.data(), nullptr);
  a._resize(0);
  EXPECT_EQ(a.count(), 0);
  EXPECT_EQ(a.data(), nullptr);
  a._resize(2, 9);
  a._resize(4, 8);
  EXPECT_EQ(a[0], 9);
  EXPECT_EQ(a[1], 9);
  EXPECT_EQ(a[2], 8);
  EXPECT_EQ(a[3], 8);
  a._resize(1);
  EXPECT_EQ(a.count(), 1);
  EXPECT_EQ(a[0], 9);
}

TEST(KtArray, FillValueAndValueAssignment) {
  KtArray<int> a(3, 7);
  ASSERT_EQ(a.count(), 3);
  EXPECT_EQ(a[0], 7);
  EXPECT_EQ(a[1], 7);
  EXPECT_EQ(a[2], 7);
  a = 5;
  EXPECT_EQ(a[0], 5);
  EXPECT_EQ(a[1], 5);
  EXPECT_EQ(a[2], 5);
  KtArray<int> copy(a);
  a[1] = 0;
  EXPECT_EQ(copy.count(), 3);
  EXPECT_EQ(copy[1], 5);
}

TEST(KtArray, AssignmentKeepsTheSizeButDArrayAssignmentResizes) {
  KtArray<int> five(5);
  for (int i = 0; i < 5; i++) five[i] = i + 1;
  KtArray<int> three(3, 0);
  three = five;
  ASSERT_EQ(three.count(), 3);
  EXPECT_EQ(three[0], 1);
  EXPECT_EQ(three[1], 2);
  EXPECT_EQ(three[2], 3);
  KtArray<int> viaSet(2, 0);
  viaSet.setElements(five);
  EXPECT_EQ(viaSet.count(), 2);
  EXPECT_EQ(viaSet[1], 2);

  KtDArray<int> d(3, 0);
  d = five;
  ASSERT_EQ(d.count(), 5);
  for (int i = 0; i < 5; i++) EXPECT_EQ(d[i], i + 1);
  KtDArray<int> shorter(1, 4);
  d = shorter;
  ASSERT_EQ(d.count(), 1);
  EXPECT_EQ(d[0], 4);
}

TEST(KtArray, StringElementsSurviveGrowthAndShrinking) {
  KtArray<KtStr> names;
  for (int i = 0; i < 40; i++) {
    KtStr name;
    name.setF("bone%d", i);
    names.append(name);
  }
  ASSERT_EQ(names.count(), 40);
  for (int i = 0; i < 40; i++) {
    KtStr expected;
    expected.setF("bone%d", i);
    EXPECT_EQ(names[i], expected);
  }
  KtStr shared("shared");
  names._resize(42, shared);
  EXPECT_EQ(names[40], "shared");
  EXPECT_EQ(names[41], "shared");
  names[41].upper();
  EXPECT_EQ(shared, "shared");
  names.append(names[0]);
  EXPECT_EQ(names[42], "bone0");
  names._resize(43);
  names._resize(45);
  EXPECT_TRUE(names[44] == nullptr);
  names._resize(2);
  EXPECT_EQ(names[1], "bone1");

  KtDArray<KtStr> copy(2);
  copy = names;
  names[0] = "changed";
  EXPECT_EQ(copy[0], "bone0");
  EXPECT_EQ(copy.count(), 2);
}
