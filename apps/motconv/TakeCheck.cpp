#include "apps/motconv/TakeCheck.h"

#include <string>
#include <unordered_map>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

TakeChecker::TakeChecker(const KaASF& skeleton, const KaAMC& take) : _take(take) {
  std::unordered_map<std::string, int> slots;
  for (int i = 0; i < take.boneNames.count(); ++i)
    slots.emplace(KtLowerCase(take.boneNames[i].text()), i);
  auto slotOf = [&slots](const char* name) {
    auto found = slots.find(KtLowerCase(name));
    return found == slots.end() ? -1 : found->second;
  };
  _expected.push_back({"root", skeleton.root.order.count(), slotOf("root")});
  for (const KaASFBone* bone : skeleton.bones)
    _expected.push_back({bone->name.text(), bone->dofs.count(), slotOf(bone->name.text())});
}

bool TakeChecker::checkFrame(const KaAMCField& frame) {
  if (_started && frame.number <= _last) {
    KtError("Frame %d follows frame %d: frame numbers must increase.", frame.number, _last);
    return false;
  }
  if (_started && (long long)frame.number > (long long)_last + 1) {
    if (_gaps == 0) {
      _gapFrom = _last;
      _gapTo = frame.number;
    }
    ++_gaps;
  }
  _started = true;
  _last = frame.number;
  for (const Expected& bone : _expected) {
    const KaAMCBone* entry = frame.findBoneInSlot(bone.slot, _take.boneNames, bone.name);
    if (entry && entry->values.count() != bone.dofs) {
      KtError("Frame %d: bone \"%s\" has %d dofs in the ASF, but the AMC specifies %d.",
              frame.number, bone.name, bone.dofs, entry->values.count());
      return false;
    }
  }
  return true;
}

void TakeChecker::warnAboutGaps(bool interpolated) const {
  if (_gaps == 0) return;
  KtWarning("Frame %d follows frame %d: the frame numbers have %d gap%s in all; %s.", _gapTo,
            _gapFrom, _gaps, _gaps == 1 ? "" : "s",
            interpolated ? "the scene frames across them are interpolated"
                         : "the MOV times keep the gaps");
}

bool checkTakeAgainstSkeleton(const KaASF& skeleton, const KaAMC& motion) {
  TakeChecker checker(skeleton, motion);
  for (const KaAMCField& frame : motion.fields)
    if (!checker.checkFrame(frame)) return false;
  checker.warnAboutGaps();
  return true;
}
