
#include <cstring>
#include <memory>
#include <unordered_set>

#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

using namespace KaASFReading;

namespace {

const char* const kSection = ":bonedata";

// The state of the block being read.
struct BoneBlock {
  std::unique_ptr<KaASFBone> bone;
  bool idSeen = false;
  bool nameSeen = false;
  bool directionSeen = false;
  bool lengthSeen = false;
  bool axisSeen = false;
  bool bodymassSeen = false;
  bool cofmassSeen = false;
  bool dofSeen = false;
  bool limitsSeen = false;

  bool otherDataSeen() const {
    return directionSeen || lengthSeen || axisSeen || bodymassSeen || cofmassSeen || dofSeen ||
           limitsSeen;
  }
};

// Reads the blocks of a :bonedata section; everything one keyword handler
// needs.
struct BonedataReader : ASFBlockReader {
  BonedataReader(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, int angleFlag,
                 KtList<KaASFBone*>& bones, const KaASF& skeleton)
      : tokenizer(tokenizer),
        groups(groups),
        angleFlag(angleFlag),
        bones(bones),
        skeleton(skeleton) {
    for (const KaASFBone* bone : bones) ids.insert(bone->id());
  }

  ASFTokenizer& tokenizer;
  KtList<KaASFDOFGroup*>* groups;
  int angleFlag;
  KtList<KaASFBone*>& bones;
  const KaASF& skeleton;
  BoneBlock block;
  char token[KaASFTokenLength];
  std::unordered_set<int> ids;  // ids of the bones already in the list

  // Records a message with the line number; always false.
  bool fail(const char* message) {
    failInASFSection(tokenizer, message, kSection);
    return false;
  }

  bool readNumber(float* value, const char* invalidMessage) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    *value = tokenizer.atEnd() ? 0 : readASFFloat(token);
    if (tokenizer.atEnd() || theExceptObj.errorOccurred()) return fail(invalidMessage);
    return true;
  }

  // Like readNumber for values that must be finite.
  bool readFiniteNumber(float* value, const char* invalidMessage) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    *value = tokenizer.atEnd() ? 0 : readASFFiniteFloat(token);
    if (tokenizer.atEnd() || theExceptObj.errorOccurred()) return fail(invalidMessage);
    return true;
  }

  bool readFiniteNumbers(float* values, int n, const char* invalidMessage) {
    for (int i = 0; i < n; i++)
      if (!readFiniteNumber(&values[i], invalidMessage)) return false;
    return true;
  }

  bool readId();
  bool readName();
  bool readDirection();
  bool readLength();
  bool readAxis();
  bool readMass(bool* seen, float* value, const char* beforeName, const char* duplicate,
                const char* invalid);
  bool readDof();
  bool readLimits();

  void beginBlock() override;
  bool checkBlock() override;
  void endBlock() override;
  Keyword readKeyword(const char* keyword) override;
};

bool BonedataReader::readId() {
  if (block.otherDataSeen())
    return fail("Id must come before all other data except name in %s section.");
  if (block.idSeen) return fail("Duplicate id specification in %s section.");
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  int id = tokenizer.atEnd() ? 0 : readASFInt(token);
  if (tokenizer.atEnd() || theExceptObj.errorOccurred())
    return fail("Invalid value for 'id' in %s section.");
  if (KtIsSkelconvBuild() && ids.count(id)) {
    KtError("Multiple bones have id %d.", id);
    addLineNumber(tokenizer);
    return false;
  }
  block.bone->setId(id);
  block.idSeen = true;
  return true;
}

bool BonedataReader::readName() {
  if (block.otherDataSeen())
    return fail("Name must come before all other except id in %s section.");
  if (block.nameSeen) return fail("Duplicate name specification in %s section.");
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  block.bone->name = token;
  block.bone->line = tokenizer.line();
  block.nameSeen = true;
  return true;
}

bool BonedataReader::readDirection() {
  if (!block.nameSeen) return fail("Direction specification defined before name in %s section.");
  if (block.directionSeen) return fail("Duplicate direction specification in %s section.");
  float v[3];
  if (!readFiniteNumbers(v, 3, "Invalid value for direction in %s section.")) return false;
  block.bone->direction.x = v[0];
  block.bone->direction.y = v[1];
  block.bone->direction.z = v[2];
  block.directionSeen = true;
  return true;
}

bool BonedataReader::readLength() {
  if (!block.nameSeen) return fail("Length specification defined before name in %s section.");
  if (block.lengthSeen) return fail("Duplicate length specification in %s section.");
  float length;
  if (!readFiniteNumber(&length, "Invalid value for length in %s section.")) return false;
  // A bone cannot reach back behind its own joint.
  if (length < 0) {
    KtError("Number '%s' is negative.", token);
    return fail("Invalid value for length in %s section.");
  }
  float stored = length / skeleton.header.length;
  if (!checkASFScaledValue(token, stored)) return fail("Invalid value for length in %s section.");
  block.bone->length = stored;
  block.lengthSeen = true;
  return true;
}

bool BonedataReader::readAxis() {
  if (!block.nameSeen) return fail("Axis defined before name in %s section.");
  if (block.axisSeen) return fail("Duplicate axis specification in %s section.");
  float v[3];
  if (!readFiniteNumbers(v, 3, "Invalid value for axis in %s section.")) return false;
  for (int i = 0; i < 3; i++)
    block.bone->axis[i] = angleFlag == 1 ? KaASFDegreesToRadians(v[i]) : v[i];
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  KtArray<int> order = readASFAxisOrder(token);
  if (order.count() != 3) {
    KtError("Unable to read sequence.");
    addLineNumber(tokenizer);
    return false;
  }
  block.bone->order = order;
  block.axisSeen = true;
  return true;
}

bool BonedataReader::readMass(bool* seen, float* value, const char* beforeName,
                              const char* duplicate, const char* invalid) {
  if (!block.nameSeen) return fail(beforeName);
  if (*seen) return fail(duplicate);
  if (!readNumber(value, invalid)) return false;
  *seen = true;
  return true;
}

bool BonedataReader::readDof() {
  if (block.limitsSeen) return fail("Limits defined before dof in %s section.");
  if (!block.nameSeen) return fail("Dof defined before name in %s section.");
  if (block.dofSeen) return fail("Duplicate dof specification in %s section.");
  KaASFDOFGroup list;
  readASFDofList(tokenizer, groups, list);
  if (theExceptObj.errorOccurred()) {
    KtError("Unable to read dof in %s section.", kSection);
    return false;
  }
  block.bone->dofs.setDOFs(list.dofs);
  block.dofSeen = true;
  return true;
}

bool BonedataReader::readLimits() {
  if (!block.dofSeen) return fail("Limits defined without the definition of dof in %s section.");
  if (!block.nameSeen) return fail("Limits defined before name in %s section.");
  if (block.limitsSeen) return fail("Duplicate limits specification in %s section.");
  readASFLimitsList(tokenizer, block.bone->dofs, angleFlag, kSection);
  if (theExceptObj.errorOccurred()) return false;
  block.limitsSeen = true;
  return true;
}

void BonedataReader::beginBlock() {
  block = BoneBlock();
  block.bone.reset(new KaASFBone);
}

bool BonedataReader::checkBlock() {
  if (!block.nameSeen) return fail("Name undefined in %s section.");
  if (!block.directionSeen) return fail("Direction undefined in %s section.");
  if (!block.lengthSeen) return fail("Length undefined in %s section.");
  if (!block.axisSeen) return fail("Axis undefined in %s section.");
  return true;
}

void BonedataReader::endBlock() {
  ids.insert(block.bone->id());
  bones.append(block.bone.release());
}

BonedataReader::Keyword BonedataReader::readKeyword(const char* keyword) {
  auto is = [keyword](const char* word) { return KtEqualNoCase(keyword, word); };
  auto done = [](bool read) { return read ? Read : Failed; };
  KaASFBone& bone = *block.bone;
  if (is("id")) return done(readId());
  if (is("name")) return done(readName());
  if (is("direction")) return done(readDirection());
  if (is("length")) return done(readLength());
  if (is("axis")) return done(readAxis());
  if (is("bodymass"))
    return done(readMass(&block.bodymassSeen, &bone.bodymass,
                         "Bodymass defined before name in %s section.",
                         "Duplicate bodymass specification in %s section.",
                         "Invalid value for bodymass in %s section."));
  if (is("cofmass"))
    return done(readMass(&block.cofmassSeen, &bone.cofmass,
                         "Cofmass defined before name in %s section.",
                         "Duplicate cofmass specification in %s section.",
                         "Invalid value for cofmass in %s section."));
  if (is("dof")) return done(readDof());
  if (is("limits")) return done(readLimits());
  return Unknown;
}

}  // namespace

void KaASFReading::readBonedataSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups,
                                       int angleFlag, KtList<KaASFBone*>& bones,
                                       const KaASF& skeleton) {
  BonedataReader reader(tokenizer, groups, angleFlag, bones, skeleton);
  readASFBlockSection(tokenizer, kSection, reader);
}
