#include "apps/motconv/MotconvChannels.h"

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"

int hasTranslationDOF(const KaASFDOFGroup& dofs) {
  return dofs.hasDOF(KaTX) || dofs.hasDOF(KaTY) || dofs.hasDOF(KaTZ) ? 1 : 0;
}

std::vector<MotconvChannelBone> motconvChannelBones(const KaASF& skeleton, const KaAMC& motion) {
  std::vector<MotconvChannelBone> list;
  if (motion.fields.isEmpty()) return list;
  const KaAMCField& first = motion.fields[0];
  if (first.findBone("root")) list.push_back({"root", &skeleton.root.order});
  for (const KaASFBone* bone : skeleton.bones) {
    if (first.findBone(bone->name)) list.push_back({bone->name.text(), &bone->dofs});
  }
  return list;
}
