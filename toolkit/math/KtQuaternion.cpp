#include "toolkit/math/KtQuaternion.h"

#include <cmath>
#include <ostream>

namespace {

KtPoint scaled(const KtPoint& p, float f) {
  KtPoint r;
  r.x = p.x * f;
  r.y = p.y * f;
  r.z = p.z * f;
  return r;
}

KtPoint sum(const KtPoint& a, const KtPoint& b) {
  KtPoint r;
  r.x = a.x + b.x;
  r.y = a.y + b.y;
  r.z = a.z + b.z;
  return r;
}

KtPoint cross(const KtPoint& a, const KtPoint& b) {
  KtPoint r;
  KtGetCrossProduct(&r, a, b);
  return r;
}

}  // namespace

KtQuaternion KtQuaternion::inverse() const {
  return KtQuaternion(w, scaled(v, -1.0f));
}

float KtDotProduct(const KtQuaternion& a, const KtQuaternion& b) {
  return a.w * b.w + KtDotProduct(a.v, b.v);
}

KtQuaternion operator*(const KtQuaternion& a, const KtQuaternion& b) {
  const float w = a.w * b.w - KtDotProduct(a.v, b.v);
  return KtQuaternion(w, sum(sum(cross(a.v, b.v), scaled(b.v, a.w)), scaled(a.v, b.w)));
}

KtQuaternion operator*(const KtQuaternion& q, float f) {
  return KtQuaternion(q.w * f, scaled(q.v, f));
}

KtQuaternion operator+(const KtQuaternion& a, const KtQuaternion& b) {
  return KtQuaternion(a.w + b.w, sum(a.v, b.v));
}

KtQuaternion KtSlerp(const KtQuaternion& a, const KtQuaternion& b, float t) {
  const float d = KtDotProduct(a, b);
  const float s = std::sqrt(1.0f - d * d);
  const float theta = static_cast<float>(std::acos(static_cast<double>(d)));
  if (!(s > 0.0f)) return a;
  const float fa = static_cast<float>(std::sin(static_cast<double>((1.0f - t) * theta)) / s);
  const float fb = static_cast<float>(std::sin(static_cast<double>(t * theta)) / s);
  return a * fa + b * fb;
}

KtPoint KtRotate(const KtPoint& p, const KtQuaternion& q) {
  const KtPoint t = scaled(cross(q.v, p), 2.0f);
  return sum(sum(p, scaled(t, q.w)), cross(q.v, t));
}

std::ostream& operator<<(std::ostream& out, const KtQuaternion& q) {
  return out << "(" << q.w << "," << q.v << ")";
}
