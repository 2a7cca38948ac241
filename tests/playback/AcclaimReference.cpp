#include "tests/playback/AcclaimReference.h"

#include <map>

#include "acclaim/KaAMC.h"
#include "acclaim/KaASF.h"

namespace playback {

namespace {

// Axis codes 1, 2, 3 (x, y, z), first letter applied first.
Mat3 composed(const double angles[3], const int codes[3]) {
  Mat3 r;
  for (int k = 0; k < 3; ++k)
    if (codes[k] >= 1 && codes[k] <= 3) r = r * rotation(codes[k] - 1, angles[codes[k] - 1]);
  return r;
}

struct Motion {
  Mat3 m;
  Vec3 t;
};

// A bone's (or the root's) motion in one frame: rotations in dof-list
// order, translations as a vector; no entry is no motion.
Motion motionOf(const KaASFDOFGroup& dofs, const KaAMCBone* entry, int degrees) {
  Motion motion;
  if (!entry) return motion;
  const double unit = degrees ? M_PI / 180.0 : 1.0;
  for (int k = 0; k < dofs.count() && k < entry->values.count(); ++k) {
    const int code = dofs.dofAt(k)->dof;
    const double v = entry->values[k];
    if (code == KaTX) motion.t.x = v;
    if (code == KaTY) motion.t.y = v;
    if (code == KaTZ) motion.t.z = v;
    if (code >= KaRX && code <= KaRZ) motion.m = motion.m * rotation(code - KaRX, v * unit);
  }
  return motion;
}

struct Posed {
  Mat3 g;  // world motion
  Vec3 start, tip;
  Mat3 frame;
};

class Poser {
 public:
  Poser(const KaASF& s, const KaAMCField& f, int degrees) : _s(s), _f(f), _degrees(degrees) {
    _L = s.header.length;
    const double o[3] = {s.root.orientation[0], s.root.orientation[1], s.root.orientation[2]};
    const int axis[3] = {s.root.axis[0], s.root.axis[1], s.root.axis[2]};
    const Mat3 O = composed(o, axis);
    const Motion m = motionOf(s.root.order, f.findBone("root"), degrees);
    _root.g = transpose(O) * m.m * O;
    _root.frame = m.m * O;
    const Vec3 position{s.root.position.x, s.root.position.y, s.root.position.z};
    _root.start = (m.t * O + position) * (1.0 / _L);
    _root.tip = _root.start;
  }

  const Posed& root() const { return _root; }

  const Posed& bone(const KaASFBone* b) {
    auto found = _done.find(b);
    if (found != _done.end()) return found->second;
    const Posed& parent = b->parent ? bone(b->parent) : _root;
    const double a[3] = {b->axis[0], b->axis[1], b->axis[2]};
    const int order[3] = {b->order[0], b->order[1], b->order[2]};
    const Mat3 C = composed(a, order);
    const Motion m = motionOf(b->dofs, _f.findBone(b->name), _degrees);
    Posed p;
    p.g = transpose(C) * m.m * C * parent.g;
    p.frame = C * p.g;
    p.start = parent.tip + (m.t * (1.0 / _L)) * (C * parent.g);
    // The skeleton holds the length already divided by the length factor.
    const Vec3 direction{b->direction.x, b->direction.y, b->direction.z};
    p.tip = p.start + (direction * (double)b->length) * p.g;
    return _done[b] = p;
  }

 private:
  const KaASF& _s;
  const KaAMCField& _f;
  int _degrees;
  double _L = 1;
  Posed _root;
  std::map<const KaASFBone*, Posed> _done;
};

}  // namespace

std::vector<BonePose> acclaimPose(const KaASF& skeleton, const KaAMCField& frame, int degrees) {
  Poser poser(skeleton, frame, degrees);
  std::vector<BonePose> poses;
  poses.push_back({"root", poser.root().start, poser.root().tip, poser.root().frame});
  for (const KaASFBone* b : skeleton.bones) {
    const Posed& p = poser.bone(b);
    poses.push_back({b->name.text(), p.start, p.tip, p.frame});
  }
  return poses;
}

}  // namespace playback
