#include "tests/playback/RaroScene.h"

#include <cstdlib>
#include <sstream>

namespace playback {

namespace {

std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  if (!words.empty() && !words.back().empty() && words.back().back() == ';') {
    words.back().pop_back();
    if (words.back().empty()) words.pop_back();
  }
  return words;
}

std::string unquoted(const std::string& w) {
  if (w.size() >= 2 && w.front() == '"' && w.back() == '"') return w.substr(1, w.size() - 2);
  return w;
}

bool endsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A number of the joint script with its unit suffix: "in" (inches) or "rad"
// (radians). A bare number is in Raro's current unit, which the model does
// not know, so it must be zero.
bool unitNumber(const std::string& w, const char* suffix, double* value, std::string* problem) {
  std::string digits = w;
  bool suffixed = endsWith(w, suffix);
  if (suffixed) digits = w.substr(0, w.size() - std::string(suffix).size());
  char* end = nullptr;
  *value = std::strtod(digits.c_str(), &end);
  if (digits.empty() || *end != '\0') {
    *problem = "not a number: " + w;
    return false;
  }
  if (!suffixed && *value != 0) {
    *problem = "a number without unit that is not 0: " + w;
    return false;
  }
  return true;
}

int axisOfLetter(char c) { return c == 'x' ? 0 : c == 'y' ? 1 : c == 'z' ? 2 : -1; }

}  // namespace

bool RaroScene::runJointScript(const std::string& text, std::string* problem) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = wordsOf(line);
    if (words.empty()) continue;
    if (words[0] == "select" && words.size() == 2 && words[1] == "-cl") {
      _selected = -1;
    } else if (words[0] == "select" && words.size() == 3 && words[1] == "-r") {
      auto found = _index.find(words[2]);
      if (found == _index.end()) {
        *problem = "select of a joint that does not exist: " + line;
        return false;
      }
      _selected = found->second;
    } else if (words[0] == "joint") {
      if (!_joint(words, problem)) {
        *problem += " in: " + line;
        return false;
      }
    } else if (words[0] == "addAttr" || words[0] == "setAttr") {
      // The translation attribute: a note for the user, no effect on motion.
    } else {
      *problem = "a joint script line the model does not know: " + line;
      return false;
    }
  }
  return true;
}

bool RaroScene::_joint(const std::vector<std::string>& words, std::string* problem) {
  Joint j;
  bool absolute = false, named = false, placed = false;
  Vec3 position;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "-name" && i + 1 < words.size()) {
      j.name = words[++i];
      named = true;
    } else if (w == "-absolute") {
      absolute = true;
    } else if (w == "-position" && i + 3 < words.size()) {
      if (!unitNumber(words[i + 1], "in", &position.x, problem) ||
          !unitNumber(words[i + 2], "in", &position.y, problem) ||
          !unitNumber(words[i + 3], "in", &position.z, problem))
        return false;
      i += 3;
      placed = true;
    } else if (w == "-rotationOrder" && i + 1 < words.size()) {
      j.order = words[++i];
    } else if (w == "-dof" && i + 1 < words.size()) {
      j.dof = unquoted(words[++i]);
    } else if (w == "-orientation" && i + 3 < words.size()) {
      for (int k = 0; k < 3; ++k)
        if (!unitNumber(words[i + 1 + k], "rad", &j.orient[k], problem)) return false;
      i += 3;
    } else {
      *problem = "a joint flag the model does not know: " + w;
      return false;
    }
  }
  if (!named || !placed || j.order.size() != 3) {
    *problem = "a joint without name, position or rotation order";
    return false;
  }
  for (char c : j.order)
    if (axisOfLetter(c) < 0) {
      *problem = "a rotation order the model does not know: " + j.order;
      return false;
    }
  if (_index.count(j.name)) {
    *problem = "a second joint named " + j.name;
    return false;
  }
  j.parent = _selected;
  if (_selected >= 0) {
    if (!absolute) {
      *problem = "a joint under a parent without -absolute";
      return false;
    }
    // The parent's world at rest: no take has been applied yet.
    j.translate = (Transform{Mat3(), position} * inverse(_world(_selected))).t;
  } else {
    j.translate = position;
  }
  _index[j.name] = (int)_joints.size();
  _joints.push_back(j);
  _selected = (int)_joints.size() - 1;
  return true;
}

Transform RaroScene::_world(int joint) const {
  const Joint& j = _joints[joint];
  Mat3 r;
  for (char c : j.order) r = r * rotation(axisOfLetter(c), j.rotate[axisOfLetter(c)]);
  const Mat3 orient = rotation(0, j.orient[0]) * rotation(1, j.orient[1]) * rotation(2, j.orient[2]);
  Transform local{r * orient, j.translate};
  return j.parent < 0 ? local : local * _world(j.parent);
}

Transform RaroScene::world(const std::string& name) const { return _world(_index.at(name)); }

bool RaroScene::runImportScript(const std::string& text, std::string* problem) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> w = wordsOf(line);
    if (w.size() == 7 && w[0] == "defineVirtualDevice" && w[1] == "-channel" && w[3] == "-usage" &&
        w[5] == "-axis") {
      if (_axes.count(w[2])) {
        *problem = "a channel defined twice: " + line;
        return false;
      }
      _axes[w[2]] = std::atoi(w[6].c_str());
    } else if (!w.empty() && w[0] == "attachDeviceAttr") {
      if (w.size() != 6 || w[1] != "-device" || w[3] != "-axis") {
        *problem = "an attachDeviceAttr line the model does not know: " + line;
        return false;
      }
      auto axis = _axes.find(unquoted(w[4]));
      if (axis == _axes.end()) {
        *problem = "an attachment of an undefined channel: " + line;
        return false;
      }
      const std::string target = unquoted(w[5]);
      const size_t dot = target.find('.');
      const std::string joint = target.substr(0, dot);
      const std::string attribute = dot == std::string::npos ? "" : target.substr(dot + 1);
      auto found = _index.find(joint);
      if (found == _index.end()) {
        *problem = "an attachment to a joint the joint script does not create: " + line;
        return false;
      }
      Binding b;
      b.axis = axis->second;
      b.joint = found->second;
      if (attribute.size() == 10 && attribute.compare(0, 9, "translate") == 0) {
        b.translate = true;
        b.component = axisOfLetter((char)(attribute[9] - 'X' + 'x'));
      } else if (attribute.size() == 7 && attribute.compare(0, 6, "rotate") == 0) {
        b.translate = false;
        b.component = axisOfLetter((char)(attribute[6] - 'X' + 'x'));
        // Raro turns a joint only about its degrees of freedom; a rotation
        // bound outside them is a case the model cannot settle.
        if (_joints[b.joint].dof.find("xyz"[b.component]) == std::string::npos) {
          *problem = "a rotation bound outside the joint's -dof: " + line;
          return false;
        }
      } else {
        b.component = -1;
      }
      if (b.component < 0) {
        *problem = "an attribute the model does not know: " + line;
        return false;
      }
      _bindings.push_back(b);
    } else if (!w.empty() && w[0] == "readTake") {
      for (size_t i = 1; i + 1 < w.size(); ++i) {
        if (w[i] == "-angle") _angleUnit = unquoted(w[i + 1]);
        if (w[i] == "-linear") _linearUnit = unquoted(w[i + 1]);
      }
    }
  }
  if (_angleUnit != "degree" && _angleUnit != "radian") {
    *problem = "a take angle unit the model does not know: '" + _angleUnit + "'";
    return false;
  }
  if (_linearUnit != "inch") {
    *problem = "a take length unit other than the joint script's inches: '" + _linearUnit + "'";
    return false;
  }
  return true;
}

bool RaroScene::applyTakeLine(const std::vector<double>& columns, std::string* problem) {
  const double angle = _angleUnit == "degree" ? M_PI / 180.0 : 1.0;
  for (const Binding& b : _bindings) {
    // Column 0 is the time; device axis k is column k + 1.
    if (b.axis + 1 >= (int)columns.size()) {
      *problem = "a MOV line without a value for axis " + std::to_string(b.axis);
      return false;
    }
    const double v = columns[b.axis + 1];
    Joint& j = _joints[b.joint];
    if (b.translate) {
      double* t[3] = {&j.translate.x, &j.translate.y, &j.translate.z};
      *t[b.component] = v;
    } else {
      j.rotate[b.component] = v * angle;
    }
  }
  return true;
}

std::vector<std::vector<double>> readMovLines(const std::string& text) {
  std::vector<std::vector<double>> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream numbers(line);
    std::vector<double> values;
    double v;
    while (numbers >> v) values.push_back(v);
    lines.push_back(values);
  }
  return lines;
}

}  // namespace playback
