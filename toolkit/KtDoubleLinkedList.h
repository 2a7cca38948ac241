#ifndef KT_DOUBLE_LINKED_LIST_H
#define KT_DOUBLE_LINKED_LIST_H

#include <iosfwd>

// One node of a KtDoubleLinkedList. A node removed while a cursor stands on
// it is only marked deleted; it is unlinked when the last cursor leaves it.
struct Kt_DoubleLinkedList_Node {
  void* data = nullptr;
  int deleted = 0;
  int cursorCount = 0;
  Kt_DoubleLinkedList_Node* next = nullptr;
  Kt_DoubleLinkedList_Node* prev = nullptr;
};

class KtDLListCursor;

// An untyped doubly linked list of void*. It owns its nodes, never the data
// they point to. Deleted nodes may stay linked while cursors stand on them;
// every traversal and every index skips them, and count() counts only the
// live ones.
class KtDoubleLinkedList {
 public:
  KtDoubleLinkedList() = default;
  // Shallow: the copy holds the same data pointers.
  KtDoubleLinkedList(const KtDoubleLinkedList& other);
  KtDoubleLinkedList& operator=(const KtDoubleLinkedList& other);
  virtual ~KtDoubleLinkedList();

  void prepend(void* data);
  void append(void* data);
  // Removes the i-th live element and returns its data.
  void* remove(int i);
  // Exchanges the data of the two cursors' nodes, unless both stand at the
  // same position.
  void swap(const KtDLListCursor& a, const KtDLListCursor& b);
  // The data of the i-th live node; a missing one is reported on standard
  // output and gives null.
  void* operator[](int i) const;
  // Appends all of other's data pointers (shallow).
  KtDoubleLinkedList& operator&=(const KtDoubleLinkedList& other);

  int count() const { return _count; }
  bool isEmpty() const { return _count == 0; }

  Kt_DoubleLinkedList_Node* _firstNode() const { return _first; }
  Kt_DoubleLinkedList_Node* _lastNode() const { return _last; }
  // The i-th live node, or null.
  Kt_DoubleLinkedList_Node* _liveNode(int i) const;
  // Removes the last live element and returns its data (null when none).
  void* _removeLast();
  // Frees every node (not the data).
  void _removeAllNodes();

 protected:
  friend class Kt_DLListCursor;
  friend class KtDLListCursor;
  friend class KtDLListReadCursor;
  friend class KtDLListIter;

  void _linkBefore(Kt_DoubleLinkedList_Node* at, void* data);
  void _linkAfter(Kt_DoubleLinkedList_Node* at, void* data);
  // Unlinks and frees a node, moving first/last past it if needed.
  void _unlinkNode(Kt_DoubleLinkedList_Node* node);
  // Marks a live node removed; frees it at once unless a cursor stands on it.
  void _deleteNode(Kt_DoubleLinkedList_Node* node);

  Kt_DoubleLinkedList_Node* _first = nullptr;
  Kt_DoubleLinkedList_Node* _last = nullptr;
  int _count = 0;
};

void Kt_PtrListCopy(KtDoubleLinkedList* dst, const KtDoubleLinkedList& src);

// "[", then one line per live element (three blanks and the pointer), "]".
std::ostream& operator<<(std::ostream& out, const KtDoubleLinkedList& list);

// Base of the cursors: the node it stands on (null when off the list) and
// the atEnd flag. A cursor must not outlive its list.
class Kt_DLListCursor {
 public:
  Kt_DLListCursor() = default;
  virtual ~Kt_DLListCursor() = default;
  Kt_DLListCursor(const Kt_DLListCursor&) = delete;
  Kt_DLListCursor& operator=(const Kt_DLListCursor&) = delete;

  void seekFirst();
  void seekLast();
  // Moves to the i-th live node (i must be valid).
  void seek(int i);
  void inc();
  void dec();
  // Index of the current node among the live nodes (-1 off the list).
  int position() const;
  // The current node's data; reading a deleted node aborts.
  void* data() const;

  bool atEnd() const { return _atEnd != 0; }
  bool onNode() const { return _node != nullptr; }
  Kt_DoubleLinkedList_Node* _currentNode() const { return _node; }

 protected:
  virtual const KtDoubleLinkedList* _listPtr() const = 0;
  virtual void _removeNode(Kt_DoubleLinkedList_Node* node) = 0;

  void _start();
  void _enter(Kt_DoubleLinkedList_Node* node);
  // Leaves the current node; a deleted node nobody stands on any more goes.
  void _leave();

  Kt_DoubleLinkedList_Node* _node = nullptr;
  int _atEnd = 1;
};

// A cursor over a list it may not change. It cannot move the list's end
// pointers, so a deleted end node stays linked until the list goes.
class KtDLListReadCursor : public Kt_DLListCursor {
 public:
  explicit KtDLListReadCursor(const KtDoubleLinkedList& list);
  ~KtDLListReadCursor() override;

 protected:
  const KtDoubleLinkedList* _listPtr() const override { return _list; }
  void _removeNode(Kt_DoubleLinkedList_Node* node) override;

 private:
  const KtDoubleLinkedList* _list;
};

// A cursor that may change its list.
class KtDLListCursor : public Kt_DLListCursor {
 public:
  explicit KtDLListCursor(KtDoubleLinkedList& list);
  ~KtDLListCursor() override;

  void setData(void* data);
  // Before the current node (off the list: at the end).
  void insert(void* data);
  // After the current node (off the list: at the front).
  void append(void* data);
  // Marks the current node deleted and returns its data; the cursor may
  // still move on from there.
  void* remove();

 protected:
  const KtDoubleLinkedList* _listPtr() const override { return _list; }
  void _removeNode(Kt_DoubleLinkedList_Node* node) override;
  KtDoubleLinkedList* _list;
};

// A light forward iterator: stands on the node it returns next.
class KtDLListIter {
 public:
  explicit KtDLListIter(const KtDoubleLinkedList& list);
  KtDLListIter(const KtDLListIter&) = delete;
  KtDLListIter& operator=(const KtDLListIter&) = delete;
  ~KtDLListIter();

  // The next live element's data (null when exhausted), then advances.
  void* next();
  // True when no live element is left.
  bool atEnd();

 private:
  void _skipDeleted();
  void _moveTo(Kt_DoubleLinkedList_Node* node);

  const KtDoubleLinkedList* _list;
  Kt_DoubleLinkedList_Node* _node = nullptr;
};

#endif
