#include "acclaim/KaASF.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/KtChars.h"

namespace {

const char* const kDofTexts[] = {"tx", "ty", "tz", "rx", "ry", "rz", "l"};

// Destroys every pointee, then empties the list. The list's last() walks
// from its start, so taking the pointees from the end one by one would make
// clearing a skeleton of many bones quadratic.
template <class T>
void deleteAll(KtList<T*>& list) {
  for (T* item : list) delete item;
  list._clear();
}

void deleteDofs(KtList<KaASFDOF*>& dofs) {
  deleteAll(dofs);
}

void relinkGroups(KaASFDOFGroup& list, const KaASF& owner) {
  for (KaASFDOF* dof : list.dofs)
    if (dof->group) dof->group = owner.findDOFGroup(dof->group->name);
}

}  // namespace

int KaASFDofCode(const char* text) {
  static const char* const upper[] = {"TX", "TY", "TZ", "RX", "RY", "RZ", "L"};
  for (int i = 0; i < 7; i++)
    if (KtEqualNoCase(text, upper[i])) return i + 1;
  return -1;
}

const char* KaASFDofText(int code) {
  return code >= 1 && code <= 7 ? kDofTexts[code - 1] : nullptr;
}

// -- KaASFDOF --

KaASFLimits* KaASFDOF::limits() {
  return group ? group->limits(dof) : &_limits;
}

const KaASFLimits* KaASFDOF::limits() const {
  return group ? static_cast<const KaASFDOFGroup*>(group)->limits(dof) : &_limits;
}

// -- KaASFDOFGroup --

KaASFDOFGroup::KaASFDOFGroup(const KaASFDOFGroup& other) : name(other.name) {
  setDOFs(other.dofs);
}

KaASFDOFGroup& KaASFDOFGroup::operator=(const KaASFDOFGroup& other) {
  if (&other != this) {
    name = other.name;
    setDOFs(other.dofs);
  }
  return *this;
}

KaASFDOFGroup::~KaASFDOFGroup() {
  deleteDofs(dofs);
}

bool KaASFDOFGroup::usesDOFGroup(const char* groupName) const {
  for (const KaASFDOF* dof : dofs)
    if (dof->group && KtEqualNoCase(dof->group->name, groupName)) return true;
  return false;
}

bool KaASFDOFGroup::hasGroupDOFs() const {
  for (const KaASFDOF* dof : dofs)
    if (dof->group) return true;
  return false;
}

bool KaASFDOFGroup::hasNonGroupDOFs() const {
  for (const KaASFDOF* dof : dofs)
    if (!dof->group) return true;
  return false;
}

bool KaASFDOFGroup::hasDOF(int code) const {
  return dofIndex(code) >= 0;
}

void KaASFDOFGroup::addDOF(int code) {
  dofs.append(new KaASFDOF(code));
}

void KaASFDOFGroup::addDOF(const KtDArray<int>& codes) {
  for (int i = 0; i < codes.count(); i++) addDOF(codes[i]);
}

void KaASFDOFGroup::addDOF(const KaASFDOF& dof) {
  dofs.append(new KaASFDOF(dof));
}

void KaASFDOFGroup::setDOFs(const KtDArray<int>& codes) {
  clearDOFs();
  addDOF(codes);
}

void KaASFDOFGroup::setDOFs(const KtList<KaASFDOF*>& list) {
  if (&list == &dofs) return;
  clearDOFs();
  for (const KaASFDOF* dof : list) addDOF(*dof);
}

void KaASFDOFGroup::clearDOFs() {
  deleteDofs(dofs);
}

int KaASFDOFGroup::dofIndex(int code) const {
  int i = 0;
  for (const KaASFDOF* dof : dofs) {
    if (dof->dof == code) return i;
    i++;
  }
  return -1;
}

KaASFLimits* KaASFDOFGroup::limits(int code) {
  for (KaASFDOF* dof : dofs) {
    // A group never refers to itself, but a damaged model must not loop.
    if (dof->dof == code) return dof->group == this ? &dof->_limits : dof->limits();
  }
  return nullptr;
}

const KaASFLimits* KaASFDOFGroup::limits(int code) const {
  return const_cast<KaASFDOFGroup*>(this)->limits(code);
}

KaASFDOF* KaASFDOFGroup::dofAt(int index) const {
  if (index < 0 || index >= dofs.count()) return nullptr;
  return dofs[index];
}

// -- KaASFRoot and KaASFBone --

void KaASFRoot::setAxisOrient(const KtPoint& p) {
  orientation[0] = p.x;
  orientation[1] = p.y;
  orientation[2] = p.z;
}

static bool axisOrderValid(const KtArray<int>& order) {
  if (order.count() != 3) return false;
  for (int i = 0; i < 3; i++)
    if (order[i] < 1 || order[i] > 3) return false;
  return true;
}

bool KaASFRoot::_axisOrientOrderValid() const {
  return axisOrderValid(axis);
}

bool KaASFBone::_axisOrientOrderValid() const {
  return axisOrderValid(order);
}

// -- KaASF --

KaASF::KaASF(const KaASF& other) {
  operator=(other);
}

KaASF::~KaASF() {
  _clear();
}

KaASF& KaASF::operator=(const KaASF& other) {
  if (&other == this) return *this;
  _clear();
  header = other.header;
  for (const KaASFDOFGroup* group : other.dofGroups) {
    KaASFDOFGroup* copy = new KaASFDOFGroup(*group);
    relinkGroups(*copy, *this);
    dofGroups.append(copy);
  }
  root.position = other.root.position;
  root.orientation = other.root.orientation;
  root.axis = other.root.axis;
  root.order = other.root.order;
  relinkGroups(root.order, *this);

  // Parent and child links are replaced by this skeleton's first bone of
  // the same name; an index keeps that linear for very large skeletons.
  std::unordered_map<std::string, KaASFBone*> byName;
  for (const KaASFBone* bone : other.bones) {
    KaASFBone* copy = new KaASFBone(*bone);
    relinkGroups(copy->dofs, *this);
    bones.append(copy);
    byName.emplace(KtLowerCase(copy->name), copy);
  }
  auto lookup = [&byName](KaASFBone* bone) -> KaASFBone* {
    if (!bone) return nullptr;
    auto found = byName.find(KtLowerCase(bone->name));
    return found == byName.end() ? nullptr : found->second;
  };
  for (KaASFBone* bone : bones) {
    bone->parent = lookup(bone->parent);
    bone->child = lookup(bone->child);
  }
  skins = other.skins;
  return *this;
}

void KaASF::_clear() {
  skins._resize(0);
  deleteAll(bones);
  removeDOFGroups();
  header.name = "";
  header.documentation = "";
}

void KaASF::addDOFGroup(const KaASFDOFGroup& group) {
  dofGroups.append(new KaASFDOFGroup(group));
}

void KaASF::addBone(const KaASFBone& bone) {
  bones.append(new KaASFBone(bone));
}

void KaASF::removeDOFGroup(const char* name) {
  KtListIter<KaASFDOFGroup*> it(dofGroups);
  for (int i = 0; !it.atEnd(); i++) {
    KaASFDOFGroup* group = *it.next();
    if (KtEqualNoCase(group->name, name)) {
      delete group;
      dofGroups.remove(i);
      return;
    }
  }
}

void KaASF::removeDOFGroups() {
  deleteAll(dofGroups);
}

KaASFBone* KaASF::findBone(int id) const {
  for (KaASFBone* bone : bones)
    if (bone->id() == id) return bone;
  return nullptr;
}

KaASFBone* KaASF::findBone(const char* name) const {
  for (KaASFBone* bone : bones)
    if (KtEqualNoCase(bone->name, name)) return bone;
  return nullptr;
}

KaASFDOFGroup* KaASF::findDOFGroup(const char* name) const {
  for (KaASFDOFGroup* group : dofGroups)
    if (group->name == name) return group;
  return nullptr;
}

void KaASF::getChildBonesOfRoot(KtList<KaASFBone*>* out) const {
  for (KaASFBone* bone : bones)
    if (!bone->parent) out->append(bone);
}

void KaASF::getChildBonesOfBone(KtList<KaASFBone*>* out, int id) const {
  for (KaASFBone* bone : bones)
    if (bone->parent && bone->parent->id() == id) out->append(bone);
}

int KaASF::lastBoneId() const {
  int last = 0;
  for (const KaASFBone* bone : bones) {
    int id = bone->id();
    if (id > last) last = id;
  }
  return last;
}

int KaASF::firstUnusedBoneId() const {
  // The answer is at most count + 1, so ids beyond that need no slot.
  int n = bones.count();
  std::vector<bool> used((size_t)n + 2, false);
  for (const KaASFBone* bone : bones) {
    int id = bone->id();
    if (id >= 1 && id <= n + 1) used[(size_t)id] = true;
  }
  int i = 1;
  while (used[(size_t)i]) i++;
  return i;
}

int KaASF::numBonesWithDOF() const {
  int n = 0;
  for (const KaASFBone* bone : bones)
    if (!bone->dofs.isEmpty()) n++;
  return n;
}

bool KaASF::_bonesUseDOFGroup(const char* name) const {
  for (const KaASFBone* bone : bones)
    if (bone->dofs.usesDOFGroup(name)) return true;
  return false;
}

bool KaASF::_bonesUseGroupDOFs() const {
  for (const KaASFBone* bone : bones)
    if (bone->dofs.hasGroupDOFs()) return true;
  return false;
}
