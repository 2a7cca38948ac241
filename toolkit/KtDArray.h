#ifndef KT_DARRAY_H
#define KT_DARRAY_H

#include "toolkit/KtArray.h"

// A KtArray whose assignment from another array first takes that array's
// size: a full copy.
template <class T>
class KtDArray : public KtArray<T> {
 public:
  explicit KtDArray(int n = 0) : KtArray<T>(n) {}
  KtDArray(int n, const T& v) : KtArray<T>(n, v) {}
  KtDArray(const KtArray<T>& other) : KtArray<T>(other) {}
  KtDArray(const KtDArray& other) : KtArray<T>(other) {}
  KtDArray(KtDArray&& other) noexcept : KtArray<T>(std::move(other)) {}

  KtDArray& operator=(const KtArray<T>& other) {
    if (&other == this) return *this;
    this->_resize(other.count());
    this->setElements(other);
    return *this;
  }
  KtDArray& operator=(const KtDArray& other) {
    return operator=(static_cast<const KtArray<T>&>(other));
  }
  KtDArray& operator=(KtDArray&& other) noexcept {
    if (&other != this) {
      this->_clear();
      std::swap(this->_data, other._data);
      std::swap(this->_size, other._size);
    }
    return *this;
  }
  KtDArray& operator=(const T& v) {
    KtArray<T>::operator=(v);
    return *this;
  }
};

#endif
