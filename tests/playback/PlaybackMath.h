#ifndef PLAYBACK_MATH_H
#define PLAYBACK_MATH_H

// Double-precision rotations and rigid transforms for the play-back tests,
// kept apart from the library's single-precision math so that the model of
// Raro and the Acclaim reference share no code with the converters. Points
// are row vectors (p' = p . M).

#include <cmath>

namespace playback {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

struct Mat3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
  Mat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

inline Vec3 operator*(const Vec3& p, const Mat3& a) {
  return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0],
          p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1],
          p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2]};
}

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double length(const Vec3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

inline Mat3 transpose(const Mat3& a) {
  Mat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
  return r;
}

// The elementary rotations, row-vector form:
// Rx = [[1,0,0],[0,c,s],[0,-s,c]], Ry = [[c,0,-s],[0,1,0],[s,0,c]],
// Rz = [[c,s,0],[-s,c,0],[0,0,1]]. axis: 0 = x, 1 = y, 2 = z.
inline Mat3 rotation(int axis, double a) {
  const double c = std::cos(a), s = std::sin(a);
  Mat3 r;
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;
  r.m[i][i] = c;
  r.m[i][j] = s;
  r.m[j][i] = -s;
  r.m[j][j] = c;
  return r;
}

// The angle in degrees of the rotation that takes b to a.
inline double angleBetween(const Mat3& a, const Mat3& b) {
  const Mat3 d = a * transpose(b);
  double c = (d.m[0][0] + d.m[1][1] + d.m[2][2] - 1) / 2;
  if (c > 1) c = 1;
  if (c < -1) c = -1;
  return std::acos(c) * 180.0 / M_PI;
}

// A rigid transform: rotate, then translate (p' = p . r + t).
struct Transform {
  Mat3 r;
  Vec3 t;
};

// a then b: p . a . b.
inline Transform operator*(const Transform& a, const Transform& b) {
  return {a.r * b.r, a.t * b.r + b.t};
}

inline Transform inverse(const Transform& a) {
  const Mat3 rt = transpose(a.r);
  return {rt, (a.t * rt) * -1.0};
}

}  // namespace playback

#endif
