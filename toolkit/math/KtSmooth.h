#ifndef KT_SMOOTH_H
#define KT_SMOOTH_H

#include "toolkit/KtArray.h"
#include "toolkit/math/KtPoint.h"

// Five-point smoothing, weights (-1, 4, 2, 4, -1) / 8, in place; the two
// points at each end are kept. Arrays of fewer than five points are left
// as they are.
void KtSmooth(KtArray<KtPoint>* points);

#endif
