#include "apps/motconv/ChannelConversion.h"

#include <ostream>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "acclaim/KaBoneMatrices.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MovNumberWriter.h"
#include "toolkit/KtExcept.h"
#include "toolkit/math/KtCoordSystem.h"
#include "toolkit/math/KtEulerAngles.h"

namespace {

const double kDegreesToRadians = 0.017453292519943295;

bool isTranslation(int code) { return code == KaTX || code == KaTY || code == KaTZ; }
bool isRotation(int code) { return code == KaRX || code == KaRY || code == KaRZ; }

// The skeleton's root is named "root" exactly; any other name is a bone's.
bool isRootName(const char* name) {
  return name[0] == 'r' && name[1] == 'o' && name[2] == 'o' && name[3] == 't' && name[4] == 0;
}

void checkBone(const char* name, const KaASFDOFGroup& dofs, const KaAMCField& first) {
  if (const KaAMCBone* entry = first.findBone(name)) {
    if (entry->values.count() != dofs.count())
      KtWarning("Bone \"%s\" has %d dofs in the ASF, but the AMC specifies %d.", name,
                dofs.count(), entry->values.count());
  } else if (!dofs.isEmpty()) {
    KtWarning("Bone \"%s\" has dofs in the ASF, but not in the AMC.", name);
  }
}

// The root's rest transform: its position as translation and its
// orientation as rotation. The orientation is composed the way a bone's
// axis is, with the axis order reversed, so that the root's frame is the
// one the skeleton's root joint is built with. The position is scaled like
// the bone lengths, which puts it where the skeleton's root joint stands.
void setRootRest(KtCoordSystem* rest, const KaASFRoot& root, float scale) {
  KtArray<int> reversed(3);
  reversed[0] = root.axis[2];
  reversed[1] = root.axis[1];
  reversed[2] = root.axis[0];
  *rest = 1.0f;
  rest->setRotationMatrix(KtComposeRotationMatrix(root.orientation, reversed));
  KtPoint position = root.position;
  position.x *= scale;
  position.y *= scale;
  position.z *= scale;
  rest->setTranslationVector(position);
}

void applyEntry(KtCoordSystem* m, const KaASFDOFGroup& dofs, const KaAMCBone* entry, float scale,
                int degrees) {
  if (entry) applyBoneMotion(m, dofs, entry->values.data(), entry->values.count(), scale, degrees);
}

// The transforms of the bone (null for the root) in the frame, and those of
// its parent when parentAnimated is given. The chain is collected first and
// composed from the root down, so the depth of the hierarchy costs no
// stack. A chain longer than the skeleton (a parent loop built in memory)
// is cut at the skeleton's size.
void composeChain(KtCoordSystem* animated, KtCoordSystem* rest, KtCoordSystem* parentAnimated,
                  const KaASF& skeleton, const KaAMCField& frame, const KaASFBone* bone,
                  float scale, int degrees) {
  std::vector<const KaASFBone*> chain;
  for (const KaASFBone* b = bone; b && (int)chain.size() <= skeleton.bones.count(); b = b->parent)
    chain.push_back(b);

  *animated = 1.0f;
  *rest = 1.0f;
  if (const KaAMCBone* root = frame.findBone("root")) {
    setRootRest(rest, skeleton.root, scale);
    *animated = *rest;
    applyEntry(animated, skeleton.root.order, root, scale, degrees);
  }

  for (int i = (int)chain.size() - 1; i >= 0; --i) {
    if (i == 0 && parentAnimated) *parentAnimated = *animated;
    const KaASFBone& b = *chain[i];
    KtCoordSystem inverseRest = *rest;
    inverseRest.invert();
    KtCoordSystem axisFrame, relFrame;
    KaGetComposedBoneMatrices(&axisFrame, &relFrame, b, inverseRest);

    KtCoordSystem product;
    Kt4X4FloatMat::_multfunc(product.m, relFrame.m, rest->m);
    *rest = product;
    Kt4X4FloatMat::_multfunc(product.m, relFrame.m, animated->m);
    *animated = product;
    applyEntry(animated, b.dofs, frame.findBone(b.name), scale, degrees);
  }
  if (chain.empty() && parentAnimated) *parentAnimated = 1.0f;
}

// Writes the channels of the root (isRoot) or of a bone of the skeleton
// whose dof list has the codes codes[0..n). A name the skeleton does not
// hold (neither root nor bone) has no frame: its translation is the origin.
void printChannels(std::ostream& out, bool isRoot, const KaASFBone* bone, const KaASF& skeleton,
                   const KaAMCField& frame, const int* codes, int n, const float* values,
                   int count, int degrees, float scale) {
  if (count != n) {
    KtError(
        "The number of degrees of freedom in the AMC does not match the number of degrees of "
        "freedom in the ASF.");
    return;
  }
  bool translation = false;
  for (int k = 0; k < n; ++k) translation = translation || isTranslation(codes[k]);
  if (translation) {
    KtCoordSystem local;
    local = 1.0f;
    if (isRoot || bone) {
      KtCoordSystem animated, rest, parent;
      composeChain(&animated, &rest, &parent, skeleton, frame, bone, scale, degrees);
      if (isRoot) {
        // The root's parent frame is the identity, whose inverse it is.
        local = animated;
      } else {
        parent.invert();
        Kt4X4FloatMat::_multfunc(local.m, animated.m, parent.m);
      }
    }
    writeMovNumber(out, local.m[3][0]);
    writeMovNumber(out, local.m[3][1]);
    writeMovNumber(out, local.m[3][2]);
  }
  for (int k = 0; k < n; ++k)
    if (isRotation(codes[k])) writeMovNumber(out, values[k]);
}

std::vector<int> codesOf(const KaASFDOFGroup& dofs) {
  std::vector<int> codes;
  codes.reserve(dofs.count());
  KtListIter<KaASFDOF*> it(dofs.dofs);
  while (KaASFDOF** dof = it.next()) codes.push_back((*dof)->dof);
  return codes;
}

}  // namespace

void printBoneChannelsOf(std::ostream& out, const KaASFBone* bone, const KaASF& skeleton,
                         const KaAMCField& frame, const int* codes, int n, const float* values,
                         int count, int degrees, float scale) {
  printChannels(out, bone == nullptr, bone, skeleton, frame, codes, n, values, count, degrees,
                scale);
}

float motconvScale(const KaASF& skeleton) {
  return (float)(1.0 / (double)skeleton.header.length);
}

void checkAMCAgainstASF(const KaASF& skeleton, const KaAMC& motion) {
  if (motion.fields.isEmpty()) {
    KtWarning("The AMC specifies no frames of data.");
    return;
  }
  const KaAMCField& first = motion.fields[0];
  if (const KaAMCBone* root = first.findBone("root")) {
    if (root->values.count() != skeleton.root.order.count())
      KtWarning("Bone \"root\" has %d dofs in the ASF, but the AMC specifies %d.",
                skeleton.root.order.count(), root->values.count());
  } else if (!skeleton.root.order.isEmpty()) {
    KtWarning("Bone \"root\" has dofs in the ASF, but not in the AMC.");
  }
  KtListIter<KaASFBone*> bones(skeleton.bones);
  while (KaASFBone** bone = bones.next()) checkBone((*bone)->name, (*bone)->dofs, first);
}

void applyBoneMotion(KtCoordSystem* m, const KaASFDOFGroup& dofs, const float* values, int count,
                     float scale, int degrees) {
  // Values pair with dofs by position; an entry with fewer values than
  // dofs leaves the remaining dofs unapplied.
  int n = dofs.count() < count ? dofs.count() : count;
  if (n <= 0) return;
  int codes[64];
  std::vector<int> more;
  int* code = codes;
  if (n > 64) {
    more.resize(n);
    code = more.data();
  }
  KtListIter<KaASFDOF*> it(dofs.dofs);
  for (int k = 0; k < n; ++k) code[k] = (*it.next())->dof;

  for (int k = 0; k < n; ++k) {
    const float t = values[k] * scale;
    if (code[k] == KaTX) m->preTranslateX(t);
    else if (code[k] == KaTY) m->preTranslateY(t);
    else if (code[k] == KaTZ) m->preTranslateZ(t);
  }
  for (int k = n - 1; k >= 0; --k) {
    const int c = code[k];
    if (!isRotation(c)) continue;
    float a = degrees ? (float)((double)values[k] * kDegreesToRadians) : values[k];
    if (c == KaRX) m->preRotateX(a);
    else if (c == KaRY) m->preRotateY(a);
    else m->preRotateZ(a);
  }
}

void composeMotionMatrices(KtCoordSystem* animated, KtCoordSystem* rest, const KaASF& skeleton,
                           const KaAMCField& frame, const char* boneName, float scale,
                           int degrees) {
  const KaASFBone* bone = nullptr;
  if (!isRootName(boneName)) {
    bone = skeleton.findBone(boneName);
    if (!bone) {
      // A name the skeleton does not hold has no frame of its own.
      *animated = 1.0f;
      *rest = 1.0f;
      return;
    }
  }
  composeChain(animated, rest, nullptr, skeleton, frame, bone, scale, degrees);
}

void printBoneChannels(std::ostream& out, const char* boneName, const KaASF& skeleton,
                       const KaAMCField& frame, const KaASFDOFGroup& dofs, const float* values,
                       int count, int degrees) {
  bool isRoot = isRootName(boneName);
  const KaASFBone* bone = isRoot ? nullptr : skeleton.findBone(boneName);
  std::vector<int> codes = codesOf(dofs);
  printChannels(out, isRoot, bone, skeleton, frame, codes.data(), (int)codes.size(), values, count,
                degrees, motconvScale(skeleton));
}
