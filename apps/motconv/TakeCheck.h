#ifndef MOTCONV_TAKE_CHECK_H
#define MOTCONV_TAKE_CHECK_H

class KaAMC;
class KaASF;

// Checks every frame of the take before anything is written: an entry for
// the root or for a bone of the skeleton must hold as many values as that
// bone has dofs (the channel conversion pairs them by position). Records an
// error naming the first frame, by its number in the file, and the first
// bone (the root, then the bones in skeleton order) that does not, and
// returns false. Entries naming no bone of the skeleton, and bones without
// an entry, are left alone, as the conversion leaves them.
bool checkTakeAgainstSkeleton(const KaASF& skeleton, const KaAMC& motion);

#endif
