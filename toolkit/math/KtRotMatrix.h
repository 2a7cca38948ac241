#ifndef KT_ROT_MATRIX_H
#define KT_ROT_MATRIX_H

#include <iosfwd>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtPoint.h"

class KtQuaternion;

// A 3 x 3 rotation in row-vector form; adds no data to the matrix and does
// not enforce orthonormality. "pre" rotations act first on a point
// (M' = R . M), "post" rotations last (M' = M . R).
class KtRotMatrix : public Kt3X3FloatMat {
 public:
  KtRotMatrix() = default;
  KtRotMatrix(float f) : Kt3X3FloatMat(f) {}
  KtRotMatrix(const Kt3X3FloatMat& m) : Kt3X3FloatMat(m) {}
  // From q = (w, x, y, z), not normalised first.
  explicit KtRotMatrix(const KtQuaternion& q);

  void preRotateX(float a);
  void preRotateY(float a);
  void preRotateZ(float a);
  void postRotateX(float a);
  void postRotateY(float a);
  void postRotateZ(float a);

  void getQuaternion(KtQuaternion* q) const;
  // Rotation vector: the axis times the angle in radians.
  void getAxisAngle(KtPoint* v) const;
  void setAxisAngle(const KtPoint& v);
};

std::ostream& operator<<(std::ostream& out, const KtRotMatrix& m);

#endif
