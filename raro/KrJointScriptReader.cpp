#include "raro/KrJointScriptReader.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "raro/KrLineError.h"
#include "raro/KrScriptLine.h"
#include "raro/KrTexts.h"

namespace {

bool endsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A number with its unit suffix; a bare number is in Raro's current unit,
// which the script does not set, so it must be zero. Returns the message
// format of the fault, or nullptr.
const char* unitNumber(const std::string& w, const char* suffix, double* value) {
  const bool suffixed = endsWith(w, suffix);
  const std::string digits = suffixed ? w.substr(0, w.size() - std::string(suffix).size()) : w;
  char* end = nullptr;
  *value = std::strtod(digits.c_str(), &end);
  if (digits.empty() || *end != '\0' || !std::isfinite(*value) ||
      !(digits[0] == '-' || digits[0] == '.' || (digits[0] >= '0' && digits[0] <= '9')))
    return theKrBadNumber;
  if (!suffixed && *value != 0) return theKrBareNumber;
  return nullptr;
}

bool isAxisSet(const std::string& s, bool exactlyThree) {
  bool seen[3] = {false, false, false};
  for (char c : s) {
    const int a = c == 'x' ? 0 : c == 'y' ? 1 : c == 'z' ? 2 : -1;
    if (a < 0 || seen[a]) return false;
    seen[a] = true;
  }
  return !exactlyThree || s.size() == 3;
}

class Reader {
 public:
  Reader(const char* file, KrScene* scene) : _file(file), _scene(scene) {}
  bool line(const std::string& text, int number);

 private:
  bool fail(const char* fmt, const std::string& a = "", const std::string& b = "") {
    return KrLineError(theKrJointScriptFailed, _file, _number, fmt, a.c_str(), b.c_str());
  }
  bool joint(const std::vector<std::string>& w);
  bool note(const std::vector<std::string>& w);

  const char* _file;
  KrScene* _scene;
  int _number = 0;
};

bool Reader::line(const std::string& text, int number) {
  _number = number;
  const KrScriptLine line = KrSplitScriptLine(text);
  const std::vector<std::string>& w = line.words;
  if (w.empty()) return true;
  const bool known = w[0] == "joint" || w[0] == "select" || w[0] == "addAttr" || w[0] == "setAttr";
  if (!known) return fail(theKrExpectedJointLine);
  if (!line.terminated) return fail(theKrExpectedSemicolon);
  if (w[0] == "select") {
    if (w.size() == 2 && w[1] == "-cl") {
      _scene->select(-1);
      return true;
    }
    if (w.size() == 3 && w[1] == "-r") {
      const int j = _scene->find(w[2]);
      if (j < 0) return fail(theKrNoSuchJoint, w[2]);
      _scene->select(j);
      return true;
    }
    return fail(theKrExpectedJointLine);
  }
  if (w[0] == "joint") return joint(w);
  return note(w);
}

bool Reader::joint(const std::vector<std::string>& w) {
  KrJoint j;
  KrVec3 position;
  bool absolute = false, named = false, placed = false, ordered = false, dofs = false,
       oriented = false;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& flag = w[i];
    if (flag == "-name" && i + 1 < w.size()) {
      j.name = w[++i];
      named = true;
    } else if (flag == "-absolute") {
      absolute = true;
    } else if (flag == "-position" && i + 3 < w.size()) {
      double* p[3] = {&position.x, &position.y, &position.z};
      for (int k = 0; k < 3; ++k) {
        const std::string& n = w[i + 1 + k];
        if (const char* fault = unitNumber(n, "in", p[k]))
          return fault == theKrBadNumber ? fail(fault, "in", n) : fail(fault, n);
      }
      i += 3;
      placed = true;
    } else if (flag == "-rotationOrder" && i + 1 < w.size()) {
      j.order = w[++i];
      if (!isAxisSet(j.order, true)) return fail(theKrBadRotationOrder, j.order);
      ordered = true;
    } else if (flag == "-dof" && i + 1 < w.size()) {
      if (!KrUnquote(w[++i], &j.dof) || !isAxisSet(j.dof, false)) return fail(theKrBadDof, w[i]);
      dofs = true;
    } else if (flag == "-orientation" && i + 3 < w.size()) {
      for (int k = 0; k < 3; ++k) {
        const std::string& n = w[i + 1 + k];
        if (const char* fault = unitNumber(n, "rad", &j.orient[k]))
          return fault == theKrBadNumber ? fail(fault, "rad", n) : fail(fault, n);
      }
      i += 3;
      oriented = true;
    } else {
      return fail(theKrUnknownJointFlag, flag);
    }
  }
  if (!named || !placed || !ordered || !dofs || !oriented) return fail(theKrJointIncomplete);
  if (_scene->hasJoint(j.name)) return fail(theKrJointTwice, j.name);
  if (_scene->selected() >= 0 && !absolute) return fail(theKrChildNotAbsolute, j.name);
  _scene->addJoint(j, position);
  return true;
}

// addAttr -dt "string" -sn tdof -ln translateDegreesOfFreedom <joint>;
// setAttr <joint>.tdof -type "string" "<axes>";
bool Reader::note(const std::vector<std::string>& w) {
  std::string axes;
  if (w[0] == "addAttr" && w.size() == 8 && w[1] == "-dt" && w[2] == "\"string\"" &&
      w[3] == "-sn" && w[4] == "tdof" && w[5] == "-ln" && w[6] == "translateDegreesOfFreedom") {
    if (!_scene->hasJoint(w[7])) return fail(theKrNoSuchJoint, w[7]);
    return true;
  }
  if (w[0] == "setAttr" && w.size() == 5 && w[2] == "-type" && w[3] == "\"string\"" &&
      KrUnquote(w[4], &axes) && isAxisSet(axes, false) && endsWith(w[1], ".tdof")) {
    const std::string joint = w[1].substr(0, w[1].size() - 5);
    if (!_scene->hasJoint(joint)) return fail(theKrNoSuchJoint, joint);
    return true;
  }
  return fail(theKrBadAttributeLine);
}

}  // namespace

bool KrReadJointScript(const std::string& text, const char* fileName, KrScene* scene) {
  Reader reader(fileName, scene);
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!reader.line(line, ++number)) return false;
  }
  return true;
}
