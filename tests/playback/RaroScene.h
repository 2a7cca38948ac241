#ifndef RARO_SCENE_H
#define RARO_SCENE_H

// A small model of how Raro evaluates the joints that the converters'
// scripts make and drive, for the play-back tests:
// - the joint script's "select -cl;", "select -r <joint>;" and
//   "joint -name ... [-absolute] -position ... -rotationOrder ... -dof ...
//   -orientation ...;" lines build the joints (numbers with "in" are
//   inches, with "rad" radians; a bare number must be 0); the addAttr and
//   setAttr lines of the translation attribute are accepted and change
//   nothing;
// - a joint's local transform is R . JO . T (row vectors): R its rotate
//   attribute composed in its rotation order, first letter applied first;
//   JO its orientation composed as Rx . Ry . Rz; T the translation by its
//   translate attribute; world = local . parent world;
// - "joint -absolute -position P" under a selected parent makes a joint with
//   rotate 0 and translate P . inverse(parent world at rest); a joint
//   without a parent gets translate P;
// - the import script's "defineVirtualDevice -channel" lines number the
//   device axes, its "attachDeviceAttr" lines bind axes to joint
//   attributes, and its "readTake" line gives the take's units;
// - a MOV line is the time and then one value per axis; each bound
//   attribute takes its axis's value in the declared unit, and unbound
//   attributes keep what they hold.

#include <map>
#include <string>
#include <vector>

#include "tests/playback/PlaybackMath.h"

namespace playback {

class RaroScene {
 public:
  // Each returns false with a reason in *problem for a line the model does
  // not know or a reference it cannot resolve.
  bool runJointScript(const std::string& text, std::string* problem);
  bool runImportScript(const std::string& text, std::string* problem);
  bool applyTakeLine(const std::vector<double>& columns, std::string* problem);

  bool hasJoint(const std::string& name) const { return _index.count(name) != 0; }
  Transform world(const std::string& name) const;
  int bindingCount() const { return (int)_bindings.size(); }
  int channelCount() const { return (int)_axes.size(); }
  const std::string& angleUnit() const { return _angleUnit; }

 private:
  struct Joint {
    std::string name;
    int parent = -1;
    double rotate[3] = {0, 0, 0};
    double orient[3] = {0, 0, 0};
    Vec3 translate;
    std::string order;  // three letters, first applied first
    std::string dof;    // the rotational axes Raro lets turn
  };
  struct Binding {
    int axis;
    int joint;
    bool translate;
    int component;  // 0 x, 1 y, 2 z
  };

  bool _joint(const std::vector<std::string>& words, std::string* problem);
  Transform _world(int joint) const;

  std::vector<Joint> _joints;
  std::map<std::string, int> _index;
  int _selected = -1;
  std::map<std::string, int> _axes;
  std::vector<Binding> _bindings;
  std::string _angleUnit;
  std::string _linearUnit;
};

// The numbers of a MOV file, one vector per line.
std::vector<std::vector<double>> readMovLines(const std::string& text);

}  // namespace playback

#endif
