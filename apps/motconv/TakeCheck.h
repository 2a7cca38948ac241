#ifndef MOTCONV_TAKE_CHECK_H
#define MOTCONV_TAKE_CHECK_H

#include <vector>

class KaAMC;
class KaAMCBone;
class KaAMCField;
class KaASF;

// Checks the frames of a take one at a time, in file order, before anything
// of the take is written: a frame's number must be greater than the one
// before (the MOV times would run backwards otherwise), and an entry for
// the root or for a bone of the skeleton must hold as many values as that
// bone has dofs (the channel conversion pairs them by position). Entries
// naming no bone of the skeleton, and bones without an entry, are left
// alone, as the conversion leaves them. Gaps in the frame numbers are kept
// (the MOV times keep them) and counted for one warning. The checker keeps
// the last frame number and the gap count only, whatever the take's length.
class TakeChecker {
 public:
  // take holds the first frame and the name list every frame checked is
  // linked to; the skeleton and it must outlive the checker.
  TakeChecker(const KaASF& skeleton, const KaAMC& take);

  // Records an error naming the frame, by its number in the file (and the
  // first bone, the root and then the bones in skeleton order, whose value
  // count is wrong), and returns false when the frame breaks a rule.
  bool checkFrame(const KaAMCField& frame);
  // After the last frame: one warning naming the first gap in the frame
  // numbers and how many there are, when there is one; interpolated says
  // that the scene frames across the gaps are interpolated (with a capture
  // rate) rather than left out.
  void warnAboutGaps(bool interpolated = false) const;

 private:
  struct Expected {
    const char* name;
    int dofs;
    int slot;  // the first entry of the take's name list that names it, or -1
  };

  const KaAMC& _take;
  std::vector<Expected> _expected;
  bool _started = false;
  int _last = 0;     // the number of the frame checked last
  int _gaps = 0;     // how many frames follow a gap
  int _gapFrom = 0;  // the first gap: the frame before it
  int _gapTo = 0;    // and the frame after it
};

// Checks every frame of motion as above, then warns about the gaps. False
// (with the error recorded) when a frame breaks a rule.
bool checkTakeAgainstSkeleton(const KaASF& skeleton, const KaAMC& motion);

#endif
