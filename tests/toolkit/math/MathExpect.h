#ifndef MATH_EXPECT_H
#define MATH_EXPECT_H

// Values and near-comparisons shared by the math tests (and by the tests of
// the layers above that build points).

#include <gtest/gtest.h>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtPoint.h"

namespace mathtest {

inline KtPoint point(float x, float y, float z) {
  KtPoint p;
  p.x = x;
  p.y = y;
  p.z = z;
  return p;
}

// Every entry within tol; a failure names the entry's row and column.
inline void expectMatrixNear(const Kt3X3FloatMat& a, const Kt3X3FloatMat& b, float tol) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], tol) << r << "," << c;
}

}  // namespace mathtest

#endif
