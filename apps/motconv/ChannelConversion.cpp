#include "apps/motconv/ChannelConversion.h"

#include <cmath>
#include <ostream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"
#include "acclaim/KaBoneMatrices.h"
#include "apps/motconv/MotconvChannels.h"
#include "apps/motconv/MovNumberWriter.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"
#include "toolkit/math/KtCoordSystem.h"
#include "toolkit/math/KtEulerAngles.h"

namespace {

const double kDegreesToRadians = 0.017453292519943295;

bool isTranslation(int code) {
  return code == KaTX || code == KaTY || code == KaTZ;
}
bool isRotation(int code) {
  return code == KaRX || code == KaRY || code == KaRZ;
}

// The skeleton's root is named "root" exactly; any other name is a bone's.
bool isRootName(const char* name) {
  return name[0] == 'r' && name[1] == 'o' && name[2] == 'o' && name[3] == 't' && name[4] == 0;
}

void checkBone(const char* name, const KaASFDOFGroup& dofs, const KaAMCField& first) {
  if (const KaAMCBone* entry = first.findBone(name)) {
    if (entry->values.count() != dofs.count())
      KtWarning("Bone \"%s\" has %d dofs in the ASF, but the AMC specifies %d.", name, dofs.count(),
                entry->values.count());
  } else if (!dofs.isEmpty()) {
    KtWarning("Bone \"%s\" has dofs in the ASF, but not in the AMC.", name);
  }
}

// The frame's entries that name neither the root nor a bone of the
// skeleton (compared without regard to case, as the conversion looks them
// up), one warning per name, in the frame's order.
void warnAboutBonesNotInSkeleton(const KaASF& skeleton, const KaAMCField& first) {
  std::unordered_set<std::string> known = {"root"};
  for (const KaASFBone* bone : skeleton.bones) known.insert(KtLowerCase(bone->name.text()));
  for (const KaAMCBone& entry : first.bones) {
    if (!entry.name) continue;
    // A name warned about once joins the known ones.
    if (known.insert(KtLowerCase(entry.name->text())).second)
      KtWarning("Bone \"%s\" is in the AMC, but not in the ASF; its values are not used.",
                entry.name->text());
  }
}

// The translation of the root's rest transform: the root's position scaled
// like the bone lengths, which puts it where the skeleton's root joint stands.
KtPoint rootRestTranslation(const KaASFRoot& root, float scale) {
  KtPoint position = root.position;
  position.x *= scale;
  position.y *= scale;
  position.z *= scale;
  return position;
}

// The root's rest transform: rootRestTranslation as translation and its
// orientation as rotation. The orientation is composed the way a bone's
// axis is, with the axis order reversed, so that the root's frame is the
// one the skeleton's root joint is built with.
void setRootRest(KtCoordSystem* rest, const KaASFRoot& root, float scale) {
  KtArray<int> reversed(3);
  reversed[0] = root.axis[2];
  reversed[1] = root.axis[1];
  reversed[2] = root.axis[0];
  *rest = 1.0f;
  rest->setRotationMatrix(KtComposeRotationMatrix(root.orientation, reversed));
  rest->setTranslationVector(rootRestTranslation(root, scale));
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

// A value count that differs from the dof count fails the bone's channels:
// true when they agree, else false with the error recorded.
bool valueCountMatches(int count, int dofCount) {
  if (count == dofCount) return true;
  KtError(
      "The number of degrees of freedom in the AMC does not match the number of degrees of "
      "freedom in the ASF.");
  return false;
}

// Writes the translation channels of a bone's local transform. Raro cannot
// read "inf" or "nan": a translation that overflowed while composing (huge
// values, each finite on its own) fails the table instead.
bool writeTranslation(std::ostream& out, const KtCoordSystem& local, const KaAMCField& frame,
                      const char* name) {
  if (!std::isfinite(local.m[3][0]) || !std::isfinite(local.m[3][1]) ||
      !std::isfinite(local.m[3][2])) {
    KtError("Frame %d: the translation of \"%s\" is not a finite number.", frame.number, name);
    return false;
  }
  writeMovNumber(out, local.m[3][0]);
  writeMovNumber(out, local.m[3][1]);
  writeMovNumber(out, local.m[3][2]);
  return true;
}

// Writes the channels of the root (isRoot) or of a bone of the skeleton
// whose dof list has the codes codes[0..n). A name the skeleton does not
// hold (neither root nor bone) has no frame: its translation is the origin.
void printChannels(std::ostream& out, bool isRoot, const KaASFBone* bone, const KaASF& skeleton,
                   const KaAMCField& frame, const int* codes, int n, const float* values, int count,
                   int degrees, float scale) {
  if (!valueCountMatches(count, n)) return;
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
    if (!writeTranslation(out, local, frame, isRoot || !bone ? "root" : bone->name.text())) return;
  }
  for (int k = 0; k < n; ++k)
    if (isRotation(codes[k])) writeMovNumber(out, values[k]);
}

std::vector<int> codesOf(const KaASFDOFGroup& dofs) {
  std::vector<int> codes;
  codes.reserve(dofs.count());
  for (const KaASFDOF* dof : dofs.dofs) codes.push_back(dof->dof);
  return codes;
}

bool hasTranslation(const std::vector<int>& codes) {
  for (int code : codes)
    if (isTranslation(code)) return true;
  return false;
}

// The slot of the first name of the motion's name list that equals name
// without regard to case, or -1.
int slotOf(const KaAMC& motion, const KtStr& name) {
  for (int i = 0; i < motion.boneNames.count(); ++i)
    if (motion.boneNames[i].length() == name.length() && motion.boneNames[i].iCmp(name) == 0)
      return i;
  return -1;
}

}  // namespace

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
  for (const KaASFBone* bone : skeleton.bones) checkBone(bone->name, bone->dofs, first);
  warnAboutBonesNotInSkeleton(skeleton, first);
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
    if (code[k] == KaTX)
      m->preTranslateX(t);
    else if (code[k] == KaTY)
      m->preTranslateY(t);
    else if (code[k] == KaTZ)
      m->preTranslateZ(t);
  }
  for (int k = n - 1; k >= 0; --k) {
    const int c = code[k];
    if (!isRotation(c)) continue;
    float a = degrees ? (float)((double)values[k] * kDegreesToRadians) : values[k];
    if (c == KaRX)
      m->preRotateX(a);
    else if (c == KaRY)
      m->preRotateY(a);
    else
      m->preRotateZ(a);
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

// ---------------------------------------------------------------- frames

struct ChannelConverter::Node {
  const KaASFBone* bone = nullptr;  // null for the root
  const char* name = "root";
  int parent = -1;      // the parent's node (0: the root); -1 for the root
  bool regular = true;  // the chain reaches the root through nodes, loop-free
  int slot = -1;        // in the motion's name list, or -1
  std::vector<int> codes;
  bool translation = false;
  const KaAMCBone* entry = nullptr;  // in the current frame
  unsigned long long stamp = 0;      // the frame animated was composed for
  KtCoordSystem animated;
  // Per frame kind (0: without a root entry, 1: with one): the rest
  // transform and the relative frame it was made with.
  bool restReady[2] = {false, false};
  KtCoordSystem rest[2];
  KtCoordSystem rel[2];
};

ChannelConverter::ChannelConverter(const KaASF& skeleton, const KaAMC& motion)
    : _skeleton(skeleton),
      _motion(motion),
      _scale(motconvScale(skeleton)),
      _degrees(motion.degrees) {
  _identity = 1.0f;
  // Node 0 is the root; then one node per distinct bone, in bone-list order.
  std::unordered_map<const KaASFBone*, int> nodeOf;
  _nodes.emplace_back();
  _columnNode.push_back(0);
  for (const KaASFBone* b : skeleton.bones) {
    auto inserted = nodeOf.emplace(b, (int)_nodes.size());
    if (inserted.second) {
      _nodes.emplace_back();
      _nodes.back().bone = b;
      _nodes.back().name = b->name.text();
    }
    _columnNode.push_back(inserted.first->second);
  }

  Node& root = _nodes[0];
  root.codes = codesOf(skeleton.root.order);
  root.rest[0] = 1.0f;
  setRootRest(&root.rest[1], skeleton.root, _scale);
  root.restReady[0] = root.restReady[1] = true;
  for (int k = 1; k < (int)_nodes.size(); ++k) {
    Node& n = _nodes[k];
    n.codes = codesOf(n.bone->dofs);
    if (!n.bone->parent) {
      n.parent = 0;
    } else {
      auto found = nodeOf.find(n.bone->parent);
      n.parent = found == nodeOf.end() ? -1 : found->second;
    }
  }
  for (Node& n : _nodes) {
    n.translation = hasTranslation(n.codes);
    n.slot = slotOf(motion, KtStr(n.name));
  }

  // A chain through a parent outside the bone list or round a loop (both
  // only possible in a skeleton built in memory) is composed bone by bone,
  // as composeMotionMatrices does. 0: not yet known, 1: being walked, 2:
  // regular, 3: not.
  std::vector<char> state(_nodes.size(), 0);
  state[0] = 2;
  for (int k = 1; k < (int)_nodes.size(); ++k) {
    _path.clear();
    int p = k;
    while (p >= 0 && state[p] == 0) {
      state[p] = 1;
      _path.push_back(p);
      p = _nodes[p].parent;
    }
    const char result = p >= 0 && state[p] == 2 ? 2 : 3;
    for (int q : _path) {
      state[q] = result;
      _nodes[q].regular = result == 2;
    }
  }
  _path.clear();
}

ChannelConverter::~ChannelConverter() = default;

int ChannelConverter::columnCount() const {
  return (int)_columnNode.size();
}

const char* ChannelConverter::name(int column) const {
  return _nodes[_columnNode[column]].name;
}

void ChannelConverter::setFrame(const KaAMCField& frame) {
  _frame = &frame;
  ++_stamp;
  for (Node& n : _nodes) n.entry = frame.findBoneInSlot(n.slot, _motion.boneNames, n.name);
  _withRoot = _nodes[0].entry ? 1 : 0;
}

const KaAMCBone* ChannelConverter::entry(int column) const {
  return _nodes[_columnNode[column]].entry;
}

// The rest transform of a regular node; the ancestors' are made first, each
// from its parent's.
const KtCoordSystem& ChannelConverter::_restOf(int node, int withRoot) {
  _path.clear();
  for (int k = node; !_nodes[k].restReady[withRoot]; k = _nodes[k].parent) _path.push_back(k);
  for (int i = (int)_path.size() - 1; i >= 0; --i) {
    Node& n = _nodes[_path[i]];
    const KtCoordSystem& parentRest = _nodes[n.parent].rest[withRoot];
    KtCoordSystem inverseRest = parentRest;
    inverseRest.invert();
    KtCoordSystem axisFrame;
    KaGetComposedBoneMatrices(&axisFrame, &n.rel[withRoot], *n.bone, inverseRest);
    Kt4X4FloatMat::_multfunc(n.rest[withRoot].m, n.rel[withRoot].m, parentRest.m);
    n.restReady[withRoot] = true;
  }
  return _nodes[node].rest[withRoot];
}

// The animated transform of a regular node in the current frame; the
// ancestors' are composed first, each from its parent's.
const KtCoordSystem& ChannelConverter::_animatedOf(int node) {
  Node& root = _nodes[0];
  if (root.stamp != _stamp) {
    root.animated = _withRoot ? root.rest[1] : _identity;
    applyEntry(&root.animated, _skeleton.root.order, root.entry, _scale, _degrees);
    root.stamp = _stamp;
  }
  if (node == 0) return root.animated;
  _restOf(node, _withRoot);
  _path.clear();
  for (int k = node; _nodes[k].stamp != _stamp; k = _nodes[k].parent) _path.push_back(k);
  for (int i = (int)_path.size() - 1; i >= 0; --i) {
    Node& n = _nodes[_path[i]];
    Kt4X4FloatMat::_multfunc(n.animated.m, n.rel[_withRoot].m, _nodes[n.parent].animated.m);
    applyEntry(&n.animated, n.bone->dofs, n.entry, _scale, _degrees);
    n.stamp = _stamp;
  }
  return _nodes[node].animated;
}

// The animated transform of a regular bone's parent (for a bone on the
// root, the root's).
const KtCoordSystem& ChannelConverter::_parentAnimatedOf(int node) {
  return _animatedOf(_nodes[node].parent);
}

void ChannelConverter::printChannels(std::ostream& out, int column) {
  const int node = _columnNode[column];
  Node& n = _nodes[node];
  const int count = n.entry->values.count();
  const float* values = n.entry->values.data();
  const int dofCount = (int)n.codes.size();
  if (!n.regular) {
    ::printChannels(out, node == 0, n.bone, _skeleton, *_frame, n.codes.data(), dofCount, values,
                    count, _degrees, _scale);
    return;
  }
  if (!valueCountMatches(count, dofCount)) return;
  if (n.translation) {
    KtCoordSystem local;
    if (node == 0) {
      // The root's parent frame is the identity, whose inverse it is.
      local = _animatedOf(0);
    } else {
      const KtCoordSystem& animated = _animatedOf(node);
      KtCoordSystem parent = _parentAnimatedOf(node);
      parent.invert();
      Kt4X4FloatMat::_multfunc(local.m, animated.m, parent.m);
    }
    if (!writeTranslation(out, local, *_frame, n.name)) return;
  }
  for (int k = 0; k < dofCount; ++k)
    if (isRotation(n.codes[k])) writeMovNumber(out, values[k]);
}
