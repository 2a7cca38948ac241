#ifndef KT_QUATERNION_H
#define KT_QUATERNION_H

#include <iosfwd>

#include "toolkit/math/KtPoint.h"

// A rotation quaternion: scalar part w, vector part v. A plain value; nothing
// normalises it.
class KtQuaternion {
 public:
  float w;
  KtPoint v;

  KtQuaternion(float w_, const KtPoint& v_) : w(w_), v(v_) {}
  KtQuaternion(const KtQuaternion&) = default;
  KtQuaternion& operator=(const KtQuaternion&) = default;

  // The conjugate (w, -v): the inverse of a unit quaternion only.
  KtQuaternion inverse() const;
};

float KtDotProduct(const KtQuaternion& a, const KtQuaternion& b);
KtQuaternion operator*(const KtQuaternion& a, const KtQuaternion& b);
KtQuaternion operator*(const KtQuaternion& q, float f);
KtQuaternion operator+(const KtQuaternion& a, const KtQuaternion& b);
// Spherical interpolation along the arc from a (t = 0) to b (t = 1); b's sign
// is not flipped, so a negative dot product takes the longer arc.
KtQuaternion KtSlerp(const KtQuaternion& a, const KtQuaternion& b, float t);
KtPoint KtRotate(const KtPoint& p, const KtQuaternion& q);
std::ostream& operator<<(std::ostream& out, const KtQuaternion& q);

// A rotation quaternion in double precision, for interpolating rotations
// without single-precision loss. Its matrix is the row-vector one of
// KtRotMatrix(const KtQuaternion&).
struct KtDoubleQuaternion {
  double w = 1, x = 0, y = 0, z = 0;
};

// The unit quaternion (w >= 0) of a row-vector rotation matrix, and back.
KtDoubleQuaternion KtQuaternionOfRotation(const double m[3][3]);
void KtRotationOfQuaternion(double m[3][3], const KtDoubleQuaternion& q);
// Spherical interpolation from a (t = 0) to b (t = 1) along the shorter arc
// between the rotations (b's sign is flipped when the dot product is
// negative), normalised; nearly equal rotations are interpolated linearly.
KtDoubleQuaternion KtSlerpShorter(const KtDoubleQuaternion& a, const KtDoubleQuaternion& b,
                                  double t);

#endif
