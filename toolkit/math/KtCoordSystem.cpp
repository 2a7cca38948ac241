#include "toolkit/math/KtCoordSystem.h"

#include <cmath>
#include <ostream>

#include "toolkit/math/KtRotationKernels.h"

void KtCoordSystem::preTranslateX(float t) {
  preTranslate(t, 0.0f, 0.0f);
}
void KtCoordSystem::preTranslateY(float t) {
  preTranslate(0.0f, t, 0.0f);
}
void KtCoordSystem::preTranslateZ(float t) {
  preTranslate(0.0f, 0.0f, t);
}

void KtCoordSystem::preTranslate(float x, float y, float z) {
  for (int c = 0; c < 4; ++c) m[3][c] += x * m[0][c] + y * m[1][c] + z * m[2][c];
}

void KtCoordSystem::preTranslate(const float v[3]) {
  preTranslate(v[0], v[1], v[2]);
}

void KtCoordSystem::preScale(float x, float y, float z) {
  row(0).scale(x);
  row(1).scale(y);
  row(2).scale(z);
}

void KtCoordSystem::preScale(const float v[3]) {
  preScale(v[0], v[1], v[2]);
}

void KtCoordSystem::preRotateX(float a) {
  KtMixRotationRows(m, 1, 2, a);
}
void KtCoordSystem::preRotateY(float a) {
  KtMixRotationRows(m, 2, 0, a);
}
void KtCoordSystem::preRotateZ(float a) {
  KtMixRotationRows(m, 0, 1, a);
}

void KtCoordSystem::preRotateAxis(const float u[3], float a) {
  float r[3][3];
  KtFillAxisRotation(r, u[0], u[1], u[2], std::cos(a), std::sin(a));
  float t[3][4];
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 4; ++c) t[i][c] = r[i][0] * m[0][c] + r[i][1] * m[1][c] + r[i][2] * m[2][c];
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < 4; ++c) m[i][c] = t[i][c];
}

void KtCoordSystem::postTranslateX(float t) {
  postTranslate(t, 0.0f, 0.0f);
}
void KtCoordSystem::postTranslateY(float t) {
  postTranslate(0.0f, t, 0.0f);
}
void KtCoordSystem::postTranslateZ(float t) {
  postTranslate(0.0f, 0.0f, t);
}

void KtCoordSystem::postTranslate(float x, float y, float z) {
  const float v[3] = {x, y, z};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] += v[c] * m[r][3];
}

void KtCoordSystem::postTranslate(const float v[3]) {
  postTranslate(v[0], v[1], v[2]);
}

void KtCoordSystem::postScale(float x, float y, float z) {
  for (int r = 0; r < 4; ++r) {
    m[r][0] *= x;
    m[r][1] *= y;
    m[r][2] *= z;
  }
}

void KtCoordSystem::postScale(const float v[3]) {
  postScale(v[0], v[1], v[2]);
}

void KtCoordSystem::postRotateX(float a) {
  KtMixRotationColumns(m, 1, 2, a);
}
void KtCoordSystem::postRotateY(float a) {
  KtMixRotationColumns(m, 2, 0, a);
}
void KtCoordSystem::postRotateZ(float a) {
  KtMixRotationColumns(m, 0, 1, a);
}

void KtCoordSystem::postRotateAxis(const float u[3], float a) {
  float r[3][3];
  KtFillAxisRotation(r, u[0], u[1], u[2], std::cos(a), std::sin(a));
  for (int row = 0; row < 4; ++row) {
    const float v[3] = {m[row][0], m[row][1], m[row][2]};
    for (int c = 0; c < 3; ++c) m[row][c] = v[0] * r[0][c] + v[1] * r[1][c] + v[2] * r[2][c];
  }
}

void KtCoordSystem::shiftRotationPoint(const KtPoint& p) {
  preTranslate(-p.x, -p.y, -p.z);
  postTranslate(p.x, p.y, p.z);
}

void KtCoordSystem::reorthogonalize() {
  Kt3X3FloatMat r;
  getRotationMatrix(&r);
  KtReorthogonalize(&r);
  setRotationMatrix(r);
}

void KtCoordSystem::getRotationMatrix(Kt3X3FloatMat* r) const {
  _extractRotMatrix(r->m, m);
}

void KtCoordSystem::setRotationMatrix(const Kt3X3FloatMat& r) {
  _replaceRotMatrix(m, r.m);
}

void KtCoordSystem::getTranslationVector(KtPoint* p) const {
  p->x = m[3][0];
  p->y = m[3][1];
  p->z = m[3][2];
}

KtPoint KtCoordSystem::translationVector() const {
  KtPoint p;
  getTranslationVector(&p);
  return p;
}

void KtCoordSystem::setTranslationVector(const KtPoint& p) {
  m[3][0] = p.x;
  m[3][1] = p.y;
  m[3][2] = p.z;
}

std::ostream& operator<<(std::ostream& out, const KtCoordSystem& cs) {
  out << "[\n";
  for (int r = 0; r < 4; ++r) {
    out << "  [ ";
    for (int c = 0; c < 4; ++c) out << cs.m[r][c] << " ";
    out << "]\n";
  }
  return out << "\n]";
}
