#include "raro/KrScene.h"

namespace {

int axisOfLetter(char c) {
  return c == 'x' ? 0 : c == 'y' ? 1 : c == 'z' ? 2 : -1;
}

}  // namespace

int KrScene::addJoint(const KrJoint& joint, const KrVec3& position) {
  KrJoint j = joint;
  j.parent = _selected;
  if (_selected >= 0) {
    // The parent's world at rest: no take has been applied yet.
    j.translate = (KrTransform{KrMat3(), position} * KrInverse(world(_selected))).t;
  } else {
    j.translate = position;
  }
  _index[j.name] = (int)_joints.size();
  _joints.push_back(j);
  _orients.push_back(KrRotation(0, j.orient[0]) * KrRotation(1, j.orient[1]) *
                     KrRotation(2, j.orient[2]));
  _selected = (int)_joints.size() - 1;
  return _selected;
}

int KrScene::find(const std::string& name) const {
  auto found = _index.find(name);
  return found == _index.end() ? -1 : found->second;
}

int KrScene::axesNeeded() const {
  int needed = 0;
  for (const KrBinding& b : _bindings)
    if (b.axis + 1 > needed) needed = b.axis + 1;
  return needed;
}

void KrScene::apply(const double* values, double angleScale) {
  for (const KrBinding& b : _bindings) {
    const double v = values[b.axis];
    KrJoint& j = _joints[b.joint];
    if (b.translate) {
      double* t[3] = {&j.translate.x, &j.translate.y, &j.translate.z};
      *t[b.component] = v;
    } else {
      j.rotate[b.component] = v * angleScale;
    }
  }
}

KrTransform KrScene::_local(int joint) const {
  const KrJoint& j = _joints[joint];
  KrMat3 r;
  for (char c : j.order) {
    // A turn by 0 is the identity: leaving it out changes no bit.
    const int axis = axisOfLetter(c);
    if (j.rotate[axis] != 0) r = r * KrRotation(axis, j.rotate[axis]);
  }
  return KrTransform{r * _orients[joint], j.translate};
}

KrTransform KrScene::world(int joint) const {
  const KrJoint& j = _joints[joint];
  return j.parent < 0 ? _local(joint) : _local(joint) * world(j.parent);
}

void KrScene::positions(std::vector<KrVec3>* out) const {
  // A parent always comes before its children, so one pass in joint order
  // composes every world from its parent's.
  _worlds.resize(_joints.size());
  out->resize(_joints.size());
  for (size_t i = 0; i < _joints.size(); ++i) {
    const int parent = _joints[i].parent;
    _worlds[i] = parent < 0 ? _local((int)i) : _local((int)i) * _worlds[parent];
    (*out)[i] = _worlds[i].t;
  }
}
