#include "toolkit/KtSort.h"

#include <utility>

namespace {

template <class Key>
bool before(const Key& a, const Key& b, KtSortDirection_t direction) {
  return direction == KtSortDescending ? b < a : a < b;
}

// Quicksort with the middle element as pivot; every exchange of keys is
// repeated on carried (when not null).
template <class Key>
void quickSort(KtArray<Key>* keys, KtArray<KtStr>* carried, KtSortDirection_t direction, int first,
               int last) {
  if (last < 0 || first >= keys->count() || last <= first) return;
  KtArray<Key>& k = *keys;
  auto exchange = [&](int i, int j) {
    std::swap(k[i], k[j]);
    if (carried) std::swap((*carried)[i], (*carried)[j]);
  };
  exchange((first + last) / 2, first);
  int boundary = first;
  for (int i = first + 1; i <= last; i++)
    if (before(k[i], k[first], direction)) exchange(++boundary, i);
  exchange(first, boundary);
  quickSort(keys, carried, direction, first, boundary - 1);
  quickSort(keys, carried, direction, boundary + 1, last);
}

}  // namespace

void KtSort(KtArray<KtStr>* names) {
  KtSort(names, KtSortAscending);
}

void KtSort(KtArray<KtStr>* names, KtSortDirection_t direction) {
  KtSort(names, direction, 0, names->count() - 1);
}

void KtSort(KtArray<KtStr>* names, KtSortDirection_t direction, int first, int last) {
  quickSort(names, static_cast<KtArray<KtStr>*>(nullptr), direction, first, last);
}

void KtArraySort(KtArray<long>* keys, KtArray<KtStr>* names, KtSortDirection_t direction, int first,
                 int last) {
  quickSort(keys, names, direction, first, last);
}
