#include "toolkit/math/KtPoint.h"

#include <cmath>
#include <ostream>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/Kt4X4FloatMat.h"

void KtPoint::applyMatrix(const Kt3X3FloatMat& m) {
  Kt3X3FloatMat::_preMultPoint(this, *this, m);
}

void KtPoint::applyMatrix(const Kt4X4FloatMat& m) {
  Kt4X4FloatMat::_preMultPoint(this, *this, m);
}

bool KtPoint::operator<(const KtPoint& p) const {
  if (x != p.x) return x < p.x;
  if (y != p.y) return y < p.y;
  return z < p.z;
}

bool KtPoint::operator>(const KtPoint& p) const {
  return p < *this;
}

std::ostream& operator<<(std::ostream& out, const KtPoint& p) {
  return out << "[ " << p.x << "  " << p.y << "  " << p.z << " ]";
}

void KtGetCrossProduct(KtPoint* out, const KtPoint& a, const KtPoint& b) {
  const float x = a.y * b.z - a.z * b.y;
  const float y = a.z * b.x - a.x * b.z;
  const float z = a.x * b.y - a.y * b.x;
  out->x = x;
  out->y = y;
  out->z = z;
}

float KtDotProduct(const KtPoint& a, const KtPoint& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

KtPoint KtTriangleNormal(const KtPoint& a, const KtPoint& b, const KtPoint& c) {
  KtPoint u;
  u.x = c.x - b.x;
  u.y = c.y - b.y;
  u.z = c.z - b.z;
  KtPoint v;
  v.x = a.x - b.x;
  v.y = a.y - b.y;
  v.z = a.z - b.z;
  KtPoint n;
  KtGetCrossProduct(&n, u, v);
  const float len = std::sqrt(KtDotProduct(n, n));
  if (len > 0.0f) {
    n.x /= len;
    n.y /= len;
    n.z /= len;
  }
  return n;
}

void KtArbitraryPerpendicular(KtPoint* out, const KtPoint& v) {
  KtPoint partner;
  partner.x = v.y;
  partner.y = -v.z;
  partner.z = v.x;
  KtGetCrossProduct(out, v, partner);
}

void KtReorthogonalize(Kt3X3FloatMat* m) {
  // Coefficients of the binomial series of (1 + x)^(-1/2), without the
  // leading 1; nine terms suffice for matrices close to orthogonal.
  static const float coeff[9] = {
      -0.5f,         0.375f,          -0.3125f,           0.2734375f,          -0.24609375f,
      0.2255859375f, -0.20947265625f, 0.196380615234375f, -0.1854705810546875f};
  Kt3X3FloatMat mt = *m;
  mt.transpose();
  Kt3X3FloatMat x;
  Kt3X3FloatMat::_multiply(x.m, mt.m, m->m);
  Kt3X3FloatMat::_subMatrix(x.m, x.m, Kt3X3FloatMat::MultiplicativeIdentity.m);
  Kt3X3FloatMat s(1.0f);
  Kt3X3FloatMat power = x;
  for (int k = 0; k < 9; ++k) {
    if (k > 0) Kt3X3FloatMat::_multiply(power.m, power.m, x.m);
    Kt3X3FloatMat term;
    Kt3X3FloatMat::_multScalar(term.m, power.m, coeff[k]);
    s.add(term);
  }
  Kt3X3FloatMat::_multiply(m->m, m->m, s.m);
}
