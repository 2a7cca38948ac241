#include "toolkit/math/KtRotMatrix.h"

#include <cmath>
#include <ostream>

#include "toolkit/math/KtEulerAngles.h"
#include "toolkit/math/KtQuaternion.h"
#include "toolkit/math/KtRotationKernels.h"

namespace {

KtQuaternion halfTurnQuaternion(float angle, int axis) {
  const double half = static_cast<double>(angle) / 2.0;
  KtPoint v;
  const float s = static_cast<float>(std::sin(half));
  if (axis == 0) v.x = s;
  if (axis == 1) v.y = s;
  if (axis == 2) v.z = s;
  return KtQuaternion(static_cast<float>(std::cos(half)), v);
}

}  // namespace

KtRotMatrix::KtRotMatrix(const KtQuaternion& q) {
  const float w = q.w, x = q.v.x, y = q.v.y, z = q.v.z;
  m[0][0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
  m[0][1] = 2.0f * (x * y + z * w);
  m[0][2] = 2.0f * (x * z - y * w);
  m[1][0] = 2.0f * (x * y - z * w);
  m[1][1] = 1.0f - 2.0f * z * z - 2.0f * x * x;
  m[1][2] = 2.0f * (y * z + x * w);
  m[2][0] = 2.0f * (x * z + y * w);
  m[2][1] = 2.0f * (y * z - x * w);
  m[2][2] = 1.0f - 2.0f * x * x - 2.0f * y * y;
}

void KtRotMatrix::preRotateX(float a) {
  KtMixRotationRows(m, 1, 2, a);
}
void KtRotMatrix::preRotateY(float a) {
  KtMixRotationRows(m, 2, 0, a);
}
void KtRotMatrix::preRotateZ(float a) {
  KtMixRotationRows(m, 0, 1, a);
}
void KtRotMatrix::postRotateX(float a) {
  KtMixRotationColumns(m, 1, 2, a);
}
void KtRotMatrix::postRotateY(float a) {
  KtMixRotationColumns(m, 2, 0, a);
}
void KtRotMatrix::postRotateZ(float a) {
  KtMixRotationColumns(m, 0, 1, a);
}

void KtRotMatrix::getQuaternion(KtQuaternion* q) const {
  static const int xyz[3] = {1, 2, 3};
  float a[3];
  KtGetDecomposedRotationMatrix(a, xyz, *this);
  *q = (halfTurnQuaternion(a[0], 0) * halfTurnQuaternion(a[1], 1)) * halfTurnQuaternion(a[2], 2);
}

void KtRotMatrix::getAxisAngle(KtPoint* v) const {
  KtQuaternion q(1.0f, KtPoint());
  getQuaternion(&q);
  const float n = static_cast<float>(
      std::sqrt(static_cast<double>(q.v.x * q.v.x + q.v.y * q.v.y + q.v.z * q.v.z)));
  *v = q.v;
  if (n > 0.001f) {
    const double angle = 2.0 * std::atan2(static_cast<double>(n), static_cast<double>(q.w));
    v->x = static_cast<float>(q.v.x * angle / n);
    v->y = static_cast<float>(q.v.y * angle / n);
    v->z = static_cast<float>(q.v.z * angle / n);
  }
}

void KtRotMatrix::setAxisAngle(const KtPoint& v) {
  const float theta = static_cast<float>(std::sqrt(static_cast<double>(KtDotProduct(v, v))));
  if (theta <= 0.0f) {
    *this = KtRotMatrix(MultiplicativeIdentity);
    return;
  }
  const float x = v.x / theta, y = v.y / theta, z = v.z / theta;
  const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
  const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
  KtFillAxisRotation(m, x, y, z, c, s);
}

std::ostream& operator<<(std::ostream& out, const KtRotMatrix& mat) {
  out << "[\n";
  for (int r = 0; r < 3; ++r) {
    out << "  [ ";
    for (int c = 0; c < 3; ++c) out << mat.m[r][c] << " ";
    out << "]\n";
  }
  return out << "\n]";
}
