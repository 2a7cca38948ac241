#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtPoint.h"

namespace {

Kt3X3FloatMat sample() {
  Kt3X3FloatMat m;
  float v = 1.0f;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m.m[r][c] = v++;
  return m;
}

}  // namespace

TEST(Kt3X3FloatMat, FloatConstructorAndSetDiagonalTouchOnlyTheDiagonal) {
  Kt3X3FloatMat id(1.0f);
  EXPECT_TRUE(id == Kt3X3FloatMat::MultiplicativeIdentity);
  id.setDiagonal(2.0f);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(r == c ? 2.0f : 0.0f, id.m[r][c]);
  Kt3X3FloatMat m = sample();
  m.setDiagonal(0.0f);
  EXPECT_EQ(2.0f, m.m[0][1]);
  m = 3.0f;
  EXPECT_EQ(0.0f, m.m[0][1]);
  EXPECT_EQ(3.0f, m.m[2][2]);
  EXPECT_EQ(0, Kt3X3FloatMat::Map[0]);
  EXPECT_EQ(2, Kt3X3FloatMat::Map[2]);
}

TEST(Kt3X3FloatMat, MultiplyIntoAnOperandMatchesSeparateResult) {
  Kt3X3FloatMat a = sample();
  Kt3X3FloatMat b = sample();
  b.transpose();
  Kt3X3FloatMat separate;
  Kt3X3FloatMat::_multiply(separate.m, a.m, b.m);
  // Row 0 of a times column 0 of aᵀ: 1 + 4 + 9.
  EXPECT_EQ(14.0f, separate.m[0][0]);
  EXPECT_EQ(32.0f, separate.m[0][1]);
  Kt3X3FloatMat::_multiply(a.m, a.m, b.m);
  EXPECT_TRUE(a == separate);
}

TEST(Kt3X3FloatMat, PreAndPostMultiplicationDiffer) {
  const Kt3X3FloatMat m = sample();
  KtPoint p;
  p.x = 1.0f;
  p.y = 0.0f;
  p.z = -1.0f;
  KtPoint pre, post, viaTranspose;
  Kt3X3FloatMat::_preMultPoint(&pre, p, m);
  Kt3X3FloatMat::_postMultPoint(&post, m, p);
  EXPECT_EQ(-6.0f, pre.x);   // row 0 minus row 2: 1 - 7
  EXPECT_EQ(-2.0f, post.x);  // column 0 minus column 2: 1 - 3
  Kt3X3FloatMat mt = m;
  mt.transpose();
  Kt3X3FloatMat::_postMultPoint(&viaTranspose, mt, p);
  EXPECT_EQ(pre.x, viaTranspose.x);
  EXPECT_EQ(pre.y, viaTranspose.y);
  EXPECT_EQ(pre.z, viaTranspose.z);
}

TEST(Kt3X3FloatMat, ElementWiseRoutinesAndRows) {
  const Kt3X3FloatMat a = sample();
  Kt3X3FloatMat out;
  Kt3X3FloatMat::_addFloat(out.m, a.m, 1.0f);
  EXPECT_EQ(10.0f, out.m[2][2]);
  Kt3X3FloatMat::_subFloat(out.m, a.m, 1.0f);
  EXPECT_EQ(0.0f, out.m[0][0]);
  Kt3X3FloatMat::_multScalar(out.m, a.m, 2.0f);
  EXPECT_EQ(18.0f, out.m[2][2]);
  Kt3X3FloatMat::_subMatrix(out.m, out.m, a.m);
  EXPECT_TRUE(out == a);
  out.add(a);
  Kt3X3FloatMat::_addMatrix(out.m, out.m, a.m);
  EXPECT_EQ(27.0f, out.m[2][2]);

  Kt3X3FloatMat r = sample();
  Kt3X3FloatMat::KtRow row1 = r.row(1);
  row1 -= r.row(0);  // rows are views onto the matrix
  EXPECT_EQ(3.0f, r.m[1][0]);
  row1 /= 3.0f;
  EXPECT_EQ(1.0f, r.m[1][2]);
  EXPECT_TRUE(r.row(1) == r.row(1));
  EXPECT_FALSE(r.row(1) == r.row(0));
}

TEST(Kt3X3FloatMat, IsValidDetectsNaN) {
  Kt3X3FloatMat m = sample();
  EXPECT_TRUE(m.isValid());
  m.m[1][2] = std::numeric_limits<float>::infinity();
  EXPECT_TRUE(m.isValid());
  m.m[2][0] = m.m[1][2] - m.m[1][2];
  EXPECT_FALSE(m.isValid());
}

TEST(Kt3X3FloatMat, PrintsRowsInFourteenColumnFields) {
  std::ostringstream out;
  Kt3X3FloatMat::MultiplicativeIdentity.printOn(out);
  const std::string one = std::string(13, ' ') + "1";
  const std::string zero = std::string(13, ' ') + "0";
  const std::string r0 = "[" + one + "  " + zero + "  " + zero + "]";
  const std::string r1 = "[" + zero + "  " + one + "  " + zero + "]";
  const std::string r2 = "[" + zero + "  " + zero + "  " + one + "]";
  EXPECT_EQ("[\n" + r0 + "\n " + r1 + "\n " + r2 + "\n]", out.str());
}
