#include "toolkit/math/KtEulerAngles.h"

#include <cmath>

namespace {

const double kPi = 3.141592653589793;

// The elementary rotation about axis code 1, 2 or 3, in row-vector form.
Kt3X3FloatMat elementaryRotation(int axis, float angle) {
  const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
  Kt3X3FloatMat r(1.0f);
  const int a = axis % 3;        // the first mixed axis: Y for X, Z for Y, X for Z
  const int b = (axis + 1) % 3;  // the second mixed axis
  r.m[a][a] = c;
  r.m[a][b] = s;
  r.m[b][a] = -s;
  r.m[b][b] = c;
  return r;
}

// The rotation of position n of the order. A position that holds no axis
// code, or that the order does not have, turns nothing: a root whose ASF
// gives no axis keeps the all-zero order, and its frame must still be built
// without reading outside the angle triple.
Kt3X3FloatMat orderRotation(const float angles[3], const KtArray<int>& order, int n) {
  if (n >= order.count()) return Kt3X3FloatMat(1.0f);
  const int axis = order[n];
  if (axis < 1 || axis > 3) return Kt3X3FloatMat(1.0f);
  return elementaryRotation(axis, angles[axis - 1]);
}

Kt3X3FloatMat compose(const float angles[3], const KtArray<int>& order) {
  Kt3X3FloatMat acc = orderRotation(angles, order, 0);
  for (int n = 1; n < 3; ++n) {
    const Kt3X3FloatMat r = orderRotation(angles, order, n);
    Kt3X3FloatMat::_multiply(acc.m, r.m, acc.m);
  }
  return acc;
}

float clampUnit(float x) {
  return x > 1.0f ? 1.0f : (x < -1.0f ? -1.0f : x);
}

// Three distinct axes i, j, k (codes) with parity sigma.
void decomposeDistinct(float angles[3], int i, int j, int k, float sigma,
                       const Kt3X3FloatMat& mat) {
  auto M = [&mat](int a, int b) { return mat.m[a - 1][b - 1]; };
  const float x = M(k, i);
  double b =
      std::asin(std::fabs(static_cast<double>(x)) < 1.0 ? std::fabs(static_cast<double>(x)) : 1.0);
  if (x > 0.0f) b = -b;
  const float beta = static_cast<float>(b);
  float ai;
  float ak;
  if (std::fabs(std::cos(static_cast<double>(beta))) > 1e-6) {
    ak = std::atan2(sigma * M(j, i), M(i, i));
    ai = std::atan2(sigma * M(k, j), M(k, k));
  } else if (beta < 0.0f) {
    ak = 0.0f;
    ai = std::atan2(-sigma * M(i, j), -M(i, k));
  } else {
    ai = 0.0f;
    ak = std::atan2(sigma * M(j, k), M(j, j));
  }
  angles[i - 1] = ai;
  angles[j - 1] = sigma * beta;
  angles[k - 1] = ak;
}

// Orders that repeat the first axis: i, j, i; the angle of the last rotation
// goes to the slot of the axis the order does not name.
void decomposeRepeated(float angles[3], int i, int j, float sigma, const Kt3X3FloatMat& mat) {
  auto M = [&mat](int a, int b) { return mat.m[a - 1][b - 1]; };
  const int m = 6 - i - j;
  const float beta = static_cast<float>(std::acos(static_cast<double>(clampUnit(M(i, i)))));
  const float s = static_cast<float>(std::sin(static_cast<double>(beta)));
  float a1;
  float a3;
  if (std::fabs(s) > 1e-6f) {
    a1 = std::atan2(M(j, i) / s, -sigma * M(m, i) / s);
    a3 = std::atan2(M(i, j) / s, sigma * M(i, m) / s);
  } else {
    a3 = 0.0f;
    a1 = std::atan2(sigma * M(m, j), M(j, j));
  }
  angles[m - 1] = a1;
  angles[j - 1] = beta;
  angles[i - 1] = a3;
}

int cyclicSuccessor(int axis) {
  return axis % 3 + 1;
}

// Steps 2-4 of the selection on triples already in order sequence.
float wrapToward(float a[3], const float r[3]) {
  float dist = 0.0f;
  for (int n = 0; n < 3; ++n) {
    while (static_cast<double>(a[n]) > static_cast<double>(r[n]) + kPi)
      a[n] = static_cast<float>(static_cast<double>(a[n]) - 2.0 * kPi);
    while (static_cast<double>(a[n]) < static_cast<double>(r[n]) - kPi)
      a[n] = static_cast<float>(static_cast<double>(a[n]) + 2.0 * kPi);
    const float d = a[n] - r[n];
    dist = static_cast<float>(dist + std::pow(static_cast<double>(d), 2.0));
  }
  return dist;
}

void closestInSequence(float out[3], const float r[3], const float c[3]) {
  float a[3] = {c[0], c[1], c[2]};
  const float dA = wrapToward(a, r);
  float b[3] = {static_cast<float>(c[0] + kPi), static_cast<float>(kPi - c[1]),
                static_cast<float>(c[2] + kPi)};
  const float dB = wrapToward(b, r);
  const float* best = dA <= dB ? a : b;
  for (int n = 0; n < 3; ++n) out[n] = best[n];
}

}  // namespace

Kt3X3FloatMat KtComposeRotationMatrix(const KtArray<float>& angles, const KtArray<int>& order) {
  return compose(angles.data(), order);
}

Kt3X3FloatMat KtComposeRotationMatrix(const KtPoint& angles, const KtArray<int>& order) {
  const float a[3] = {angles.x, angles.y, angles.z};
  return compose(a, order);
}

void KtGetDecomposedRotationMatrix(float angles[3], const int order[3], const Kt3X3FloatMat& m) {
  angles[0] = angles[1] = angles[2] = 0.0f;
  const int i = order[0];
  int j = order[1];
  int k = order[2];
  const bool twoAxis = j != 0 && k == 0;
  if (j == 0) {
    j = cyclicSuccessor(i);
    k = cyclicSuccessor(j);
  } else if (k == 0) {
    k = 6 - i - j;
  }
  const float sigma = (j == i + 1 || j == i - 2) ? -1.0f : 1.0f;
  if (k != i)
    decomposeDistinct(angles, i, j, k, sigma, m);
  else
    decomposeRepeated(angles, i, j, sigma, m);

  if (twoAxis && std::fabs(angles[k - 1]) > kPi / 2.0) {
    angles[i - 1] = static_cast<float>(angles[i - 1] + kPi);
    angles[j - 1] = static_cast<float>(kPi - angles[j - 1]);
    angles[k - 1] = static_cast<float>(angles[k - 1] + kPi);
  }
}

void KtFindA(float* out, float s, float c) {
  *out = std::atan2(s, c);
}

void KtGetClosestAngles(float out[3], const float ref[3], const float cand[3], const int order[3]) {
  float r[3];
  float c[3];
  for (int n = 0; n < 3; ++n) {
    r[n] = ref[order[n] - 1];
    c[n] = cand[order[n] - 1];
  }
  float result[3];
  closestInSequence(result, r, c);
  for (int n = 0; n < 3; ++n) out[order[n] - 1] = result[n];
}

void KtGetClosestAngles(KtArray<float>* out, const KtArray<float>& ref, const KtArray<float>& cand,
                        const KtArray<int>& order) {
  KtGetClosestAngles(out->data(), ref.data(), cand.data(), order.data());
}

void KtGetClosestAngles(KtArray<float>* out, const KtArray<float>& ref,
                        const KtArray<float>& cand) {
  closestInSequence(out->data(), ref.data(), cand.data());
}

namespace {

void composeDouble(double m[3][3], const double angles[3], const int order[3]) {
  double acc[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int n = 0; n < 3; ++n) {
    const int axis = order[n];
    if (axis < 1 || axis > 3) continue;
    const double c = std::cos(angles[axis - 1]);
    const double s = std::sin(angles[axis - 1]);
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const int a = axis % 3;
    const int b = (axis + 1) % 3;
    r[a][a] = c;
    r[a][b] = s;
    r[b][a] = -s;
    r[b][b] = c;
    // acc = r . acc: the later positions of the order multiply on the left.
    double t[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        t[i][j] = r[i][0] * acc[0][j] + r[i][1] * acc[1][j] + r[i][2] * acc[2][j];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) acc[i][j] = t[i][j];
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = acc[i][j];
}

double wrapTowardDouble(double a[3], const double r[3]) {
  double dist = 0.0;
  for (int n = 0; n < 3; ++n) {
    // Whole turns at once, so that a far candidate costs no loop.
    a[n] -= 2.0 * kPi * std::round((a[n] - r[n]) / (2.0 * kPi));
    while (a[n] > r[n] + kPi) a[n] -= 2.0 * kPi;
    while (a[n] < r[n] - kPi) a[n] += 2.0 * kPi;
    dist += (a[n] - r[n]) * (a[n] - r[n]);
  }
  return dist;
}

}  // namespace

void KtComposeRotationMatrix(double m[3][3], const double angles[3], const int order[3]) {
  composeDouble(m, angles, order);
}

void KtGetDecomposedRotationMatrix(double angles[3], const int order[3], const double m[3][3]) {
  const int i = order[0];
  const int j = order[1];
  const int k = order[2];
  auto M = [m](int a, int b) { return m[a - 1][b - 1]; };
  const double sigma = (j == i + 1 || j == i - 2) ? -1.0 : 1.0;
  // The middle angle from its sine and its cosine together.
  const double cosBeta = std::hypot(M(i, i), M(j, i));
  const double beta = std::atan2(-M(k, i), cosBeta);
  double ai;
  double ak;
  if (cosBeta > 1e-9) {
    ak = std::atan2(sigma * M(j, i), M(i, i));
    ai = std::atan2(sigma * M(k, j), M(k, k));
  } else if (beta < 0.0) {
    ak = 0.0;
    ai = std::atan2(-sigma * M(i, j), -M(i, k));
  } else {
    ai = 0.0;
    ak = std::atan2(sigma * M(j, k), M(j, j));
  }
  angles[i - 1] = ai;
  angles[j - 1] = sigma * beta;
  angles[k - 1] = ak;
}

void KtGetClosestAngles(double out[3], const double ref[3], const double cand[3],
                        const int order[3]) {
  double r[3];
  double a[3];
  for (int n = 0; n < 3; ++n) {
    r[n] = ref[order[n] - 1];
    a[n] = cand[order[n] - 1];
  }
  double b[3] = {a[0] + kPi, kPi - a[1], a[2] + kPi};
  const double dA = wrapTowardDouble(a, r);
  const double dB = wrapTowardDouble(b, r);
  const double* best = dA <= dB ? a : b;
  for (int n = 0; n < 3; ++n) out[order[n] - 1] = best[n];
}
