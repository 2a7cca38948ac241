#include "toolkit/math/KtSmooth.h"

namespace {

float smoothed(float a, float b, float p, float c, float d) {
  const float e = ((2.0f * b - a) + (2.0f * c - d)) * 0.5f;
  const float m = (b + c) * 0.5f;
  return ((e + p) * 0.5f + m) * 0.5f;
}

}  // namespace

void KtSmooth(KtArray<KtPoint>* points) {
  const int n = points->count();
  if (n < 5) return;
  KtArray<KtPoint> q(n);
  const KtArray<KtPoint>& p = *points;
  q[0] = p[0];
  q[1] = p[1];
  q[n - 2] = p[n - 2];
  q[n - 1] = p[n - 1];
  for (int i = 2; i <= n - 3; ++i) {
    q[i].x = smoothed(p[i - 2].x, p[i - 1].x, p[i].x, p[i + 1].x, p[i + 2].x);
    q[i].y = smoothed(p[i - 2].y, p[i - 1].y, p[i].y, p[i + 1].y, p[i + 2].y);
    q[i].z = smoothed(p[i - 2].z, p[i - 1].z, p[i].z, p[i + 1].z, p[i + 2].z);
  }
  points->setElements(q);
}
