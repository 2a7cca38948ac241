#ifndef KT_3X3_FLOAT_MAT_H
#define KT_3X3_FLOAT_MAT_H

#include <iosfwd>

class KtPoint;

// A 3 x 3 float matrix, row-major ([row][column]); a plain value copied
// bitwise. The static routines work on raw arrays; their result may be one of
// the operands, because every product is formed in a temporary first.
class Kt3X3FloatMat {
 public:
  // One row of three floats, a view onto the matrix's own storage.
  class KtRow {
   public:
    explicit KtRow(float* v) : _v(v) {}
    float& operator[](int c) { return _v[c]; }
    float operator[](int c) const { return _v[c]; }
    void scale(float f);
    KtRow& operator/=(float f);
    KtRow& operator-=(const KtRow& other);
    bool operator==(const KtRow& other) const;
    void printOn(std::ostream& out) const;

   private:
    float* _v;
  };

  float m[3][3];

  static const Kt3X3FloatMat MultiplicativeIdentity;
  static const int Map[3];

  Kt3X3FloatMat() : m{} {}
  Kt3X3FloatMat(float f);
  Kt3X3FloatMat& operator=(float f);

  float* operator[](int r) { return m[r]; }
  const float* operator[](int r) const { return m[r]; }
  KtRow row(int r) { return KtRow(m[r]); }
  KtRow row(int r) const { return KtRow(const_cast<float*>(m[r])); }

  static void _multiply(float out[3][3], const float a[3][3], const float b[3][3]);
  static void _multScalar(float out[3][3], const float a[3][3], float f);
  static void _addFloat(float out[3][3], const float a[3][3], float f);
  static void _subFloat(float out[3][3], const float a[3][3], float f);
  static void _addMatrix(float out[3][3], const float a[3][3], const float b[3][3]);
  static void _subMatrix(float out[3][3], const float a[3][3], const float b[3][3]);
  static void _copyMatrix(float out[3][3], const float a[3][3]);
  static void _transposeMatrix(float out[3][3], const float a[3][3]);
  static void _preMultPoint(KtPoint* out, const KtPoint& p, const Kt3X3FloatMat& mat);
  static void _postMultPoint(KtPoint* out, const Kt3X3FloatMat& mat, const KtPoint& p);

  void setDiagonal(float f);
  void multiply(float f);
  void add(const Kt3X3FloatMat& other);
  void transpose();
  bool operator==(const Kt3X3FloatMat& other) const;
  bool isValid() const;
  void findAngles(float angles[3], const int order[3]) const;
  void printOn(std::ostream& out) const;
};

#endif
