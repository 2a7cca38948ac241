#ifndef KT_COORD_SYSTEM_H
#define KT_COORD_SYSTEM_H

#include <iosfwd>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/Kt4X4FloatMat.h"
#include "toolkit/math/KtPoint.h"

// A rigid transform (a coordinate frame): rows 0-2 hold the rotation, row 3
// the translation, column 3 stays (0, 0, 0, 1). A local point p maps to the
// parent frame as [p 1] . M. "pre" operations act first on a point (M' = E . M),
// "post" operations last (M' = M . E). Each works in place on the rows or
// columns it affects. Adds no data to the 4 x 4 matrix.
class KtCoordSystem : public Kt4X4FloatMat {
 public:
  KtCoordSystem() = default;
  KtCoordSystem& operator=(float f) {
    Kt4X4FloatMat::operator=(f);
    return *this;
  }

  void preTranslateX(float t);
  void preTranslateY(float t);
  void preTranslateZ(float t);
  void preTranslate(float x, float y, float z);
  void preTranslate(const float v[3]);
  void preScale(float x, float y, float z);
  void preScale(const float v[3]);
  void preRotateX(float a);
  void preRotateY(float a);
  void preRotateZ(float a);
  void preRotateAxis(const float u[3], float a);

  void postTranslateX(float t);
  void postTranslateY(float t);
  void postTranslateZ(float t);
  void postTranslate(float x, float y, float z);
  void postTranslate(const float v[3]);
  void postScale(float x, float y, float z);
  void postScale(const float v[3]);
  void postRotateX(float a);
  void postRotateY(float a);
  void postRotateZ(float a);
  void postRotateAxis(const float u[3], float a);

  void shiftRotationPoint(const KtPoint& p);
  void reorthogonalize();

  void getRotationMatrix(Kt3X3FloatMat* r) const;
  void setRotationMatrix(const Kt3X3FloatMat& r);
  void getTranslationVector(KtPoint* p) const;
  KtPoint translationVector() const;
  void setTranslationVector(const KtPoint& p);
};

std::ostream& operator<<(std::ostream& out, const KtCoordSystem& cs);

#endif
