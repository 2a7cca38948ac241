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

#endif
