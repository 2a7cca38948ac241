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

KtDoubleQuaternion KtQuaternionOfRotation(const double m[3][3]) {
  // The largest of 4w^2, 4x^2, 4y^2, 4z^2 gives the best-conditioned
  // square root; the other parts follow from the off-diagonal sums and
  // differences of the matrix of KtRotMatrix(const KtQuaternion&).
  const double trace = m[0][0] + m[1][1] + m[2][2];
  KtDoubleQuaternion q;
  if (trace >= m[0][0] && trace >= m[1][1] && trace >= m[2][2]) {
    const double s = 2.0 * std::sqrt(1.0 + trace);  // 4w
    q.w = s / 4.0;
    q.x = (m[1][2] - m[2][1]) / s;
    q.y = (m[2][0] - m[0][2]) / s;
    q.z = (m[0][1] - m[1][0]) / s;
  } else if (m[0][0] >= m[1][1] && m[0][0] >= m[2][2]) {
    const double s = 2.0 * std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]);  // 4x
    q.w = (m[1][2] - m[2][1]) / s;
    q.x = s / 4.0;
    q.y = (m[0][1] + m[1][0]) / s;
    q.z = (m[2][0] + m[0][2]) / s;
  } else if (m[1][1] >= m[2][2]) {
    const double s = 2.0 * std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]);  // 4y
    q.w = (m[2][0] - m[0][2]) / s;
    q.x = (m[0][1] + m[1][0]) / s;
    q.y = s / 4.0;
    q.z = (m[1][2] + m[2][1]) / s;
  } else {
    const double s = 2.0 * std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]);  // 4z
    q.w = (m[0][1] - m[1][0]) / s;
    q.x = (m[2][0] + m[0][2]) / s;
    q.y = (m[1][2] + m[2][1]) / s;
    q.z = s / 4.0;
  }
  if (q.w < 0) {
    q.w = -q.w;
    q.x = -q.x;
    q.y = -q.y;
    q.z = -q.z;
  }
  const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  q.w /= n;
  q.x /= n;
  q.y /= n;
  q.z /= n;
  return q;
}

void KtRotationOfQuaternion(double m[3][3], const KtDoubleQuaternion& q) {
  const double w = q.w, x = q.x, y = q.y, z = q.z;
  m[0][0] = 1.0 - 2.0 * y * y - 2.0 * z * z;
  m[0][1] = 2.0 * (x * y + z * w);
  m[0][2] = 2.0 * (x * z - y * w);
  m[1][0] = 2.0 * (x * y - z * w);
  m[1][1] = 1.0 - 2.0 * z * z - 2.0 * x * x;
  m[1][2] = 2.0 * (y * z + x * w);
  m[2][0] = 2.0 * (x * z + y * w);
  m[2][1] = 2.0 * (y * z - x * w);
  m[2][2] = 1.0 - 2.0 * x * x - 2.0 * y * y;
}

KtDoubleQuaternion KtSlerpShorter(const KtDoubleQuaternion& a, const KtDoubleQuaternion& b,
                                  double t) {
  double d = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  const double sign = d < 0 ? -1.0 : 1.0;
  d *= sign;
  double fa = 1.0 - t;
  double fb = t;
  // Below this angle the sines divide nearly nothing by nearly nothing;
  // the straight line between the two is then as good and stays exact.
  if (d < 1.0 - 1e-12) {
    const double theta = std::acos(d);
    const double s = std::sin(theta);
    fa = std::sin((1.0 - t) * theta) / s;
    fb = std::sin(t * theta) / s;
  }
  fb *= sign;
  KtDoubleQuaternion q;
  q.w = fa * a.w + fb * b.w;
  q.x = fa * a.x + fb * b.x;
  q.y = fa * a.y + fb * b.y;
  q.z = fa * a.z + fb * b.z;
  const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  q.w /= n;
  q.x /= n;
  q.y /= n;
  q.z /= n;
  return q;
}
