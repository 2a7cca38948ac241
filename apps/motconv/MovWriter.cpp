#include "apps/motconv/MovWriter.h"

#include <ostream>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "apps/motconv/ChannelConversion.h"
#include "apps/motconv/MovNumberWriter.h"
#include "toolkit/KtExcept.h"

namespace {

// A frame's entry for a bone, found without regard to case. Frames read
// from a file hold entry i under name i of the motion's name list, so the
// slot found once answers for every frame; a frame whose slot does not hold
// that name is searched instead.
const KaAMCBone* entryFor(const KaAMCField& frame, const KaAMC& motion, int slot,
                          const char* name) {
  if (slot >= 0 && slot < frame.bones.count() && frame.bones[slot].name == &motion.boneNames[slot])
    return &frame.bones[slot];
  // A linked frame names its entries from the list only: a name the list
  // lacks is in none of them.
  if (slot < 0 && frame.boneNames == &motion.boneNames) return nullptr;
  return frame.findBone(name);
}

// The slot of the first name of the motion's name list that equals name
// without regard to case, or -1.
int slotOf(const KaAMC& motion, const KtStr& name) {
  for (int i = 0; i < motion.boneNames.count(); ++i)
    if (motion.boneNames[i].length() == name.length() && motion.boneNames[i].iCmp(name) == 0)
      return i;
  return -1;
}

struct Column {
  Column(const KaASFBone* b, const char* n, const KaASFDOFGroup& dofs, const KaAMC& motion)
      : bone(b), name(n), slot(slotOf(motion, KtStr(n))) {
    KtListIter<KaASFDOF*> it(dofs.dofs);
    while (KaASFDOF** dof = it.next()) codes.push_back((*dof)->dof);
  }
  const KaASFBone* bone;  // null for the root
  const char* name;
  int slot;
  std::vector<int> codes;
};

}  // namespace

void printMOV(std::ostream& out, const KaASF& skeleton, const KaAMC& motion, int fps) {
  // The root, then the snapshot of the skeleton's bones, each with what the
  // frames need of it.
  std::vector<Column> columns;
  columns.push_back(Column(nullptr, "root", skeleton.root.order, motion));
  KtListIter<KaASFBone*> bones(skeleton.bones);
  while (KaASFBone** bone = bones.next())
    columns.push_back(Column(*bone, (*bone)->name.text(), (*bone)->dofs, motion));

  const float scale = motconvScale(skeleton);
  for (const KaAMCField& frame : motion.fields) {
    writeMovNumber(out, (float)frame.number / (float)fps);
    for (const Column& column : columns) {
      const KaAMCBone* entry = entryFor(frame, motion, column.slot, column.name);
      if (!entry) continue;
      printBoneChannelsOf(out, column.bone, skeleton, frame, column.codes.data(),
                          (int)column.codes.size(), entry->values.data(), entry->values.count(),
                          motion.degrees, scale);
      if (theExceptObj.errorOccurred()) {
        if (!column.bone)
          KtError("Unable to convert transformations to MOV for \"root\".");
        else
          KtError("Unable to convert transformations to MOV for body \"%s\".", column.name);
        return;
      }
    }
    out.put('\n');
  }
}
