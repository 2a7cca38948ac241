#ifndef KT_ARRAY_H
#define KT_ARRAY_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Storage failure of the containers: a message and an abnormal end, since
// there is no way to go on without the memory.
[[noreturn]] inline void Kt_ArrayAllocationFailed() {
  std::fputs("Memory allocation failed\n", stderr);
  std::abort();
}

// An exactly sized array: the storage always holds exactly count()
// elements, so every change of size reallocates once. Elements added by
// growth are value-initialised (numbers become zero). Trivially copyable
// elements are moved by realloc; all others are move-constructed into the
// new storage and destroyed in the old.
//
// Assignment from another array keeps this array's size (see setElements);
// KtDArray is the array whose assignment resizes.
template <class T>
class KtArray {
 public:
  explicit KtArray(int n = 0) { _resize(n); }
  KtArray(int n, const T& v) { _resize(n, v); }
  KtArray(const KtArray& other) {
    _realloc(other._size);
    for (int i = 0; i < _size; i++) new (_data + i) T(other._data[i]);
  }
  KtArray(KtArray&& other) noexcept : _data(other._data), _size(other._size) {
    other._data = nullptr;
    other._size = 0;
  }
  ~KtArray() { _clear(); }

  // Assigns other's first elements to this array's, one by one; the size
  // does not change. A shorter other leaves the remaining elements alone.
  void setElements(const KtArray& other) {
    if (&other == this) return;
    int n = _size < other._size ? _size : other._size;
    for (int i = 0; i < n; i++) _data[i] = other._data[i];
  }
  KtArray& operator=(const KtArray& other) {
    setElements(other);
    return *this;
  }
  KtArray& operator=(const T& v) {
    for (int i = 0; i < _size; i++) _data[i] = v;
    return *this;
  }

  T& operator[](int i) { return _data[i]; }
  const T& operator[](int i) const { return _data[i]; }
  int count() const { return _size; }
  bool isEmpty() const { return _size == 0; }
  T* data() { return _data; }
  const T* data() const { return _data; }
  T* begin() { return _data; }
  T* end() { return _data + _size; }
  const T* begin() const { return _data; }
  const T* end() const { return _data + _size; }

  // Grows by one element (one reallocation) holding a copy of v.
  void append(const T& v) {
    T copy(v);  // v may live in this array
    _realloc(_size + 1);
    new (_data + _size - 1) T(std::move(copy));
  }

  void _resize(int n) {
    int old = _size;
    _realloc(n);
    for (int i = old; i < _size; i++) new (_data + i) T();
  }
  void _resize(int n, const T& v) {
    int old = _size;
    if (n > old) {
      T copy(v);  // v may live in this array
      _realloc(n);
      for (int i = old; i < _size; i++) new (_data + i) T(copy);
    } else {
      _realloc(n);
    }
  }

  // Changes the storage to exactly n elements. Elements from n on are
  // destroyed; added slots are left raw for the caller to construct.
  void _realloc(int n) {
    if (n < 0) n = 0;
    if (n == _size) return;
    if (n == 0) {
      _clear();
      return;
    }
    for (int i = n; i < _size; i++) _data[i].~T();
    if ((size_t)n > (size_t)-1 / sizeof(T)) Kt_ArrayAllocationFailed();
    if constexpr (std::is_trivially_copyable<T>::value) {
      void* p = std::realloc(static_cast<void*>(_data), (size_t)n * sizeof(T));
      if (!p) Kt_ArrayAllocationFailed();
      _data = static_cast<T*>(p);
    } else {
      T* p = static_cast<T*>(std::malloc((size_t)n * sizeof(T)));
      if (!p) Kt_ArrayAllocationFailed();
      int keep = n < _size ? n : _size;
      for (int i = 0; i < keep; i++) {
        new (p + i) T(std::move(_data[i]));
        _data[i].~T();
      }
      std::free(_data);
      _data = p;
    }
    _size = n;
  }

  void _clear() {
    for (int i = 0; i < _size; i++) _data[i].~T();
    std::free(static_cast<void*>(_data));
    _data = nullptr;
    _size = 0;
  }

 protected:
  T* _data = nullptr;
  int _size = 0;
};

#endif
