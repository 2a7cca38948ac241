#ifndef KR_SCENE_H
#define KR_SCENE_H

// The joints of a Raro scene and how Raro evaluates them:
// - a joint's local transform is R . JO . T (row vectors): R its rotate
//   attribute composed in its rotation order, first letter applied first;
//   JO its orientation composed as Rx . Ry . Rz; T the translation by its
//   translate attribute; world = local . parent world;
// - a joint placed at an absolute position P under a parent gets rotate 0
//   and translate P . inverse(parent world at rest); a joint without a
//   parent gets translate P;
// - a take binds device axes to joint attributes; each bound attribute
//   takes its axis's value in the take's unit, and unbound attributes keep
//   what they hold.

#include <map>
#include <string>
#include <vector>

#include "raro/KrMath.h"

struct KrJoint {
  std::string name;
  int parent = -1;
  double rotate[3] = {0, 0, 0};  // radians
  double orient[3] = {0, 0, 0};  // radians
  KrVec3 translate;              // inches
  std::string order;             // three letters, first applied first
  std::string dof;               // the rotational axes Raro lets turn
};

// One device axis bound to one attribute of a joint.
struct KrBinding {
  int axis = 0;
  int joint = 0;
  bool translate = false;
  int component = 0;  // 0 x, 1 y, 2 z
};

class KrScene {
 public:
  // The selection the joint script's "select" lines set; -1 for none.
  void select(int joint) { _selected = joint; }
  int selected() const { return _selected; }
  // A new joint under the selected one at the absolute position; the new
  // joint becomes the selection. Returns its index.
  int addJoint(const KrJoint& joint, const KrVec3& position);

  int jointCount() const { return (int)_joints.size(); }
  const KrJoint& joint(int i) const { return _joints[i]; }
  // -1 when there is no joint of that name.
  int find(const std::string& name) const;
  bool hasJoint(const std::string& name) const { return find(name) >= 0; }

  void bind(const KrBinding& binding) { _bindings.push_back(binding); }
  const std::vector<KrBinding>& bindings() const { return _bindings; }
  // The highest bound axis plus one: the values a take line must hold.
  int axesNeeded() const;
  // Sets every bound attribute from values[axis]; angles are multiplied by
  // angleScale (radians per unit of the take). values must hold
  // axesNeeded() numbers.
  void apply(const double* values, double angleScale);

  KrTransform world(int joint) const;
  KrTransform world(const std::string& name) const { return world(find(name)); }
  // Every joint's world position, in joint order, in one walk. Called on
  // frame after frame of a take, it reuses its working space and each
  // joint's orientation matrix, which no take changes.
  void positions(std::vector<KrVec3>* out) const;

 private:
  KrTransform _local(int joint) const;

  std::vector<KrJoint> _joints;
  std::vector<KrMat3> _orients;              // each joint's orientation, composed once
  mutable std::vector<KrTransform> _worlds;  // positions()' working space
  std::map<std::string, int> _index;
  std::vector<KrBinding> _bindings;
  int _selected = -1;
};

#endif
