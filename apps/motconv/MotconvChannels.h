#ifndef MOTCONV_CHANNELS_H
#define MOTCONV_CHANNELS_H

#include <vector>

class KaAMC;
class KaASF;
class KaASFDOFGroup;

// 1 when the dof list holds tx, ty or tz, else 0.
int hasTranslationDOF(const KaASFDOFGroup& dofs);

// One bone of the import script's channel list: the name as the skeleton
// spells it and the dof list its channels come from. The pointers belong to
// the skeleton.
struct MotconvChannelBone {
  const char* name;
  const KaASFDOFGroup* dofs;
};

// The root (when the first frame has an entry for it), then every bone of
// the skeleton in bone-list order that has an entry in the first frame.
// Empty for a motion without frames.
std::vector<MotconvChannelBone> motconvChannelBones(const KaASF& skeleton, const KaAMC& motion);

#endif
