#include "tests/playback/RaroScene.h"

#include "raro/KrJointScriptReader.h"
#include "raro/KrMovReader.h"
#include "toolkit/KtExcept.h"

namespace playback {

namespace {

// The diagnostics the model recorded, oldest first, one a line; the holder
// is cleared.
bool failed(std::string* problem) {
  problem->clear();
  for (KtExcept* e = theExceptObj.exception(); e; e = e->detail())
    *problem += std::string(e->message().text()) + "\n";
  theExceptObj.clear();
  return false;
}

}  // namespace

bool RaroScene::runJointScript(const std::string& text, std::string* problem) {
  return KrReadJointScript(text, "joint script", &_scene) || failed(problem);
}

bool RaroScene::runImportScript(const std::string& text, std::string* problem) {
  return KrReadImportScript(text, "import script", &_scene, &_take) || failed(problem);
}

bool RaroScene::readMov(const std::string& text, std::vector<std::vector<double>>* lines,
                        std::string* problem) {
  KrMov mov;
  if (!KrReadMov(text, "MOV file", _take, _scene.axesNeeded(), &mov)) return failed(problem);
  lines->clear();
  for (int f = 0; f < mov.frames(); ++f) lines->emplace_back(mov.row(f), mov.row(f) + mov.columns);
  return true;
}

bool RaroScene::applyTakeLine(const std::vector<double>& columns, std::string* problem) {
  // Column 0 is the time; device axis k is column k + 1.
  if ((int)columns.size() < _scene.axesNeeded() + 1) {
    *problem = "a MOV line without a value for every bound axis";
    return false;
  }
  _scene.apply(columns.data() + 1, _take.angleScale);
  return true;
}

Transform RaroScene::world(const std::string& name) const {
  const KrTransform w = _scene.world(name);
  Transform t;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.r.m[i][j] = w.r.m[i][j];
  t.t = {w.t.x, w.t.y, w.t.z};
  return t;
}

}  // namespace playback
