#include "toolkit/math/Kt4X4FloatMat.h"

#include <cmath>
#include <ostream>

#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/KtEulerAngles.h"
#include "toolkit/math/KtPoint.h"

namespace {

Kt4X4FloatMat makeIdentity() {
  Kt4X4FloatMat id;
  id = 1.0f;
  return id;
}

// The cofactor expansion of the sub-determinants below, with the size known
// at compile time: the same products and sums in the same order as the
// general expansion (so the same float results), without its recursion
// through index lists of run-time length. The inverse is the channel
// conversion's hottest step.
template <int N>
struct Expansion {
  // The determinant of the rows and columns named, expanded along the
  // first row.
  static float determinant(const float a[4][4], const int* rows, const int* cols) {
    float det = 0.0f;
    for (int c = 0; c < N; ++c) det += a[rows[0]][cols[c]] * cofactor(a, rows, cols, 0, c);
    return det;
  }
  static float cofactor(const float a[4][4], const int* rows, const int* cols, int r, int c) {
    int subRows[N - 1];
    int subCols[N - 1];
    for (int i = 0, k = 0; i < N; ++i)
      if (i != r) subRows[k++] = rows[i];
    for (int i = 0, k = 0; i < N; ++i)
      if (i != c) subCols[k++] = cols[i];
    const float minor = Expansion<N - 1>::determinant(a, subRows, subCols);
    return (r + c) % 2 == 0 ? minor : -minor;
  }
};

template <>
struct Expansion<1> {
  static float determinant(const float a[4][4], const int* rows, const int* cols) {
    return a[rows[0]][cols[0]];
  }
};

}  // namespace

const Kt4X4FloatMat Kt4X4FloatMat::MultiplicativeIdentity = makeIdentity();
const int Kt4X4FloatMat::Map[4] = {0, 1, 2, 3};
Kt4X4FloatMat::MultFunc Kt4X4FloatMat::_multfunc = &Kt4X4FloatMat::_multiply;

void Kt4X4FloatMat::KtRow::scale(float f) {
  for (int c = 0; c < 4; ++c) _v[c] *= f;
}

bool Kt4X4FloatMat::KtRow::operator==(const KtRow& other) const {
  for (int c = 0; c < 4; ++c)
    if (_v[c] != other._v[c]) return false;
  return true;
}

void Kt4X4FloatMat::KtRow::printOn(std::ostream& out) const {
  out << "[";
  for (int c = 0; c < 4; ++c) {
    if (c > 0) out << "  ";
    out.width(14);
    out << _v[c];
  }
  out << "]";
  out.flush();
}

Kt4X4FloatMat& Kt4X4FloatMat::operator=(float f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c ? f : 0.0f;
  return *this;
}

void Kt4X4FloatMat::_multiply(float out[4][4], const float a[4][4], const float b[4][4]) {
  float t[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 4; ++k) s += a[i][k] * b[k][j];
      t[i][j] = s;
    }
  _copyMatrix(out, t);
}

void Kt4X4FloatMat::_preMultVector(float out[4], const float v[4], const float a[4][4]) {
  float t[4];
  for (int c = 0; c < 4; ++c) {
    float s = 0.0f;
    for (int r = 0; r < 4; ++r) s += v[r] * a[r][c];
    t[c] = s;
  }
  _copyVector(out, t);
}

void Kt4X4FloatMat::_postMultVector(float out[4], const float a[4][4], const float v[4]) {
  float t[4];
  for (int r = 0; r < 4; ++r) {
    float s = 0.0f;
    for (int c = 0; c < 4; ++c) s += a[r][c] * v[c];
    t[r] = s;
  }
  _copyVector(out, t);
}

void Kt4X4FloatMat::_preMultPoint(KtPoint* out, const KtPoint& p, const Kt4X4FloatMat& mat) {
  const float(*a)[4] = mat.m;
  const float x = p.x, y = p.y, z = p.z;
  const float w = x * a[0][3] + y * a[1][3] + z * a[2][3] + a[3][3];
  float o[3];
  for (int c = 0; c < 3; ++c) o[c] = (x * a[0][c] + y * a[1][c] + z * a[2][c] + a[3][c]) / w;
  out->x = o[0];
  out->y = o[1];
  out->z = o[2];
}

void Kt4X4FloatMat::_postMultPoint(KtPoint* out, const Kt4X4FloatMat& mat, const KtPoint& p) {
  const float(*a)[4] = mat.m;
  const float x = p.x, y = p.y, z = p.z;
  const float w = a[3][0] * x + a[3][1] * y + a[3][2] * z + a[3][3];
  float o[3];
  for (int r = 0; r < 3; ++r) o[r] = (a[r][0] * x + a[r][1] * y + a[r][2] * z + a[r][3]) / w;
  out->x = o[0];
  out->y = o[1];
  out->z = o[2];
}

void Kt4X4FloatMat::_addFloat(float out[4][4], const float a[4][4], float f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = a[r][c] + f;
}

void Kt4X4FloatMat::_addMatrix(float out[4][4], const float a[4][4], const float b[4][4]) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = a[r][c] + b[r][c];
}

void Kt4X4FloatMat::_subMatrix(float out[4][4], const float a[4][4], const float b[4][4]) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = a[r][c] - b[r][c];
}

void Kt4X4FloatMat::_copyMatrix(float out[4][4], const float a[4][4]) {
  if (out == a) return;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = a[r][c];
}

void Kt4X4FloatMat::_transposeMatrix(float out[4][4], const float a[4][4]) {
  float t[4][4];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) t[c][r] = a[r][c];
  _copyMatrix(out, t);
}

void Kt4X4FloatMat::_copyVector(float out[4], const float v[4]) {
  for (int i = 0; i < 4; ++i) out[i] = v[i];
}

void Kt4X4FloatMat::_invertMatrix(float out[4][4], const float a[4][4]) {
  const float det = _matrixDeterminant(a);
  float t[4][4];
  _transposeMatrix(t, a);
  float inv[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) inv[i][j] = _matrixCofactor(t, i, j) / det;
  _copyMatrix(out, inv);
}

void Kt4X4FloatMat::_extractRotMatrix(float out[3][3], const float a[4][4]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][c];
}

void Kt4X4FloatMat::_replaceRotMatrix(float a[4][4], const float r[3][3]) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a[i][j] = r[i][j];
}

float Kt4X4FloatMat::_sinCosAngle(float s, float c) {
  if (s > 1.0f) s = 1.0f;
  if (s < -1.0f) s = -1.0f;
  double a = std::asin(static_cast<double>(s));
  if (c < 0.0f) a = 3.14159265359 - a;
  return static_cast<float>(a);
}

void Kt4X4FloatMat::_removePosFromIntVec(int* out, const int* in, int n, int pos) {
  int k = 0;
  for (int i = 0; i < n; ++i)
    if (i != pos) out[k++] = in[i];
}

float Kt4X4FloatMat::_matrixDeterminant(const float a[4][4]) {
  return Expansion<4>::determinant(a, Map, Map);
}

float Kt4X4FloatMat::_matrixCofactor(const float a[4][4], int r, int c) {
  return Expansion<4>::cofactor(a, Map, Map, r, c);
}

float Kt4X4FloatMat::_matrixSubDeterminant(const float a[4][4], const int* rows, const int* cols,
                                           int n) {
  if (n == 1) return a[rows[0]][cols[0]];
  float det = 0.0f;
  for (int c = 0; c < n; ++c)
    det += a[rows[0]][cols[c]] * _matrixSubCofactor(a, rows, cols, 0, c, n);
  return det;
}

float Kt4X4FloatMat::_matrixSubCofactor(const float a[4][4], const int* rows, const int* cols,
                                        int r, int c, int n) {
  const float minor = _matrixSubMinor(a, rows, cols, r, c, n);
  return (r + c) % 2 == 0 ? minor : -minor;
}

float Kt4X4FloatMat::_matrixSubMinor(const float a[4][4], const int* rows, const int* cols, int r,
                                     int c, int n) {
  int subRows[4];
  int subCols[4];
  _removePosFromIntVec(subRows, rows, n, r);
  _removePosFromIntVec(subCols, cols, n, c);
  return _matrixSubDeterminant(a, subRows, subCols, n - 1);
}

float Kt4X4FloatMat::_subDeterminant(const int* rows, const int* cols, int n) const {
  return _matrixSubDeterminant(m, rows, cols, n);
}

float Kt4X4FloatMat::_subCofactor(const int* rows, const int* cols, int r, int c, int n) const {
  return _matrixSubCofactor(m, rows, cols, r, c, n);
}

float Kt4X4FloatMat::_subMinor(const int* rows, const int* cols, int r, int c, int n) const {
  return _matrixSubMinor(m, rows, cols, r, c, n);
}

void Kt4X4FloatMat::setDiagonal(float f) {
  for (int i = 0; i < 4; ++i) m[i][i] = f;
}

void Kt4X4FloatMat::multiply(float f) {
  for (int r = 0; r < 4; ++r) row(r).scale(f);
}

void Kt4X4FloatMat::transpose() {
  _transposeMatrix(m, m);
}

bool Kt4X4FloatMat::operator==(const Kt4X4FloatMat& other) const {
  for (int r = 0; r < 4; ++r)
    if (!(row(r) == other.row(r))) return false;
  return true;
}

bool Kt4X4FloatMat::isValid() const {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (m[r][c] != m[r][c]) return false;
  return true;
}

void Kt4X4FloatMat::findAngles(float angles[3], const int order[3]) const {
  Kt3X3FloatMat r;
  getUpperLeft3X3Mat(&r);
  KtGetDecomposedRotationMatrix(angles, order, r);
}

Kt4X4FloatMat& Kt4X4FloatMat::invert() {
  _invertMatrix(m, m);
  return *this;
}

Kt4X4FloatMat& Kt4X4FloatMat::adjoint() {
  float t[4][4];
  _transposeMatrix(t, m);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = _matrixCofactor(t, i, j);
  return *this;
}

void Kt4X4FloatMat::getUpperLeft3X3Mat(Kt3X3FloatMat* out) const {
  _extractRotMatrix(out->m, m);
}

void Kt4X4FloatMat::setUpperLeft3X3Mat(const Kt3X3FloatMat& r) {
  _replaceRotMatrix(m, r.m);
}

void Kt4X4FloatMat::printOn(std::ostream& out) const {
  out << "[\n";
  for (int r = 0; r < 4; ++r) {
    if (r > 0) out << "\n ";
    row(r).printOn(out);
  }
  out << "\n]";
  out.flush();
}
