#ifndef KT_LIST_H
#define KT_LIST_H

#include <cstdio>
#include <cstdlib>

#include "toolkit/KtDoubleLinkedList.h"

// Walks a KtList from the front for a range-for loop, passing over nodes
// that a cursor has removed but still stands on. Ref is T& or const T&. The
// loop may change the elements but not add or remove any; a KtListCursor
// does that.
template <class T, class Ref>
class KtListIterator {
 public:
  explicit KtListIterator(Kt_DoubleLinkedList_Node* node) : _node(_live(node)) {}

  Ref operator*() const { return *static_cast<T*>(_node->data); }
  KtListIterator& operator++() {
    _node = _live(_node->next);
    return *this;
  }
  bool operator==(const KtListIterator& other) const { return _node == other._node; }
  bool operator!=(const KtListIterator& other) const { return _node != other._node; }

 private:
  static Kt_DoubleLinkedList_Node* _live(Kt_DoubleLinkedList_Node* node) {
    while (node && node->deleted) node = node->next;
    return node;
  }

  Kt_DoubleLinkedList_Node* _node;
};

// A typed list: each node points to a heap copy of the appended T, which the
// list owns and deletes on removal. For a pointer type T the copy is the
// pointer value; the object pointed to is not owned. Loops over it read
//   for (const KtStr& name : names) ...
template <class T>
class KtList : public KtDoubleLinkedList {
 public:
  using iterator = KtListIterator<T, T&>;
  using const_iterator = KtListIterator<T, const T&>;

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
    // other may be this list: the copies go behind the walk, which stops
    // after the elements that were there before.
    int n = other.count();
    for (const T& v : other) {
      if (n-- == 0) break;
      append(v);
    }
    return *this;
  }

  iterator begin() { return iterator(_firstNode()); }
  iterator end() { return iterator(nullptr); }
  const_iterator begin() const { return const_iterator(_firstNode()); }
  const_iterator end() const { return const_iterator(nullptr); }

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
