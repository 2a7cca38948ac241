#ifndef KT_NUMERIC_ARRAY_H
#define KT_NUMERIC_ARRAY_H

#include "toolkit/KtArray.h"

// The arithmetic shared by KtFloatArray and KtIntArray: element-wise
// operations over this array's size. An operand array shorter than this one
// is used over its own length only, so it is never read past its end.
template <class T, class Derived>
class KtNumericArray : public KtArray<T> {
 public:
  using KtArray<T>::KtArray;

  // Element k = start + s_k with the step accumulated, s_0 = 0.
  KtNumericArray(int n, T start, T step) : KtArray<T>(n) {
    T s = 0;
    for (int k = 0; k < n; ++k) {
      (*this)[k] = start + s;
      s += step;
    }
  }

  bool operator==(T v) const {
    for (int k = 0; k < this->count(); ++k)
      if (!((*this)[k] == v)) return false;
    return true;
  }
  // Compares this array's elements only; a shorter b cannot match them all.
  bool operator==(const Derived& b) const {
    if (b.count() < this->count()) return false;
    for (int k = 0; k < this->count(); ++k)
      if (!((*this)[k] == b[k])) return false;
    return true;
  }

  Derived& operator+=(T v) {
    return _apply([v](T& e) { e += v; });
  }
  Derived& operator-=(T v) {
    return _apply([v](T& e) { e -= v; });
  }
  Derived& operator*=(T v) {
    return _apply([v](T& e) { e *= v; });
  }
  Derived& operator/=(T v) {
    return _apply([v](T& e) { e /= v; });
  }
  Derived& operator+=(const Derived& b) {
    return _apply(b, [](T& e, T x) { e += x; });
  }
  Derived& operator-=(const Derived& b) {
    return _apply(b, [](T& e, T x) { e -= x; });
  }
  Derived& operator*=(const Derived& b) {
    return _apply(b, [](T& e, T x) { e *= x; });
  }
  Derived& operator/=(const Derived& b) {
    return _apply(b, [](T& e, T x) { e /= x; });
  }

  friend Derived operator+(const Derived& a, T v) { return Derived(a) += v; }
  friend Derived operator-(const Derived& a, T v) { return Derived(a) -= v; }
  friend Derived operator*(const Derived& a, T v) { return Derived(a) *= v; }
  friend Derived operator/(const Derived& a, T v) { return Derived(a) /= v; }
  friend Derived operator+(const Derived& a, const Derived& b) { return Derived(a) += b; }
  friend Derived operator-(const Derived& a, const Derived& b) { return Derived(a) -= b; }
  friend Derived operator*(const Derived& a, const Derived& b) { return Derived(a) *= b; }
  friend Derived operator/(const Derived& a, const Derived& b) { return Derived(a) /= b; }

 private:
  template <class F>
  Derived& _apply(F f) {
    for (int k = 0; k < this->count(); ++k) f((*this)[k]);
    return static_cast<Derived&>(*this);
  }
  template <class F>
  Derived& _apply(const Derived& b, F f) {
    const int n = this->count() < b.count() ? this->count() : b.count();
    for (int k = 0; k < n; ++k) f((*this)[k], b[k]);
    return static_cast<Derived&>(*this);
  }
};

#endif
