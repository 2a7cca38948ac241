#ifndef RARO_SCENE_H
#define RARO_SCENE_H

// The play-back tests' view of a Raro scene: the library's Raro model
// (raro/) reads the joint script, the import script and the MOV file and
// evaluates the joints; this adapter hands its faults back as text and its
// transforms in the tests' own math, so that the Acclaim reference shares
// nothing with the model.

#include <string>
#include <vector>

#include "raro/KrImportScriptReader.h"
#include "raro/KrScene.h"
#include "tests/playback/PlaybackMath.h"

namespace playback {

class RaroScene {
 public:
  // Each returns false with the model's diagnostics in *problem.
  bool runJointScript(const std::string& text, std::string* problem);
  bool runImportScript(const std::string& text, std::string* problem);
  // The MOV file's lines, each the time and then one value per axis.
  bool readMov(const std::string& text, std::vector<std::vector<double>>* lines,
               std::string* problem);
  bool applyTakeLine(const std::vector<double>& columns, std::string* problem);

  bool hasJoint(const std::string& name) const { return _scene.hasJoint(name); }
  Transform world(const std::string& name) const;
  int bindingCount() const { return (int)_scene.bindings().size(); }
  // The device axes a take line must hold.
  int axisCount() const { return _scene.axesNeeded(); }
  std::string angleUnit() const { return _take.degrees ? "degree" : "radian"; }
  const KrTake& take() const { return _take; }

 private:
  KrScene _scene;
  KrTake _take;
};

}  // namespace playback

#endif
