#include "acclaim/KaBoneMatrices.h"

#include "acclaim/KaASF.h"
#include "toolkit/math/Kt3X3FloatMat.h"
#include "toolkit/math/Kt4X4FloatMat.h"
#include "toolkit/math/KtCoordSystem.h"
#include "toolkit/math/KtEulerAngles.h"

void KaGetComposedBoneMatrices(KtCoordSystem* axisFrame, KtCoordSystem* relFrame,
                               const KaASFBone& bone, const KtCoordSystem& parentFrame) {
  // The composition multiplies the first axis of its order last; the order
  // reversed gives Rb = R(o0) . R(o1) . R(o2), the bone's axis as written.
  KtArray<int> reversed(3);
  reversed[0] = bone.order[2];
  reversed[1] = bone.order[1];
  reversed[2] = bone.order[0];
  Kt3X3FloatMat rb = KtComposeRotationMatrix(bone.axis, reversed);

  KtCoordSystem local;
  local = 1.0f;
  local.setRotationMatrix(rb);

  KtCoordSystem global;
  global = 1.0f;
  Kt4X4FloatMat::_multfunc(global.m, local.m, parentFrame.m);

  // The parent bone's vector, carried by the parent frame's rotation only:
  // the parent frame's translation does not belong to this offset.
  KtPoint offset;
  if (bone.parent) {
    offset.x = bone.parent->direction.x * bone.parent->length;
    offset.y = bone.parent->direction.y * bone.parent->length;
    offset.z = bone.parent->direction.z * bone.parent->length;
  }
  Kt3X3FloatMat parentRotation;
  parentFrame.getRotationMatrix(&parentRotation);
  KtPoint carried;
  Kt3X3FloatMat::_preMultPoint(&carried, offset, parentRotation);
  global.setTranslationVector(carried);

  *axisFrame = local;
  *relFrame = global;
}
