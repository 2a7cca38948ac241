#ifndef KT_LIST_H
#define KT_LIST_H

#include <cstdio>
#include <cstdlib>

#include "toolkit/KtDoubleLinkedList.h"

// A typed list: each node points to a heap copy of the appended T, which the
// list owns and deletes on removal. For a pointer type T the copy is the
// pointer value; the object pointed to is not owned.
template <class T>
class KtList : public KtDoubleLinkedList {
 public:
  KtList() = default;
  // Deep: every element is copied.
  KtList(const KtList& other) : KtDoubleLinkedList() { operator&=(other); }
  KtList& operator=(const KtList& other) {
    if (&other != this) {
      _clear();
      operator&=(other);
    }
    return *this;
  }
  ~KtList() override { _clear(); }

  void append(const T& v) { KtDoubleLinkedList::append(new T(v)); }
  void prepend(const T& v) { KtDoubleLinkedList::prepend(new T(v)); }
  // Appends copies of other's elements.
  KtList& operator&=(const KtList& other) {
    int n = other.count();  // other may be this list
    KtDLListIter it(other);
    while (n-- > 0 && !it.atEnd()) append(*static_cast<T*>(it.next()));
    return *this;
  }

  // The i-th element, or null (with the not-found message) when missing.
  T* at(int i) const { return static_cast<T*>(KtDoubleLinkedList::operator[](i)); }
  // The i-th element; a missing one is reported and aborts.
  T& operator[](int i) const {
    T* p = at(i);
    if (!p) std::abort();
    return *p;
  }
  T& first() const { return operator[](0); }
  T& last() const { return operator[](count() - 1); }

  // Removes the i-th live element (deleting its copy).
  void remove(int i) { delete static_cast<T*>(KtDoubleLinkedList::remove(i)); }
  void removeLast() { delete static_cast<T*>(KtDoubleLinkedList::_removeLast()); }
  // Removes every element from the end, deleting each copy.
  void _clear() {
    while (count() > 0) removeLast();
  }
};

// A cursor over a modifiable KtList<T>; insert, append and remove work on
// heap copies owned by the list.
template <class T>
class KtListCursor : public KtDLListCursor {
 public:
  explicit KtListCursor(KtList<T>& list) : KtDLListCursor(list) {}

  T& item() const { return *static_cast<T*>(data()); }
  void setItem(const T& v) { item() = v; }
  void insert(const T& v) { KtDLListCursor::insert(new T(v)); }
  void append(const T& v) { KtDLListCursor::append(new T(v)); }
  // Removes the current element and deletes its copy; the cursor may still
  // move on from there.
  void remove() { delete static_cast<T*>(KtDLListCursor::remove()); }
};

// A cursor over a KtList<T> it may not change.
template <class T>
class KtListReadCursor : public KtDLListReadCursor {
 public:
  explicit KtListReadCursor(const KtList<T>& list) : KtDLListReadCursor(list) {}
  const T& item() const { return *static_cast<const T*>(data()); }
};

// A light typed iterator: next() gives a pointer to the next element, null
// when exhausted.
template <class T>
class KtListIter {
 public:
  explicit KtListIter(const KtList<T>& list) : _iter(list) {}
  T* next() { return static_cast<T*>(_iter.next()); }
  bool atEnd() { return _iter.atEnd(); }

 private:
  KtDLListIter _iter;
};

#endif
