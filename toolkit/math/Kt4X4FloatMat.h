#ifndef KT_4X4_FLOAT_MAT_H
#define KT_4X4_FLOAT_MAT_H

#include <iosfwd>

class KtPoint;
class Kt3X3FloatMat;

// A 4 x 4 float matrix, row-major ([row][column]); a plain value copied
// bitwise. Every 4 x 4 product outside this class goes through the
// replaceable _multfunc pointer.
class Kt4X4FloatMat {
 public:
  // One row of four floats, a view onto the matrix's own storage.
  class KtRow {
   public:
    explicit KtRow(float* v) : _v(v) {}
    float& operator[](int c) { return _v[c]; }
    float operator[](int c) const { return _v[c]; }
    void scale(float f);
    bool operator==(const KtRow& other) const;
    void printOn(std::ostream& out) const;

   private:
    float* _v;
  };

  using MultFunc = void (*)(float out[4][4], const float a[4][4], const float b[4][4]);

  float m[4][4];

  static const Kt4X4FloatMat MultiplicativeIdentity;
  static const int Map[4];
  static MultFunc _multfunc;

  Kt4X4FloatMat() : m{} {}
  Kt4X4FloatMat& operator=(float f);

  float* operator[](int r) { return m[r]; }
  const float* operator[](int r) const { return m[r]; }
  KtRow row(int r) { return KtRow(m[r]); }
  KtRow row(int r) const { return KtRow(const_cast<float*>(m[r])); }

  static void _multiply(float out[4][4], const float a[4][4], const float b[4][4]);
  static void _preMultVector(float out[4], const float v[4], const float a[4][4]);
  static void _postMultVector(float out[4], const float a[4][4], const float v[4]);
  static void _preMultPoint(KtPoint* out, const KtPoint& p, const Kt4X4FloatMat& mat);
  static void _postMultPoint(KtPoint* out, const Kt4X4FloatMat& mat, const KtPoint& p);
  static void _addFloat(float out[4][4], const float a[4][4], float f);
  static void _addMatrix(float out[4][4], const float a[4][4], const float b[4][4]);
  static void _subMatrix(float out[4][4], const float a[4][4], const float b[4][4]);
  static void _copyMatrix(float out[4][4], const float a[4][4]);
  static void _transposeMatrix(float out[4][4], const float a[4][4]);
  static void _copyVector(float out[4], const float v[4]);
  static void _invertMatrix(float out[4][4], const float a[4][4]);
  static void _extractRotMatrix(float out[3][3], const float a[4][4]);
  static void _replaceRotMatrix(float a[4][4], const float r[3][3]);
  static float _sinCosAngle(float s, float c);
  static void _removePosFromIntVec(int* out, const int* in, int n, int pos);
  static float _matrixDeterminant(const float a[4][4]);
  static float _matrixCofactor(const float a[4][4], int r, int c);
  static float _matrixSubDeterminant(const float a[4][4], const int* rows, const int* cols, int n);
  static float _matrixSubCofactor(const float a[4][4], const int* rows, const int* cols, int r,
                                  int c, int n);
  static float _matrixSubMinor(const float a[4][4], const int* rows, const int* cols, int r, int c,
                               int n);

  float _subDeterminant(const int* rows, const int* cols, int n) const;
  float _subCofactor(const int* rows, const int* cols, int r, int c, int n) const;
  float _subMinor(const int* rows, const int* cols, int r, int c, int n) const;

  void setDiagonal(float f);
  void multiply(float f);
  void transpose();
  bool operator==(const Kt4X4FloatMat& other) const;
  bool isValid() const;
  void findAngles(float angles[3], const int order[3]) const;
  Kt4X4FloatMat& invert();
  Kt4X4FloatMat& adjoint();
  void getUpperLeft3X3Mat(Kt3X3FloatMat* out) const;
  void setUpperLeft3X3Mat(const Kt3X3FloatMat& r);
  void printOn(std::ostream& out) const;
};

#endif
