#ifndef KT_POINT_H
#define KT_POINT_H

#include <iosfwd>

class Kt3X3FloatMat;
class Kt4X4FloatMat;

// A point or vector of three floats; a plain value copied bitwise.
class KtPoint {
 public:
  float x;
  float y;
  float z;

  KtPoint() : x(0.0f), y(0.0f), z(0.0f) {}

  // this = this . m (row vector times matrix).
  void applyMatrix(const Kt3X3FloatMat& m);
  // Homogeneous transform of (x, y, z, 1) by m, divided by w.
  void applyMatrix(const Kt4X4FloatMat& m);

  // Strict lexicographic order on (x, y, z).
  bool operator<(const KtPoint& p) const;
  bool operator>(const KtPoint& p) const;
};

std::ostream& operator<<(std::ostream& out, const KtPoint& p);

void KtGetCrossProduct(KtPoint* out, const KtPoint& a, const KtPoint& b);
float KtDotProduct(const KtPoint& a, const KtPoint& b);
KtPoint KtTriangleNormal(const KtPoint& a, const KtPoint& b, const KtPoint& c);
void KtArbitraryPerpendicular(KtPoint* out, const KtPoint& v);
void KtReorthogonalize(Kt3X3FloatMat* m);

#endif
