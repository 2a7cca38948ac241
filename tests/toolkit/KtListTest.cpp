#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "toolkit/KtDoubleLinkedList.h"
#include "toolkit/KtList.h"
#include "toolkit/KtStr.h"

namespace {

// A list of three pointers into values.
struct ThreeItems {
  int values[3] = {10, 20, 30};
  KtDoubleLinkedList list;
  ThreeItems() {
    for (int& v : values) list.append(&v);
  }
};

int liveCount(const KtDoubleLinkedList& list) {
  int n = 0;
  KtDLListIter it(list);
  while (!it.atEnd()) {
    it.next();
    n++;
  }
  return n;
}

int nodeCount(const KtDoubleLinkedList& list) {
  int n = 0;
  for (Kt_DoubleLinkedList_Node* node = list._firstNode(); node; node = node->next) n++;
  return n;
}

}  // namespace

TEST(KtDoubleLinkedList, CursorRemovingTheMiddleMovesOnToTheThird) {
  ThreeItems t;
  {
    KtDLListCursor c(t.list);
    c.inc();
    EXPECT_EQ(c.position(), 1);
    EXPECT_EQ(c.remove(), &t.values[1]);
    EXPECT_EQ(t.list.count(), 2);
    // The node stays linked while the cursor stands on it.
    EXPECT_EQ(nodeCount(t.list), 3);
    EXPECT_TRUE(c._currentNode()->deleted);
    c.inc();
    EXPECT_EQ(c.data(), &t.values[2]);
    EXPECT_EQ(nodeCount(t.list), 2);
    EXPECT_EQ(c.position(), 1);
  }
  EXPECT_EQ(t.list[0], &t.values[0]);
  EXPECT_EQ(t.list[1], &t.values[2]);
  EXPECT_EQ(t.list._firstNode()->next, t.list._lastNode());
  EXPECT_EQ(t.list._lastNode()->prev, t.list._firstNode());
}

TEST(KtDoubleLinkedList, CursorRemovingTheLastNodeFreesItWhenLeaving) {
  ThreeItems t;
  {
    KtDLListCursor c(t.list);
    c.seekLast();
    c.remove();
    c.inc();
    EXPECT_TRUE(c.atEnd());
    EXPECT_FALSE(c.onNode());
  }
  EXPECT_EQ(nodeCount(t.list), 2);
  EXPECT_EQ(t.list._lastNode()->data, &t.values[1]);
  EXPECT_EQ(t.list._lastNode()->next, nullptr);
  t.list.append(&t.values[2]);
  EXPECT_EQ(t.list[2], &t.values[2]);
}

TEST(KtDoubleLinkedList, IteratorSkipsANodeRemovedUnderIt) {
  ThreeItems t;
  KtDLListIter it(t.list);
  EXPECT_EQ(it.next(), &t.values[0]);
  {
    KtDLListCursor c(t.list);
    c.seek(1);
    c.remove();
  }
  // The iterator still stands on the removed node, which therefore stays.
  EXPECT_EQ(nodeCount(t.list), 3);
  EXPECT_FALSE(it.atEnd());
  EXPECT_EQ(it.next(), &t.values[2]);
  EXPECT_TRUE(it.atEnd());
  EXPECT_EQ(nodeCount(t.list), 2);
  EXPECT_EQ(t.list.count(), 2);
}

TEST(KtDoubleLinkedList, RemovalByIndexUnderAReadCursorIsDeferred) {
  ThreeItems t;
  {
    KtDLListReadCursor r(t.list);
    r.seekLast();
    EXPECT_EQ(t.list.remove(2), &t.values[2]);
    EXPECT_EQ(t.list.count(), 2);
    EXPECT_EQ(liveCount(t.list), 2);
    r.seekFirst();
    EXPECT_EQ(r.data(), &t.values[0]);
    EXPECT_EQ(t.list.remove(1), &t.values[1]);
    // No cursor on the middle node: it goes at once.
    EXPECT_EQ(liveCount(t.list), 1);
    r.inc();
    EXPECT_TRUE(r.atEnd());
  }
  EXPECT_EQ(t.list.count(), 1);
  EXPECT_EQ(liveCount(t.list), 1);
  EXPECT_EQ(t.list[0], &t.values[0]);
  t.list.append(&t.values[1]);
  EXPECT_EQ(t.list[1], &t.values[1]);
  EXPECT_EQ(liveCount(t.list), 2);
}

TEST(KtDoubleLinkedList, MissingIndexPrintsMessageAndGivesNull) {
  ThreeItems t;
  ::testing::internal::CaptureStdout();
  void* p = t.list[5];
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "KtDoubleLinkedList::operator [] (int) : element 5 not found!\n");
  EXPECT_EQ(p, nullptr);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(t.list[2], &t.values[2]);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(KtDoubleLinkedList, CursorMovesAndEnds) {
  KtDoubleLinkedList empty;
  KtDLListCursor e(empty);
  EXPECT_TRUE(e.atEnd());
  e.dec();
  EXPECT_TRUE(e.atEnd());

  ThreeItems t;
  KtDLListCursor c(t.list);
  EXPECT_FALSE(c.atEnd());
  EXPECT_EQ(c.data(), &t.values[0]);
  c.dec();
  EXPECT_FALSE(c.onNode());
  c.dec();
  EXPECT_EQ(c.data(), &t.values[2]);
  EXPECT_FALSE(c.atEnd());
  c.inc();
  EXPECT_TRUE(c.atEnd());
  c.dec();
  EXPECT_EQ(c.data(), &t.values[2]);
  EXPECT_EQ(c.position(), 2);
  c.inc();
  c.inc();
  EXPECT_EQ(c.data(), &t.values[0]);
}

TEST(KtDoubleLinkedList, CursorInsertAppendAndSwap) {
  int a = 1, b = 2, x = 3, y = 4, z = 5;
  KtDoubleLinkedList list;
  list.append(&a);
  list.append(&b);
  KtDLListCursor c(list);
  c.insert(&x);  // on the first node: prepend
  c.seekLast();
  c.append(&y);  // on the last node: append
  c.seek(1);
  c.append(&z);  // in the middle: after the current node
  ASSERT_EQ(list.count(), 5);
  EXPECT_EQ(list[0], &x);
  EXPECT_EQ(list[1], &a);
  EXPECT_EQ(list[2], &z);
  EXPECT_EQ(list[3], &b);
  EXPECT_EQ(list[4], &y);
  KtDLListCursor d(list);
  d.seekLast();
  list.swap(c, d);
  EXPECT_EQ(list[1], &y);
  EXPECT_EQ(list[4], &a);
  c.setData(&b);
  EXPECT_EQ(list[1], &b);

  KtDoubleLinkedList off;
  KtDLListCursor o(off);
  o.insert(&a);
  o.seekFirst();
  o.inc();
  o.append(&b);  // on no node: prepend
  EXPECT_EQ(off[0], &b);
  EXPECT_EQ(off[1], &a);
}

TEST(KtDoubleLinkedList, PrintsItsPointersOrEmpty) {
  KtDoubleLinkedList list;
  std::ostringstream empty;
  empty << list;
  EXPECT_EQ(empty.str(), "[\nEmpty\n]");
  int a = 0, b = 0;
  list.append(&a);
  list.append(&b);
  std::ostringstream expected;
  expected << "[\n   " << static_cast<void*>(&a) << "\n   " << static_cast<void*>(&b) << "\n]";
  std::ostringstream printed;
  printed << list;
  EXPECT_EQ(printed.str(), expected.str());

  KtDoubleLinkedList copy;
  copy &= list;
  Kt_PtrListCopy(&copy, list);
  ASSERT_EQ(copy.count(), 4);
  EXPECT_EQ(copy[2], &a);
}

TEST(KtDoubleLinkedListDeathTest, ReadingADeletedNodeAborts) {
  ThreeItems t;
  KtDLListCursor c(t.list);
  c.remove();
  // The message goes to standard output; the child sends it to standard
  // error, where the death test looks for it.
  EXPECT_DEATH(
      {
        dup2(2, 1);
        c.data();
      },
      "Kt_DLListCursor::data\\(\\): retrieving data from deleted node.");
}

TEST(KtList, KeepsItsOwnCopiesOfTheElements) {
  KtList<KtStr> list;
  KtStr name("hips");
  list.append(name);
  name.upper();
  name = "changed";
  EXPECT_EQ(list[0], "hips");
  list.append("lfemur");
  list.append("rfemur");
  {
    KtListCursor<KtStr> c(list);
    c.inc();
    c.item().upper();
    c.remove();
    c.inc();
    EXPECT_EQ(c.item(), "rfemur");
  }
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list[1], "rfemur");
  KtList<KtStr> copy(list);
  list[0] = "other";
  EXPECT_EQ(copy[0], "hips");
  list.removeLast();
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(copy.count(), 2);
  list._clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list._firstNode(), nullptr);
}

TEST(KtList, AppendingItselfDoublesTheList) {
  KtList<KtStr> list;
  list.append("a");
  list.append("b");
  list &= list;
  ASSERT_EQ(list.count(), 4);
  EXPECT_EQ(list[2], "a");
  EXPECT_EQ(list[3], "b");
  list = list;
  EXPECT_EQ(list.count(), 4);
}

TEST(KtList, RangeForWalksTheLiveElementsInOrder) {
  KtList<KtStr> list;
  for (const KtStr& name : list) ADD_FAILURE() << "an empty list gave " << name.text();
  for (const char* name : {"root", "hips", "lfemur", "rfemur"}) list.append(name);

  // Elements are changed in place through the loop variable.
  for (KtStr& name : list) name.upper();
  std::string seen;
  const KtList<KtStr>& readOnly = list;
  for (const KtStr& name : readOnly) seen += std::string(name.text()) + " ";
  EXPECT_EQ(seen, "ROOT HIPS LFEMUR RFEMUR ");

  // A node that a cursor has removed stays linked while the cursor stands on
  // it; the loop passes over it, first, middle or last.
  for (int removed : {0, 2, 3}) {
    KtList<KtStr> copy(list);
    KtListCursor<KtStr> c(copy);
    for (int i = 0; i < removed; i++) c.inc();
    c.remove();
    ASSERT_TRUE(c._currentNode()->deleted);
    int n = 0;
    for (const KtStr& name : copy) {
      EXPECT_NE(name, list[removed]) << removed;
      n++;
    }
    EXPECT_EQ(n, 3) << removed;
  }

  // A list of pointers yields the pointers; the objects stay the caller's.
  int a = 1, b = 2;
  KtList<int*> pointers;
  pointers.append(&a);
  pointers.append(&b);
  for (int* p : pointers) *p *= 10;
  EXPECT_EQ(a + b, 30);
}
