#include "toolkit/KtDoubleLinkedList.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

using Node = Kt_DoubleLinkedList_Node;

// -- KtDoubleLinkedList --

KtDoubleLinkedList::KtDoubleLinkedList(const KtDoubleLinkedList& other) {
  operator&=(other);
}

KtDoubleLinkedList& KtDoubleLinkedList::operator=(const KtDoubleLinkedList& other) {
  if (&other != this) {
    _removeAllNodes();
    operator&=(other);
  }
  return *this;
}

KtDoubleLinkedList::~KtDoubleLinkedList() {
  _removeAllNodes();
}

void KtDoubleLinkedList::_removeAllNodes() {
  Node* node = _first;
  while (node) {
    Node* next = node->next;
    delete node;
    node = next;
  }
  _first = _last = nullptr;
  _count = 0;
}

void KtDoubleLinkedList::prepend(void* data) {
  if (_first)
    _linkBefore(_first, data);
  else
    _linkAfter(nullptr, data);
}

void KtDoubleLinkedList::append(void* data) {
  _linkAfter(_last, data);
}

void KtDoubleLinkedList::_linkBefore(Node* at, void* data) {
  Node* node = new Node;
  node->data = data;
  node->next = at;
  node->prev = at->prev;
  if (at->prev)
    at->prev->next = node;
  else
    _first = node;
  at->prev = node;
  _count++;
}

// After at; a null at means an empty list.
void KtDoubleLinkedList::_linkAfter(Node* at, void* data) {
  Node* node = new Node;
  node->data = data;
  node->prev = at;
  if (at) {
    node->next = at->next;
    if (at->next)
      at->next->prev = node;
    else
      _last = node;
    at->next = node;
  } else {
    _first = _last = node;
  }
  _count++;
}

void KtDoubleLinkedList::_unlinkNode(Node* node) {
  if (node->prev)
    node->prev->next = node->next;
  else
    _first = node->next;
  if (node->next)
    node->next->prev = node->prev;
  else
    _last = node->prev;
  delete node;
}

void KtDoubleLinkedList::_deleteNode(Node* node) {
  node->deleted = 1;
  _count--;
  if (node->cursorCount == 0) _unlinkNode(node);
}

Node* KtDoubleLinkedList::_liveNode(int i) const {
  if (i < 0) return nullptr;
  for (Node* node = _first; node; node = node->next) {
    if (node->deleted) continue;
    if (i-- == 0) return node;
  }
  return nullptr;
}

void* KtDoubleLinkedList::remove(int i) {
  Node* node = _liveNode(i);
  if (!node) return nullptr;
  void* data = node->data;
  _deleteNode(node);
  return data;
}

void* KtDoubleLinkedList::_removeLast() {
  Node* node = _last;
  while (node && node->deleted) node = node->prev;
  if (!node) return nullptr;
  void* data = node->data;
  _deleteNode(node);
  return data;
}

void KtDoubleLinkedList::swap(const KtDLListCursor& a, const KtDLListCursor& b) {
  Node* na = a._currentNode();
  Node* nb = b._currentNode();
  if (!na || !nb || na == nb) return;
  void* data = na->data;
  na->data = nb->data;
  nb->data = data;
}

void* KtDoubleLinkedList::operator[](int i) const {
  Node* node = _liveNode(i);
  if (!node) {
    std::printf("KtDoubleLinkedList::operator [] (int) : element %d not found!\n", i);
    std::fflush(stdout);
    return nullptr;
  }
  return node->data;
}

KtDoubleLinkedList& KtDoubleLinkedList::operator&=(const KtDoubleLinkedList& other) {
  int n = other._count;  // other may be this list
  for (Node* node = other._first; node && n > 0; node = node->next) {
    if (node->deleted) continue;
    append(node->data);
    n--;
  }
  return *this;
}

void Kt_PtrListCopy(KtDoubleLinkedList* dst, const KtDoubleLinkedList& src) {
  *dst &= src;
}

std::ostream& operator<<(std::ostream& out, const KtDoubleLinkedList& list) {
  out << "[\n";
  if (list.count() == 0) out << "Empty\n";
  for (Node* node = list._firstNode(); node; node = node->next)
    if (!node->deleted) out << "   " << node->data << "\n";
  return out << "]";
}

// -- Kt_DLListCursor --

void Kt_DLListCursor::_enter(Node* node) {
  _node = node;
  if (node) node->cursorCount++;
}

void Kt_DLListCursor::_leave() {
  Node* node = _node;
  _node = nullptr;
  if (node && --node->cursorCount == 0 && node->deleted) _removeNode(node);
}

void Kt_DLListCursor::seekFirst() {
  _leave();
  inc();
}

void Kt_DLListCursor::seekLast() {
  _leave();
  dec();
}

void Kt_DLListCursor::seek(int i) {
  _leave();
  Node* node = _listPtr()->_liveNode(i);
  _enter(node);
  _atEnd = node ? 0 : 1;
}

void Kt_DLListCursor::inc() {
  Node* next = _node ? _node->next : _listPtr()->_firstNode();
  _leave();
  while (next) {
    _enter(next);
    if (!next->deleted) {
      _atEnd = 0;
      return;
    }
    next = next->next;
    _leave();
  }
  _atEnd = 1;
}

void Kt_DLListCursor::dec() {
  Node* prev;
  if (_node) {
    prev = _node->prev;
  } else {
    prev = _listPtr()->_lastNode();
    _atEnd = 0;
  }
  _leave();
  while (prev) {
    _enter(prev);
    if (!prev->deleted) return;
    prev = prev->prev;
    _leave();
  }
  if (_listPtr()->count() == 0) _atEnd = 1;
}

int Kt_DLListCursor::position() const {
  if (!_node) return -1;
  int i = 0;
  for (Node* node = _listPtr()->_firstNode(); node && node != _node; node = node->next)
    if (!node->deleted) i++;
  return i;
}

void* Kt_DLListCursor::data() const {
  if (!_node) return nullptr;
  if (_node->deleted) {
    std::printf("Kt_DLListCursor::data(): retrieving data from deleted node.\n");
    std::fflush(stdout);
    std::abort();
  }
  return _node->data;
}

// -- KtDLListReadCursor --

KtDLListReadCursor::KtDLListReadCursor(const KtDoubleLinkedList& list) : _list(&list) {
  seekFirst();
}

KtDLListReadCursor::~KtDLListReadCursor() {
  _leave();
}

void KtDLListReadCursor::_removeNode(Node* node) {
  // The list's end pointers are not ours to move: a deleted end node stays
  // linked (every traversal skips it) until the list goes.
  if (node != _list->_first && node != _list->_last)
    const_cast<KtDoubleLinkedList*>(_list)->_unlinkNode(node);
}

// -- KtDLListCursor --

KtDLListCursor::KtDLListCursor(KtDoubleLinkedList& list) : _list(&list) {
  seekFirst();
}

KtDLListCursor::~KtDLListCursor() {
  _leave();
}

void KtDLListCursor::_removeNode(Node* node) {
  _list->_unlinkNode(node);
}

void KtDLListCursor::setData(void* data) {
  if (_node) _node->data = data;
}

void KtDLListCursor::insert(void* data) {
  if (!_node)
    _list->append(data);
  else if (_node == _list->_first)
    _list->prepend(data);
  else
    _list->_linkBefore(_node, data);
}

void KtDLListCursor::append(void* data) {
  if (!_node)
    _list->prepend(data);
  else if (_node == _list->_last)
    _list->append(data);
  else
    _list->_linkAfter(_node, data);
}

void* KtDLListCursor::remove() {
  void* result = data();
  if (_node) {
    _node->deleted = 1;
    _list->_count--;
  }
  return result;
}

// -- KtDLListIter --

KtDLListIter::KtDLListIter(const KtDoubleLinkedList& list) : _list(&list) {
  _moveTo(list._first);
  _skipDeleted();
}

KtDLListIter::~KtDLListIter() {
  _moveTo(nullptr);
}

void KtDLListIter::_moveTo(Node* node) {
  Node* old = _node;
  _node = node;
  if (node) node->cursorCount++;
  if (old && --old->cursorCount == 0 && old->deleted && old != _list->_first && old != _list->_last)
    const_cast<KtDoubleLinkedList*>(_list)->_unlinkNode(old);
}

void KtDLListIter::_skipDeleted() {
  while (_node && _node->deleted) _moveTo(_node->next);
}

void* KtDLListIter::next() {
  _skipDeleted();
  if (!_node) return nullptr;
  void* data = _node->data;
  _moveTo(_node->next);
  _skipDeleted();
  return data;
}

bool KtDLListIter::atEnd() {
  _skipDeleted();
  return _node == nullptr;
}
