// The motion model: copying, building and linking frames to names.

#include "acclaim/KaAMC.h"

#include <cstring>

// ---------------------------------------------------------------- KaAMCField

KaAMCField::KaAMCField(const KaAMCField& other)
    : boneNames(other.boneNames), number(other.number), bones(other.bones) {
  _packValues(-1, nullptr, 0);
}

KaAMCField& KaAMCField::operator=(const KaAMCField& other) {
  if (&other == this) return *this;
  boneNames = other.boneNames;
  number = other.number;
  bones = other.bones;
  _packValues(-1, nullptr, 0);
  return *this;
}

void KaAMCField::_packValues(int replaced, const float* with, int withCount) {
  int total = 0;
  for (int i = 0; i < bones.count(); i++)
    total += i == replaced ? withCount : bones[i].values.count();
  KtDArray<float> block;
  block._realloc(total);
  float* p = block.data();
  for (int i = 0; i < bones.count(); i++) {
    const float* from = i == replaced ? with : bones[i].values.data();
    int n = i == replaced ? withCount : bones[i].values.count();
    if (n > 0) std::memcpy(p, from, sizeof(float) * n);
    _setView(&bones[i].values, p, n);
    p += n;
  }
  // The old block goes only now: the values copied may have lived in it.
  _values = std::move(block);
}

void KaAMCField::setBoneValues(int i, const float* values, int count) {
  if (i < 0 || i >= bones.count()) return;
  _packValues(i, values, count < 0 ? 0 : count);
}

void KaAMCField::setBoneValues(int i, const KtArray<float>& values) {
  setBoneValues(i, values.data(), values.count());
}

void KaAMCField::setBoneNamesPtr(const KtArray<KtStr>* names) {
  int named = names ? names->count() : 0;
  for (int i = 0; i < bones.count(); i++) bones[i].name = i < named ? &(*names)[i] : nullptr;
  boneNames = names;
}

void KaAMCField::setNumBones(int n) {
  bones._resize(n);
}

void KaAMCField::setBones(const KtArray<KaAMCBone>& newBones) {
  bones = newBones;
  _packValues(-1, nullptr, 0);
  if (boneNames) setBoneNamesPtr(boneNames);
}

void KaAMCField::setBones(const KtList<KaAMCBone>& newBones) {
  bones._resize(newBones.count());
  int i = 0;
  for (const KaAMCBone& bone : newBones) bones[i++] = bone;
  _packValues(-1, nullptr, 0);
  if (boneNames) setBoneNamesPtr(boneNames);
}

const KaAMCBone* KaAMCField::findBoneInSlot(int slot, const KtArray<KtStr>& names,
                                            const char* name) const {
  if (slot >= 0 && slot < bones.count() && bones[slot].name == &names[slot]) return &bones[slot];
  if (slot < 0 && boneNames == &names) return nullptr;
  return findBone(name);
}

KaAMCBone* KaAMCField::findBone(const char* name) const {
  KtStr wanted(name);
  int length = wanted.length();
  for (const KaAMCBone& bone : bones) {
    // The length test makes the usual miss cheap.
    if (bone.name && bone.name->length() == length && bone.name->iCmp(name) == 0)
      return const_cast<KaAMCBone*>(&bone);
  }
  return nullptr;
}

// ---------------------------------------------------------------- KaAMC

KaAMC::KaAMC(const KaAMC& other) {
  *this = other;
}

KaAMC& KaAMC::operator=(const KaAMC& other) {
  if (&other == this) return *this;
  _clear();
  mode = other.mode;
  degrees = other.degrees;
  boneNames = other.boneNames;
  fields = other.fields;
  _linkFields();
  return *this;
}

void KaAMC::setFields(const KtArray<KaAMCField>& newFields) {
  fields = newFields;
  _linkFields();
}

void KaAMC::setBoneNames(const KtArray<KtStr>& names) {
  boneNames = names;
  _linkFields();
}

void KaAMC::setBoneNames(const KtList<KtStr>& names) {
  boneNames._resize(names.count());
  int i = 0;
  for (const KtStr& name : names) boneNames[i++] = name;
  _linkFields();
}

KaAMCField* KaAMC::createField(int number) {
  int n = fields.count();
  fields._resize(n + 1);
  KaAMCField& field = fields[n];
  field.number = number;
  field.setNumBones(boneNames.count());
  field.setBoneNamesPtr(&boneNames);
  return &field;
}

void KaAMC::_clear() {
  fields._clear();
  boneNames._clear();
}

void KaAMC::_linkFields() {
  for (KaAMCField& field : fields) field.setBoneNamesPtr(&boneNames);
}
