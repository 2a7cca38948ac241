#ifndef KT_SORT_H
#define KT_SORT_H

// Quicksort of string arrays, and of integer keys carrying a string array
// along. The sort is not stable.

#include "toolkit/KtArray.h"
#include "toolkit/KtStr.h"

enum KtSortDirection_t { KtSortAscending = 0, KtSortDescending = 1 };

void KtSort(KtArray<KtStr>* names);
void KtSort(KtArray<KtStr>* names, KtSortDirection_t direction);
// Sorts the index range first..last inclusive.
void KtSort(KtArray<KtStr>* names, KtSortDirection_t direction, int first, int last);

// Sorts keys over first..last and applies every exchange to names as well.
void KtArraySort(KtArray<long>* keys, KtArray<KtStr>* names, KtSortDirection_t direction, int first,
                 int last);

#endif
