#ifndef KT_ROTATION_KERNELS_H
#define KT_ROTATION_KERNELS_H

// In-place rotation steps shared by KtRotMatrix (3 x 3) and KtCoordSystem
// (4 x 4). Internal to the math layer: the classes' own members are the
// interface. Matrices are in row-vector form.

#include <cmath>

// Rows a and b of an elementary rotation applied first (M' = E . M), where E
// has c at [a][a] and [b][b], s at [a][b], -s at [b][a].
template <int N>
inline void KtMixRotationRows(float (&m)[N][N], int a, int b, float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  for (int col = 0; col < N; ++col) {
    const float ra = m[a][col];
    const float rb = m[b][col];
    m[a][col] = c * ra + s * rb;
    m[b][col] = -s * ra + c * rb;
  }
}

// Columns a and b of the same elementary rotation applied last (M' = M . E).
template <int N>
inline void KtMixRotationColumns(float (&m)[N][N], int a, int b, float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  for (int row = 0; row < N; ++row) {
    const float ca = m[row][a];
    const float cb = m[row][b];
    m[row][a] = ca * c - cb * s;
    m[row][b] = ca * s + cb * c;
  }
}

// R(u, a) about the axis u = (x, y, z), used as given, from c = cos a and
// s = sin a; the callers differ in the precision they take these in.
inline void KtFillAxisRotation(float r[3][3], float x, float y, float z, float c, float s) {
  const float t = 1.0f - c;
  r[0][0] = t * x * x + c;
  r[0][1] = t * x * y + s * z;
  r[0][2] = t * x * z - s * y;
  r[1][0] = t * x * y - s * z;
  r[1][1] = t * y * y + c;
  r[1][2] = t * y * z + s * x;
  r[2][0] = t * x * z + s * y;
  r[2][1] = t * y * z - s * x;
  r[2][2] = t * z * z + c;
}

#endif
