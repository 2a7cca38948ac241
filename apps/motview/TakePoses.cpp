#include "apps/motview/TakePoses.h"

#include <algorithm>

#include "raro/KrJointScriptReader.h"

bool TakePoses::readJointScript(const std::string& text, const char* path) {
  return KrReadJointScript(text, path, &_scene);
}

bool TakePoses::readImportScript(const std::string& text, const char* path) {
  return KrReadImportScript(text, path, &_scene, &_take);
}

bool TakePoses::readMov(const std::string& text, const char* path) {
  _boxKnown = false;
  return KrReadMov(text, path, _take, _scene.axesNeeded(), &_mov);
}

void TakePoses::positionsAt(long frame, std::vector<KrVec3>* positions) {
  // Column 0 of a MOV line is its time; device axis k is column k + 1.
  _scene.apply(_mov.row((int)(frame - _take.firstFrame)) + 1, _take.angleScale);
  _scene.positions(positions);
}

const TakePoses::Box& TakePoses::takeBox() {
  if (_boxKnown) return _box;
  std::vector<KrVec3> positions;
  bool first = true;
  for (long f = firstFrame(); f <= lastFrame(); ++f) {
    positionsAt(f, &positions);
    for (const KrVec3& p : positions) {
      if (first) _box.low = _box.high = p;
      first = false;
      _box.low = {std::min(_box.low.x, p.x), std::min(_box.low.y, p.y), std::min(_box.low.z, p.z)};
      _box.high = {std::max(_box.high.x, p.x), std::max(_box.high.y, p.y),
                   std::max(_box.high.z, p.z)};
    }
  }
  _boxKnown = true;
  return _box;
}
