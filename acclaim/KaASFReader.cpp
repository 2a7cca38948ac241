
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "acclaim/KaASFBoneNames.h"
#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtCompStream.h"
#include "toolkit/KtExcept.h"

using namespace KaASFReading;

namespace {

bool isToken(const char* token, const char* word) {
  return KtEqualNoCase(token, word);
}

// Reads the next token; false (with "Unexpected end of file.") at end of input.
bool readHeaderToken(ASFTokenizer& tokenizer, char* token) {
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  if (!tokenizer.atEnd()) return true;
  KtError("Unexpected end of file.");
  return false;
}

int readASFHeaderStart(ASFTokenizer& tokenizer, int* internal, float* version) {
  char token[KaASFTokenLength];
  if (internal) *internal = 0;
  if (!readHeaderToken(tokenizer, token)) return 0;
  if (isToken(token, ":ASF-INTERNAL")) {
    if (internal) *internal = 1;
    if (!readHeaderToken(tokenizer, token)) return 0;
    if (!ASFTokenizer::isEndOfSectionToken(token)) {
      KtError("Unexpected value for :asf-internal section.");
      return 0;
    }
    if (!readHeaderToken(tokenizer, token)) return 0;
  }
  if (!isToken(token, ":VERSION")) {
    KtError("File does not contain the ':version' keyword.");
    KtError("File does not contain ASF data.");
    return 0;
  }
  if (!readHeaderToken(tokenizer, token)) return 0;
  float value = readASFFloat(token);
  if (theExceptObj.errorOccurred()) {
    KtError("Invalid value for :version.");
    addLineNumber(tokenizer);
    return 0;
  }
  if (!readHeaderToken(tokenizer, token)) return 0;
  if (!ASFTokenizer::isEndOfSectionToken(token)) {
    KtError("Unexpected value for :version section.");
    return 0;
  }
  if (version) *version = value;
  return 1;
}

void failWithLine(const ASFTokenizer& tokenizer, const char* message) {
  KtError("%s", message);
  addLineNumber(tokenizer);
}

void readNameSection(ASFTokenizer& tokenizer, KaASFHeader& header) {
  char token[KaASFTokenLength];
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  if (strlen(token) > 50) {
    KtWarning(":name data exceeds limit of 50 characters.");
    addLineNumber(tokenizer);
  }
  header.name = token;
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  if (!ASFTokenizer::isEndOfSectionToken(token) || tokenizer.atEnd()) {
    KtError("Unexpected data '%s' encountered for :name section.", token);
    addLineNumber(tokenizer);
  }
}

// What a units value must be besides a number.
enum class UnitsValue { AnyNumber, PositiveFinite };

// Reads the value of a units keyword; false after a recorded error.
bool readUnitsNumber(ASFTokenizer& tokenizer, float* value, const char* invalid,
                     UnitsValue rule = UnitsValue::AnyNumber) {
  char token[KaASFTokenLength];
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  float v = tokenizer.atEnd() ? 0 : readASFFloat(token);
  if (!tokenizer.atEnd() && !theExceptObj.errorOccurred() && rule == UnitsValue::PositiveFinite &&
      !(std::isfinite(v) && v > 0))
    KtError("Length factor '%s' is not a finite number greater than 0.", token);
  if (tokenizer.atEnd() || theExceptObj.errorOccurred()) {
    failWithLine(tokenizer, invalid);
    return false;
  }
  *value = v;
  return true;
}

void readUnitsSection(ASFTokenizer& tokenizer, KaASFHeader& header) {
  char token[KaASFTokenLength];
  bool massSeen = false, lengthSeen = false, angleSeen = false;
  for (;;) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    if (!tokenizer.atEnd() && ASFTokenizer::isEndOfSectionToken(token)) return;
    if (!tokenizer.atEnd() && isToken(token, "mass")) {
      if (massSeen)
        return failWithLine(tokenizer, "Duplicate mass specification in :units section.");
      if (!readUnitsNumber(tokenizer, &header.mass, "Unable to read mass data in :units section."))
        return;
      massSeen = true;
    } else if (!tokenizer.atEnd() && isToken(token, "length")) {
      if (lengthSeen)
        return failWithLine(tokenizer, "Duplicate length specification in :units section.");
      // Bone lengths are divided by the factor and, in skelconv, the root
      // position is multiplied by its reciprocal.
      if (!readUnitsNumber(tokenizer, &header.length,
                           "Unable to read length data in :units section.",
                           UnitsValue::PositiveFinite))
        return;
      lengthSeen = true;
    } else if (!tokenizer.atEnd() && isToken(token, "angle")) {
      if (angleSeen)
        return failWithLine(tokenizer, "Duplicate angle specification in :units section.");
      tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
      if (!tokenizer.atEnd() && isToken(token, "rad"))
        header.angleInDegrees = 0;
      else if (!tokenizer.atEnd() && isToken(token, "deg"))
        header.angleInDegrees = 1;
      else
        return failWithLine(tokenizer, "Illegal value for angle.");
      angleSeen = true;
    } else {
      KtError("Unexpected '%s' in :units section.", token);
      addLineNumber(tokenizer);
      return;
    }
  }
}

void readDocumentationSection(ASFTokenizer& tokenizer, KaASFHeader& header) {
  char token[KaASFTokenLength];
  std::string text;
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  if (!tokenizer.atEnd() && !ASFTokenizer::isEndOfSectionToken(token)) {
    text = token;
    for (;;) {
      tokenizer.getNextToken(token, KaASFTokenLength);
      if (tokenizer.atEnd() || ASFTokenizer::isEndOfSectionToken(token)) break;
      if (ASFTokenizer::isEOLToken(token)) {
        text += '\n';
      } else {
        text += ' ';
        text += token;
      }
    }
  }
  KtStr documentation(text.c_str(), (int)text.size());
  documentation.trimRight();
  header.documentation = documentation;
}

// Reads three finite numbers, each multiplied by scale; false after a
// recorded error.
bool readRootNumbers(ASFTokenizer& tokenizer, float* v, const char* invalid, float scale = 1.0f) {
  char token[KaASFTokenLength];
  for (int i = 0; i < 3; i++) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    v[i] = tokenizer.atEnd() ? 0 : readASFFiniteFloat(token);
    if (!tokenizer.atEnd() && !theExceptObj.errorOccurred() && scale != 1.0f) {
      v[i] *= scale;
      checkASFScaledValue(token, v[i]);
    }
    if (tokenizer.atEnd() || theExceptObj.errorOccurred()) {
      failWithLine(tokenizer, invalid);
      return false;
    }
  }
  return true;
}

void readRootSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, int angleFlag,
                     float scale, KaASFRoot& root) {
  char token[KaASFTokenLength];
  bool axisSeen = false, orderSeen = false, positionSeen = false, orientationSeen = false;
  for (;;) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    if (tokenizer.atEnd()) return failWithLine(tokenizer, "Unexpected end of input.");
    if (ASFTokenizer::isEndOfSectionToken(token)) return;
    if (isToken(token, "axis")) {
      if (axisSeen) return failWithLine(tokenizer, "Duplicate axis keyword in :root section.");
      tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
      KtArray<int> axis = readASFAxisOrder(token);
      if (axis.count() != 3) return failWithLine(tokenizer, "Unable to read sequence.");
      root.axis = axis;
      axisSeen = true;
    } else if (isToken(token, "order")) {
      if (orderSeen) return failWithLine(tokenizer, "Duplicate order keyword in :root section.");
      KaASFDOFGroup order;
      readASFDofList(tokenizer, groups, order);
      if (theExceptObj.errorOccurred()) {
        KtError("Unable to read order in :root section.");
        return;
      }
      root.order = order;
      orderSeen = true;
    } else if (isToken(token, "position")) {
      if (positionSeen)
        return failWithLine(tokenizer, "Duplicate position keyword in :root section.");
      float v[3];
      if (!readRootNumbers(tokenizer, v, "Invalid value for position in :root section.", scale))
        return;
      root.position.x = v[0];
      root.position.y = v[1];
      root.position.z = v[2];
      positionSeen = true;
    } else if (isToken(token, "orientation")) {
      if (orientationSeen)
        return failWithLine(tokenizer, "Duplicate orientation keyword in :root section.");
      float v[3];
      if (!readRootNumbers(tokenizer, v, "Invalid value for orientation in :root section.")) return;
      for (int i = 0; i < 3; i++)
        root.orientation[i] = angleFlag == 1 ? KaASFDegreesToRadians(v[i]) : v[i];
      orientationSeen = true;
    } else {
      KtError("Unexpected '%s' encountered in :root section.", token);
      addLineNumber(tokenizer);
      return;
    }
  }
}

// Case-folded names of the bones, first match kept, for linear-time lookups.
class BoneNameIndex {
 public:
  explicit BoneNameIndex(const KtList<KaASFBone*>& bones) {
    for (KaASFBone* bone : bones) _byName.emplace(KtLowerCase(bone->name), bone);
  }
  KaASFBone* find(const char* name) const {
    auto found = _byName.find(KtLowerCase(name));
    return found == _byName.end() ? nullptr : found->second;
  }

 private:
  std::unordered_map<std::string, KaASFBone*> _byName;
};

// Refuses parent links that run in a circle; the line is where the bone
// whose link closes the circle was last linked (the current line for a bone
// linked by an earlier :hierarchy section).
void checkHierarchyLoops(const ASFTokenizer& tokenizer, const KtList<KaASFBone*>& bones,
                         const std::unordered_map<KaASFBone*, int>& linkLines) {
  enum { Unseen = 0, OnPath, Done };
  std::unordered_map<KaASFBone*, int> state;
  std::vector<KaASFBone*> path;
  for (KaASFBone* start : bones) {
    path.clear();
    KaASFBone* bone = start;
    while (bone && state[bone] == Unseen) {
      state[bone] = OnPath;
      path.push_back(bone);
      bone = bone->parent;
    }
    if (bone && state[bone] == OnPath) {
      // Bones whose names differ only in case make a link that names one
      // reach the other: say that rather than report a circle.
      if (!KaASFCheckUniqueBoneNames(bones)) return;
      auto line = linkLines.find(bone);
      KtError("Line %d:  Bone '%s' is its own ancestor in :hierarchy section.",
              line == linkLines.end() ? tokenizer.line() : line->second, bone->name.text());
      return;
    }
    for (KaASFBone* b : path) state[b] = Done;
  }
}

void readHierarchySection(ASFTokenizer& tokenizer, KtList<KaASFBone*>& bones) {
  char token[KaASFTokenLength];
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  if (tokenizer.atEnd() || !isToken(token, "begin")) {
    KtError("Expected 'begin' keyword in :hierarchy section, got '%s'.", token);
    addLineNumber(tokenizer);
    return;
  }
  BoneNameIndex index(bones);
  std::unordered_map<KaASFBone*, int> linkLines;
  KaASFBone* parent = nullptr;
  bool firstChild = true;
  int linked = 0;
  for (;;) {
    tokenizer.getNextToken(token, KaASFTokenLength);
    if (tokenizer.atEnd()) return failWithLine(tokenizer, "Unexpected end of input.");
    if (!ASFTokenizer::isEOLToken(token)) {
      if (strcmp(token, "root") == 0) continue;
      KaASFBone* bone = index.find(token);
      if (!bone) {
        KtError("Unable to find bone '%s'.", token);
        addLineNumber(tokenizer);
        return;
      }
      bone->parent = parent;
      linkLines[bone] = tokenizer.line();
      if (firstChild && parent) {
        parent->child = bone;
        firstChild = false;
      }
      if (++linked % 10 == 0 && KtCancelHandler::checkCancel()) return;
      continue;
    }
    tokenizer.getNextToken(token, KaASFTokenLength);
    if (!tokenizer.atEnd() && isToken(token, "end")) {
      tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
      if (tokenizer.atEnd() || ASFTokenizer::isEndOfSectionToken(token))
        return checkHierarchyLoops(tokenizer, bones, linkLines);
      KtError("Unexpected '%s' encountered after :hierarchy section.", token);
      addLineNumber(tokenizer);
      return;
    }
    if (tokenizer.atEnd()) return failWithLine(tokenizer, "Unexpected end of input.");
    if (isToken(token, "root")) {
      parent = nullptr;
    } else {
      parent = index.find(token);
      if (!parent) {
        KtError("Unable to find bone '%s'.", token);
        addLineNumber(tokenizer);
        return;
      }
    }
    firstChild = true;
  }
}

void readSkinSection(ASFTokenizer& tokenizer, KtDArray<KtStr>& skins) {
  char token[KaASFTokenLength];
  for (;;) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    if (tokenizer.atEnd() || ASFTokenizer::isEndOfSectionToken(token)) return;
    skins.append(KtStr(token));
  }
}

// Bones without an id get the smallest unused positive id, in list order.
void assignBoneIds(KtList<KaASFBone*>& bones) {
  std::unordered_map<int, bool> used;
  for (const KaASFBone* bone : bones) {
    int id = bone->id();
    if (id > 0) used[id] = true;
  }
  int next = 1;
  for (KaASFBone* bone : bones) {
    if (bone->id() == 0) {
      while (used.count(next)) next++;
      bone->setId(next);
      used[next] = true;
    } else if (bone->id() == -1) {
      bone->setId(0);
    }
  }
}

// How reading a whole file through a stream ended.
enum class FileRead { Done, OpenFailed, ReadFailed };

// Opens path on in, hands the stream to work and closes it. A decompressing
// tool tells its failure only when the stream is closed, so a file it could
// not decompress fully is a file not read. The caller owns the stream so that
// its messages come before any its destructor records.
template <class Stream, class Work>
FileRead readFileThrough(Stream& in, const char* path, Work work) {
  in.open(path, std::ios::in);
  if (!in.good() || theExceptObj.errorOccurred()) return FileRead::OpenFailed;
  work(in);
  in.close();
  if (theExceptObj.errorOccurred() || in.fail()) return FileRead::ReadFailed;
  return FileRead::Done;
}

}  // namespace

void KaASF::scanFrom(std::istream& in) {
  ASFTokenizer tokenizer(in);
  int internal = 0;
  float version = 0;
  if (!readASFHeaderStart(tokenizer, &internal, &version)) {
    _clear();
    return;
  }
  header.internal = internal;
  header.version = version;
  char token[KaASFTokenLength];
  for (;;) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    if (tokenizer.atEnd()) {
      assignBoneIds(bones);
      return;
    }
    KtList<KaASFDOFGroup*>* groups = header.internal ? &dofGroups : nullptr;
    const char* section = nullptr;
    if (isToken(token, ":name")) {
      section = ":name";
      readNameSection(tokenizer, header);
    } else if (isToken(token, ":units")) {
      section = ":units";
      readUnitsSection(tokenizer, header);
    } else if (isToken(token, ":documentation")) {
      section = ":documentation";
      readDocumentationSection(tokenizer, header);
    } else if (header.internal && isToken(token, ":dofgroups")) {
      section = ":dofgroups";
      readDofgroupsSection(tokenizer, dofGroups, *this);
    } else if (isToken(token, ":root")) {
      section = ":root";
      float scale = KtIsSkelconvBuild() ? 1.0f / header.length : 1.0f;
      readRootSection(tokenizer, groups, header.angleInDegrees, scale, root);
    } else if (isToken(token, ":bonedata")) {
      section = ":bonedata";
      readBonedataSection(tokenizer, groups, header.angleInDegrees, bones, *this);
    } else if (isToken(token, ":hierarchy")) {
      section = ":hierarchy";
      readHierarchySection(tokenizer, bones);
    } else if (isToken(token, ":skin")) {
      section = ":skin";
      readSkinSection(tokenizer, skins);
    } else {
      KtError("Unknown keyword '%s' encountered.", token);
      addLineNumber(tokenizer);
      _clear();
      return;
    }
    if (theExceptObj.errorOccurred()) {
      KtError("Unable to read %s section.", section);
      _clear();
      return;
    }
  }
}

void KaASF::read(const char* path) {
  auto scan = [this](std::istream& in) { scanFrom(in); };
  auto finish = [this, path](FileRead result, bool tellOpenFailure) {
    if (result == FileRead::Done) return;
    if (result == FileRead::OpenFailed && tellOpenFailure) KtError("Unable to open \"%s\".", path);
    if (result == FileRead::ReadFailed) KtError("Unable to read '%s'.", path);
    _clear();
  };
  if (KtIsMotconvBuild()) {
    KtCompIFStream in;
    // Its stream has recorded why it could not open the file.
    finish(readFileThrough(in, path, scan), false);
    return;
  }
  std::ifstream in;
  finish(readFileThrough(in, path, scan), true);
}

int KaASF::streamContainsASF(std::istream& in, int* internal, float* version) {
  ASFTokenizer tokenizer(in);
  return readASFHeaderStart(tokenizer, internal, version);
}

int KaASF::fileContainsASF(const char* path) {
  KtCompIFStream in;
  int result = 0;
  // Closing reads a decompressing tool's output to its end, so that the
  // tool can finish, and tells whether it failed.
  switch (readFileThrough(
      in, path, [&result](std::istream& s) { result = streamContainsASF(s, nullptr, nullptr); })) {
    case FileRead::OpenFailed:
      KtError("Unable to open '%s'.", path);
      return 0;
    case FileRead::ReadFailed:
      KtError("Unable to read \"%s\".", path);
      return 0;
    case FileRead::Done:
      break;
  }
  return result;
}
