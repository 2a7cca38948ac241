#ifndef KA_ASF_BONE_NAMES_H
#define KA_ASF_BONE_NAMES_H

#include "acclaim/KaASF.h"

// True when no two bones, and no bone and the root, have names that are
// equal without regard to case (the AMC lookup and the names of joints and
// channels cannot tell such bones apart). Otherwise records an error naming
// the first such pair in bone-list order, with the lines of their names,
// and returns false.
bool KaASFCheckUniqueBoneNames(const KtList<KaASFBone*>& bones);

#endif
