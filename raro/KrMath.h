#ifndef KR_MATH_H
#define KR_MATH_H

// Double-precision rotations and rigid transforms of the Raro joint model.
// Points are row vectors (p' = p . M), as Raro composes its joints.

#include <cmath>

struct KrVec3 {
  double x = 0, y = 0, z = 0;
};

struct KrMat3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline KrMat3 operator*(const KrMat3& a, const KrMat3& b) {
  KrMat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

inline KrVec3 operator*(const KrVec3& p, const KrMat3& a) {
  return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0],
          p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1],
          p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2]};
}

inline KrVec3 operator+(const KrVec3& a, const KrVec3& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline KrVec3 operator*(const KrVec3& a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}

inline KrMat3 KrTranspose(const KrMat3& a) {
  KrMat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
  return r;
}

// The elementary rotations, row-vector form:
// Rx = [[1,0,0],[0,c,s],[0,-s,c]], Ry = [[c,0,-s],[0,1,0],[s,0,c]],
// Rz = [[c,s,0],[-s,c,0],[0,0,1]]. axis: 0 = x, 1 = y, 2 = z.
inline KrMat3 KrRotation(int axis, double a) {
  const double c = std::cos(a), s = std::sin(a);
  KrMat3 r;
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;
  r.m[i][i] = c;
  r.m[i][j] = s;
  r.m[j][i] = -s;
  r.m[j][j] = c;
  return r;
}

// A rigid transform: rotate, then translate (p' = p . r + t).
struct KrTransform {
  KrMat3 r;
  KrVec3 t;
};

// a then b: p . a . b.
inline KrTransform operator*(const KrTransform& a, const KrTransform& b) {
  return {a.r * b.r, a.t * b.r + b.t};
}

inline KrTransform KrInverse(const KrTransform& a) {
  const KrMat3 rt = KrTranspose(a.r);
  return {rt, (a.t * rt) * -1.0};
}

#endif
