#include "apps/motconv/TakeCheck.h"

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "toolkit/KtExcept.h"

namespace {

struct Expected {
  const char* name;
  int dofs;
  int slot;  // the first entry of the motion's name list that names it, or -1
};

std::string folded(const char* name) {
  std::string s(name);
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  return s;
}

// Frames read from a file hold entry i under name i of the motion's list;
// any other frame is searched by name, without regard to case.
const KaAMCBone* entryOf(const KaAMCField& frame, const KaAMC& motion, const Expected& bone) {
  int slot = bone.slot;
  if (slot >= 0 && slot < frame.bones.count() && frame.bones[slot].name == &motion.boneNames[slot])
    return &frame.bones[slot];
  return frame.findBone(bone.name);
}

}  // namespace

bool checkTakeAgainstSkeleton(const KaASF& skeleton, const KaAMC& motion) {
  std::unordered_map<std::string, int> slots;
  for (int i = 0; i < motion.boneNames.count(); ++i)
    slots.emplace(folded(motion.boneNames[i].text()), i);
  auto slotOf = [&slots](const char* name) {
    auto found = slots.find(folded(name));
    return found == slots.end() ? -1 : found->second;
  };

  std::vector<Expected> expected;
  expected.push_back({"root", skeleton.root.order.count(), slotOf("root")});
  for (const KaASFBone* bone : skeleton.bones)
    expected.push_back({bone->name.text(), bone->dofs.count(), slotOf(bone->name.text())});

  for (const KaAMCField& frame : motion.fields) {
    for (const Expected& bone : expected) {
      const KaAMCBone* entry = entryOf(frame, motion, bone);
      if (entry && entry->values.count() != bone.dofs) {
        KtError("Frame %d: bone \"%s\" has %d dofs in the ASF, but the AMC specifies %d.",
                frame.number, bone.name, bone.dofs, entry->values.count());
        return false;
      }
    }
  }
  return true;
}
