#include "acclaim/KaASF.h"

#include <strings.h>

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const char* const kDofTexts[] = {"tx", "ty", "tz", "rx", "ry", "rz", "l"};

// Destroys every pointee, then empties the list. The list's last() walks
// from its start, so taking the pointees from the end one by one would make
// clearing a skeleton of many bones quadratic.
template <class T>
void deleteAll(KtList<T*>& list) {
  {
    KtListIter<T*> it(list);
    while (!it.atEnd()) delete *it.next();
  }
  list._clear();
}

void deleteDofs(KtList<KaASFDOF*>& dofs) {
  deleteAll(dofs);
}

std::string foldedName(const char* name) {
  std::string s(name);
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  return s;
}

void relinkGroups(KaASFDOFGroup& list, const KaASF& owner) {
  KtListIter<KaASFDOF*> it(list.dofs);
  while (!it.atEnd()) {
    KaASFDOF* dof = *it.next();
    if (dof->group) dof->group = owner.findDOFGroup(dof->group->name);
  }
}

}  // namespace

int KaASFDofCode(const char* text) {
  static const char* const upper[] = {"TX", "TY", "TZ", "RX", "RY", "RZ", "L"};
  for (int i = 0; i < 7; i++)
    if (strcasecmp(text, upper[i]) == 0) return i + 1;
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
  KtListIter<KaASFDOF*> it(dofs);
  while (!it.atEnd()) {
    KaASFDOF* dof = *it.next();
    if (dof->group && strcasecmp(dof->group->name, groupName) == 0) return true;
  }
  return false;
}

bool KaASFDOFGroup::hasGroupDOFs() const {
  KtListIter<KaASFDOF*> it(dofs);
  while (!it.atEnd())
    if ((*it.next())->group) return true;
  return false;
}

bool KaASFDOFGroup::hasNonGroupDOFs() const {
  KtListIter<KaASFDOF*> it(dofs);
  while (!it.atEnd())
    if (!(*it.next())->group) return true;
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
  KtListIter<KaASFDOF*> it(list);
  while (!it.atEnd()) addDOF(**it.next());
}

void KaASFDOFGroup::clearDOFs() {
  deleteDofs(dofs);
}

int KaASFDOFGroup::dofIndex(int code) const {
  KtListIter<KaASFDOF*> it(dofs);
  for (int i = 0; !it.atEnd(); i++)
    if ((*it.next())->dof == code) return i;
  return -1;
}

KaASFLimits* KaASFDOFGroup::limits(int code) {
  KtListIter<KaASFDOF*> it(dofs);
  while (!it.atEnd()) {
    KaASFDOF* dof = *it.next();
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
  KtListIter<KaASFDOFGroup*> groups(other.dofGroups);
  while (!groups.atEnd()) {
    KaASFDOFGroup* copy = new KaASFDOFGroup(**groups.next());
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
  KtListIter<KaASFBone*> source(other.bones);
  while (!source.atEnd()) {
    KaASFBone* copy = new KaASFBone(**source.next());
    relinkGroups(copy->dofs, *this);
    bones.append(copy);
    byName.emplace(foldedName(copy->name), copy);
  }
  auto lookup = [&byName](KaASFBone* bone) -> KaASFBone* {
    if (!bone) return nullptr;
    auto found = byName.find(foldedName(bone->name));
    return found == byName.end() ? nullptr : found->second;
  };
  KtListIter<KaASFBone*> copies(bones);
  while (!copies.atEnd()) {
    KaASFBone* bone = *copies.next();
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
    if (strcasecmp(group->name, name) == 0) {
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
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    KaASFBone* bone = *it.next();
    if (bone->id() == id) return bone;
  }
  return nullptr;
}

KaASFBone* KaASF::findBone(const char* name) const {
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    KaASFBone* bone = *it.next();
    if (strcasecmp(bone->name, name) == 0) return bone;
  }
  return nullptr;
}

KaASFDOFGroup* KaASF::findDOFGroup(const char* name) const {
  KtListIter<KaASFDOFGroup*> it(dofGroups);
  while (!it.atEnd()) {
    KaASFDOFGroup* group = *it.next();
    if (group->name == name) return group;
  }
  return nullptr;
}

void KaASF::getChildBonesOfRoot(KtList<KaASFBone*>* out) const {
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    KaASFBone* bone = *it.next();
    if (!bone->parent) out->append(bone);
  }
}

void KaASF::getChildBonesOfBone(KtList<KaASFBone*>* out, int id) const {
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    KaASFBone* bone = *it.next();
    if (bone->parent && bone->parent->id() == id) out->append(bone);
  }
}

int KaASF::lastBoneId() const {
  int last = 0;
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    int id = (*it.next())->id();
    if (id > last) last = id;
  }
  return last;
}

int KaASF::firstUnusedBoneId() const {
  // The answer is at most count + 1, so ids beyond that need no slot.
  int n = bones.count();
  std::vector<bool> used((size_t)n + 2, false);
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd()) {
    int id = (*it.next())->id();
    if (id >= 1 && id <= n + 1) used[(size_t)id] = true;
  }
  int i = 1;
  while (used[(size_t)i]) i++;
  return i;
}

int KaASF::numBonesWithDOF() const {
  int n = 0;
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd())
    if (!(*it.next())->dofs.isEmpty()) n++;
  return n;
}

bool KaASF::_bonesUseDOFGroup(const char* name) const {
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd())
    if ((*it.next())->dofs.usesDOFGroup(name)) return true;
  return false;
}

bool KaASF::_bonesUseGroupDOFs() const {
  KtListIter<KaASFBone*> it(bones);
  while (!it.atEnd())
    if ((*it.next())->dofs.hasGroupDOFs()) return true;
  return false;
}
