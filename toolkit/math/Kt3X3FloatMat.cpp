#include "toolkit/math/Kt3X3FloatMat.h"

#include <ostream>

#include "toolkit/math/KtEulerAngles.h"
#include "toolkit/math/KtPoint.h"

const Kt3X3FloatMat Kt3X3FloatMat::MultiplicativeIdentity(1.0f);
const int Kt3X3FloatMat::Map[3] = {0, 1, 2};

void Kt3X3FloatMat::KtRow::scale(float f) {
  for (int c = 0; c < 3; ++c) _v[c] *= f;
}

Kt3X3FloatMat::KtRow& Kt3X3FloatMat::KtRow::operator/=(float f) {
  for (int c = 0; c < 3; ++c) _v[c] /= f;
  return *this;
}

Kt3X3FloatMat::KtRow& Kt3X3FloatMat::KtRow::operator-=(const KtRow& other) {
  for (int c = 0; c < 3; ++c) _v[c] -= other._v[c];
  return *this;
}

bool Kt3X3FloatMat::KtRow::operator==(const KtRow& other) const {
  return _v[0] == other._v[0] && _v[1] == other._v[1] && _v[2] == other._v[2];
}

void Kt3X3FloatMat::KtRow::printOn(std::ostream& out) const {
  out << "[";
  for (int c = 0; c < 3; ++c) {
    if (c > 0) out << "  ";
    out.width(14);
    out << _v[c];
  }
  out << "]";
  out.flush();
}

Kt3X3FloatMat::Kt3X3FloatMat(float f) : m{} {
  setDiagonal(f);
}

Kt3X3FloatMat& Kt3X3FloatMat::operator=(float f) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] = r == c ? f : 0.0f;
  return *this;
}

void Kt3X3FloatMat::_multiply(float out[3][3], const float a[3][3], const float b[3][3]) {
  float t[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 3; ++k) s += a[i][k] * b[k][j];
      t[i][j] = s;
    }
  _copyMatrix(out, t);
}

void Kt3X3FloatMat::_multScalar(float out[3][3], const float a[3][3], float f) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c] * f;
}

void Kt3X3FloatMat::_addFloat(float out[3][3], const float a[3][3], float f) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c] + f;
}

void Kt3X3FloatMat::_subFloat(float out[3][3], const float a[3][3], float f) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c] - f;
}

void Kt3X3FloatMat::_addMatrix(float out[3][3], const float a[3][3], const float b[3][3]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c] + b[r][c];
}

void Kt3X3FloatMat::_subMatrix(float out[3][3], const float a[3][3], const float b[3][3]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c] - b[r][c];
}

void Kt3X3FloatMat::_copyMatrix(float out[3][3], const float a[3][3]) {
  if (out == a) return;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c];
}

void Kt3X3FloatMat::_transposeMatrix(float out[3][3], const float a[3][3]) {
  float t[3][3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) t[c][r] = a[r][c];
  _copyMatrix(out, t);
}

void Kt3X3FloatMat::_preMultPoint(KtPoint* out, const KtPoint& p, const Kt3X3FloatMat& mat) {
  const float v[3] = {p.x, p.y, p.z};
  float o[3];
  for (int c = 0; c < 3; ++c) o[c] = v[0] * mat.m[0][c] + v[1] * mat.m[1][c] + v[2] * mat.m[2][c];
  out->x = o[0];
  out->y = o[1];
  out->z = o[2];
}

void Kt3X3FloatMat::_postMultPoint(KtPoint* out, const Kt3X3FloatMat& mat, const KtPoint& p) {
  const float v[3] = {p.x, p.y, p.z};
  float o[3];
  for (int r = 0; r < 3; ++r) o[r] = mat.m[r][0] * v[0] + mat.m[r][1] * v[1] + mat.m[r][2] * v[2];
  out->x = o[0];
  out->y = o[1];
  out->z = o[2];
}

void Kt3X3FloatMat::setDiagonal(float f) {
  for (int i = 0; i < 3; ++i) m[i][i] = f;
}

void Kt3X3FloatMat::multiply(float f) {
  for (int r = 0; r < 3; ++r) row(r).scale(f);
}

void Kt3X3FloatMat::add(const Kt3X3FloatMat& other) {
  _addMatrix(m, m, other.m);
}

void Kt3X3FloatMat::transpose() {
  _transposeMatrix(m, m);
}

bool Kt3X3FloatMat::operator==(const Kt3X3FloatMat& other) const {
  for (int r = 0; r < 3; ++r)
    if (!(row(r) == other.row(r))) return false;
  return true;
}

bool Kt3X3FloatMat::isValid() const {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      if (m[r][c] != m[r][c]) return false;
  return true;
}

void Kt3X3FloatMat::findAngles(float angles[3], const int order[3]) const {
  KtGetDecomposedRotationMatrix(angles, order, *this);
}

void Kt3X3FloatMat::printOn(std::ostream& out) const {
  out << "[\n";
  row(0).printOn(out);
  out << "\n ";
  row(1).printOn(out);
  out << "\n ";
  row(2).printOn(out);
  out << "\n]";
  out.flush();
}
