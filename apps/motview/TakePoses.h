#ifndef TAKE_POSES_H
#define TAKE_POSES_H

#include <string>
#include <vector>

#include "raro/KrImportScriptReader.h"
#include "raro/KrMovReader.h"
#include "raro/KrScene.h"

// A converted take as Raro plays it: the joints the joint script builds,
// the import script's bindings and rate, and the MOV file's lines, read
// through the Raro model, and every joint's world position (inches) on any
// scene frame of the take. The readers record their faults with the file
// and line; this class adds nothing to them. It owns the model; it knows
// nothing of drawing.
class TakePoses {
 public:
  // In this order: the import script binds the joints of the joint script,
  // and the MOV lines are checked against the import script's rate, first
  // frame and bound axes. Each returns false with the fault recorded.
  bool readJointScript(const std::string& text, const char* path);
  bool readImportScript(const std::string& text, const char* path);
  bool readMov(const std::string& text, const char* path);

  int jointCount() const { return _scene.jointCount(); }
  const std::string& jointName(int joint) const { return _scene.joint(joint).name; }
  // -1 for a joint without a parent.
  int parent(int joint) const { return _scene.joint(joint).parent; }

  int fps() const { return _take.fps; }
  long firstFrame() const { return _take.firstFrame; }
  long lastFrame() const { return _take.firstFrame + _mov.frames() - 1; }
  int frameCount() const { return _mov.frames(); }
  // Scene frame N plays at N / fps seconds.
  double timeOf(long frame) const { return (double)frame / _take.fps; }

  // Every joint's world position at scene frame `frame` (a frame of the
  // take), in joint order.
  void positionsAt(long frame, std::vector<KrVec3>* positions);

  // The box holding every joint on every frame of the take.
  struct Box {
    KrVec3 low, high;
  };
  const Box& takeBox();

 private:
  KrScene _scene;
  KrTake _take;
  KrMov _mov;
  Box _box;
  bool _boxKnown = false;
};

#endif
