#include "raro/KrImportScriptReader.h"

#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "raro/KrLineError.h"
#include "raro/KrScriptLine.h"
#include "raro/KrTexts.h"

namespace {

const char* const theDevice = "\"amc_device\"";

// The procedures' fixed lines, without their indentation.
const char* const theFixedLines[] = {
    "proc createAMCDevice()",
    "{",
    "}",
    "defineVirtualDevice -create;",
    "proc int amcDeviceExists()",
    "string $all_devices[] = `listInputDevices`;",
    "for ($device in $all_devices) {",
    "if ($device==\"amc_device\")",
    "return 1;",
    "return 0;",
    "proc deleteAMCDevice()",
    "defineVirtualDevice -device \"amc_device\";",
    "defineVirtualDevice -device \"amc_device\" -undefine;",
    "proc string[] activeFilters()",
    "string $filters[] = `ls -type filter`;",
    "string $active[];",
    "int    $active_i=0;",
    "for ($f in $filters) {",
    "if (`filter -query -deviceEditorActive $f`) {",
    "$active[$active_i] = $f;",
    "++$active_i;",
    "return $active;",
    "proc int verifyFilters(string $filters[])",
    "string $active_filters[] = activeFilters();",
    "int $exists = 0;",
    "for ($a in $active_filters) {",
    "if ($a==$f) {",
    "$exists = 1;",
    "break;",
    "if (!$exists) {",
    "print(\"\\n// Filter \" + $f + \" does not exist or is not active.\\n\\n\");",
    "proc importAMC()",
    "if (!verifyFilters($filters))",
    "return;",
    "if (amcDeviceExists())",
    "deleteAMCDevice();",
    "createAMCDevice;",
    "print(\"\\n// Select MOV file to import.\\n\");",
    "string $mov_file = `fileDialog`;",
    "if (\"\"!=$mov_file) {",
    "fitAllPanels -all;",
    "deleteAMCDevice;",
    "importAMC;",
};

const std::map<std::string, int> theTimeUnits = {{"game", 15}, {"film", 24}, {"pal", 25},
                                                 {"ntsc", 30}, {"show", 48}, {"palf", 50},
                                                 {"ntscf", 60}};

std::string trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool endsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

class Reader {
 public:
  Reader(const char* file, KrScene* scene, KrTake* take) : _file(file), _scene(scene), _take(take) {
    for (const char* line : theFixedLines) _fixed.insert(line);
  }
  bool line(const std::string& text, int number);
  bool finish(int lines);

 private:
  bool fail(const char* fmt, const std::string& a = "") {
    return KrLineError(theKrImportScriptFailed, _file, _number, fmt, a.c_str());
  }
  bool channel(const std::vector<std::string>& w);
  bool attach(const std::vector<std::string>& w);
  bool readTake(const std::vector<std::string>& w);

  const char* _file;
  KrScene* _scene;
  KrTake* _take;
  std::set<std::string> _fixed;
  std::map<std::string, long> _channels;
  std::set<long> _axes;
  int _number = 0;
  bool _rate = false, _units = false, _time = false, _minTime = false;
  long _minTimeValue = 0;
};

bool Reader::line(const std::string& text, int number) {
  _number = number;
  const std::string bare = trimmed(text);
  if (_fixed.count(bare)) return true;
  const KrScriptLine line = KrSplitScriptLine(text);
  const std::vector<std::string>& w = line.words;
  if (w.empty()) return true;
  if (!line.terminated) return fail(theKrUnknownImportLine);
  long n = 0;
  if (w[0] == "defineVirtualDevice") return channel(w);
  if (w[0] == "attachDeviceAttr") return attach(w);
  if (w[0] == "readTake") return readTake(w);
  if (w[0] == "currentUnit" && w.size() == 3 && w[1] == "-time") {
    auto unit = theTimeUnits.find(w[2]);
    if (unit == theTimeUnits.end()) return fail(theKrUnknownTimeUnit, w[2]);
    _take->fps = unit->second;
    _rate = true;
    return true;
  }
  if (w[0] == "currentTime" && w.size() == 3 && w[1] == "-edit" && KrReadInteger(w[2], &n)) {
    _take->firstFrame = n;
    _time = true;
    return true;
  }
  if (w[0] == "playbackOptions" && w.size() == 3 && w[1] == "-minTime" && KrReadInteger(w[2], &n)) {
    _minTimeValue = n;
    _minTime = true;
    return true;
  }
  if (w[0] == "applyTake" && w.size() >= 3 && w[1] == "-device" && w[2] == theDevice &&
      w.size() % 2 == 1) {
    for (size_t i = 3; i < w.size(); i += 2)
      if (w[i] != "-f") return fail(theKrUnknownImportLine);
    return true;
  }
  // string $filters[] = {"a","b"};
  if (w.size() >= 4 && w[0] == "string" && w[1] == "$filters[]" && w[2] == "=" &&
      bare.compare(0, 21, "string $filters[] = {") == 0 && endsWith(bare, "};"))
    return true;
  return fail(theKrUnknownImportLine);
}

// defineVirtualDevice -channel <name> -usage <usage> -axis <n>;
bool Reader::channel(const std::vector<std::string>& w) {
  long axis = 0;
  if (w.size() != 7 || w[1] != "-channel" || w[3] != "-usage" || w[5] != "-axis" ||
      !KrReadInteger(w[6], &axis) || axis < 0)
    return fail(theKrUnknownImportLine);
  if (_channels.count(w[2])) return fail(theKrChannelTwice, w[2]);
  if (_axes.count(axis))
    return KrLineError(theKrImportScriptFailed, _file, _number, theKrAxisTwice, axis);
  _channels[w[2]] = axis;
  _axes.insert(axis);
  return true;
}

// attachDeviceAttr -device "amc_device" -axis "<channel>" "<joint>.<attribute>";
bool Reader::attach(const std::vector<std::string>& w) {
  std::string channel, target;
  if (w.size() != 6 || w[1] != "-device" || w[2] != theDevice || w[3] != "-axis" ||
      !KrUnquote(w[4], &channel) || !KrUnquote(w[5], &target))
    return fail(theKrUnknownImportLine);
  auto axis = _channels.find(channel);
  if (axis == _channels.end()) return fail(theKrUndefinedChannel, channel);
  const size_t dot = target.find('.');
  if (dot == std::string::npos) return fail(theKrUnknownAttribute, target);
  const std::string joint = target.substr(0, dot);
  const std::string attribute = target.substr(dot + 1);
  KrBinding b;
  b.axis = (int)axis->second;
  b.joint = _scene->find(joint);
  if (b.joint < 0) return fail(theKrNoSuchJoint, joint);
  const char last = attribute.empty() ? 0 : attribute.back();
  b.component = last == 'X' ? 0 : last == 'Y' ? 1 : last == 'Z' ? 2 : -1;
  const std::string stem = attribute.substr(0, attribute.size() - 1);
  if (b.component < 0 || (stem != "translate" && stem != "rotate"))
    return fail(theKrUnknownAttribute, attribute);
  b.translate = stem == "translate";
  // Raro turns a joint only about its degrees of freedom; a rotation bound
  // outside them would not play as the numbers say.
  if (!b.translate && _scene->joint(b.joint).dof.find("xyz"[b.component]) == std::string::npos)
    return fail(theKrOutsideDof, target);
  _scene->bind(b);
  return true;
}

// readTake -device "amc_device" -angle "<unit>" -linear "inch" -take $mov_file;
bool Reader::readTake(const std::vector<std::string>& w) {
  if (w.size() != 9 || w[1] != "-device" || w[2] != theDevice || w[3] != "-angle" ||
      w[5] != "-linear" || w[7] != "-take")
    return fail(theKrUnknownImportLine);
  if (w[4] == "\"degree\"") {
    _take->degrees = true;
    _take->angleScale = M_PI / 180.0;
  } else if (w[4] == "\"radian\"") {
    _take->degrees = false;
    _take->angleScale = 1.0;
  } else {
    return fail(theKrUnknownAngleUnit, w[4]);
  }
  if (w[6] != "\"inch\"") return fail(theKrUnknownLinearUnit, w[6]);
  _units = true;
  return true;
}

bool Reader::finish(int lines) {
  _number = lines;
  if (!_rate || !_units || !_time || !_minTime) return fail(theKrNoTake);
  if (_minTimeValue != _take->firstFrame)
    return KrLineError(theKrImportScriptFailed, _file, _number, theKrFrameMismatch,
                       _take->firstFrame, _minTimeValue);
  return true;
}

}  // namespace

bool KrReadImportScript(const std::string& text, const char* fileName, KrScene* scene,
                        KrTake* take) {
  Reader reader(fileName, scene, take);
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!reader.line(line, ++number)) return false;
  }
  return reader.finish(number);
}
