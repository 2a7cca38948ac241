#ifndef KT_INT_ARRAY_H
#define KT_INT_ARRAY_H

#include "toolkit/math/KtNumericArray.h"

// An int array with element-wise arithmetic; division truncates toward zero.
class KtIntArray : public KtNumericArray<int, KtIntArray> {
 public:
  using KtNumericArray<int, KtIntArray>::KtNumericArray;
  KtIntArray(const KtIntArray&) = default;
};

#endif
