#ifndef KT_FLOAT_ARRAY_H
#define KT_FLOAT_ARRAY_H

#include "toolkit/math/KtNumericArray.h"

// A float array with element-wise arithmetic in single precision.
class KtFloatArray : public KtNumericArray<float, KtFloatArray> {
 public:
  using KtNumericArray<float, KtFloatArray>::KtNumericArray;
  KtFloatArray(const KtFloatArray&) = default;
};

#endif
