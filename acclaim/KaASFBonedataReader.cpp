#include <strings.h>

#include <cstring>
#include <memory>
#include <unordered_set>

#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtBuild.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtExcept.h"

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

// Everything one keyword handler needs.
struct BonedataReader {
  ASFTokenizer& tokenizer;
  KtList<KaASFDOFGroup*>* groups;
  int angleFlag;
  const KaASF& skeleton;
  BoneBlock block;
  char token[KaASFTokenLength];
  bool pending = false;
  std::unordered_set<int> ids;  // ids of the bones already in the list

  // Records a message with the line number; always false.
  bool fail(const char* message) {
    KtError(message, kSection);
    addLineNumber(tokenizer);
    return false;
  }

  bool readNumber(float* value, const char* invalidMessage) {
    tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    *value = tokenizer.atEnd() ? 0 : readASFFloat(token);
    if (tokenizer.atEnd() || theExceptObj.errorOccurred()) return fail(invalidMessage);
    return true;
  }

  bool readNumbers(float* values, int n, const char* invalidMessage) {
    for (int i = 0; i < n; i++)
      if (!readNumber(&values[i], invalidMessage)) return false;
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
  bool readKeyword();
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
  if (!readNumbers(v, 3, "Invalid value for direction in %s section.")) return false;
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
  if (!readNumber(&length, "Invalid value for length in %s section.")) return false;
  block.bone->length = length / skeleton.header.length;
  block.lengthSeen = true;
  return true;
}

bool BonedataReader::readAxis() {
  if (!block.nameSeen) return fail("Axis defined before name in %s section.");
  if (block.axisSeen) return fail("Duplicate axis specification in %s section.");
  float v[3];
  if (!readNumbers(v, 3, "Invalid value for axis in %s section.")) return false;
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
  readASFDofList(tokenizer, groups, list, token);
  if (theExceptObj.errorOccurred()) {
    KtError("Unable to read dof in %s section.", kSection);
    return false;
  }
  block.bone->dofs.setDOFs(list.dofs);
  block.dofSeen = true;
  pending = true;
  return true;
}

bool BonedataReader::readLimits() {
  if (!block.dofSeen) return fail("Limits defined without the definition of dof in %s section.");
  if (!block.nameSeen) return fail("Limits defined before name in %s section.");
  if (block.limitsSeen) return fail("Duplicate limits specification in %s section.");
  readASFLimitsList(tokenizer, block.bone->dofs, angleFlag, kSection, token, &pending);
  if (theExceptObj.errorOccurred()) return false;
  block.limitsSeen = true;
  return true;
}

// Handles one keyword inside a block; false after a recorded error.
bool BonedataReader::readKeyword() {
  KaASFBone& bone = *block.bone;
  if (strcasecmp(token, "id") == 0) return readId();
  if (strcasecmp(token, "name") == 0) return readName();
  if (strcasecmp(token, "direction") == 0) return readDirection();
  if (strcasecmp(token, "length") == 0) return readLength();
  if (strcasecmp(token, "axis") == 0) return readAxis();
  if (strcasecmp(token, "bodymass") == 0)
    return readMass(&block.bodymassSeen, &bone.bodymass,
                    "Bodymass defined before name in %s section.",
                    "Duplicate bodymass specification in %s section.",
                    "Invalid value for bodymass in %s section.");
  if (strcasecmp(token, "cofmass") == 0)
    return readMass(&block.cofmassSeen, &bone.cofmass, "Cofmass defined before name in %s section.",
                    "Duplicate cofmass specification in %s section.",
                    "Invalid value for cofmass in %s section.");
  if (strcasecmp(token, "dof") == 0) return readDof();
  if (strcasecmp(token, "limits") == 0) return readLimits();
  KtError("Unexpected '%s' encountered in %s section.", token, kSection);
  addLineNumber(tokenizer);
  return false;
}

}  // namespace

void readBonedataSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, int angleFlag,
                         KtList<KaASFBone*>& bones, const KaASF& skeleton) {
  BonedataReader reader{tokenizer, groups, angleFlag, skeleton, BoneBlock(), {}, false, {}};
  KtListIter<KaASFBone*> existing(bones);
  while (!existing.atEnd()) reader.ids.insert((*existing.next())->id());
  int completed = 0;
  char* token = reader.token;
  for (;;) {
    if (!reader.pending) tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    reader.pending = false;
    bool inBlock = reader.block.bone != nullptr;
    bool atEnd = tokenizer.atEnd();
    if (!atEnd && ASFTokenizer::isEndOfSectionToken(token)) {
      if (inBlock) reader.fail("Expected 'end' keyword in %s section.");
      return;
    }
    if (!atEnd && strcasecmp(token, "begin") == 0) {
      if (inBlock) {
        reader.fail("Expected 'end' keyword in %s section.");
        return;
      }
      reader.block = BoneBlock();
      reader.block.bone.reset(new KaASFBone);
    } else if (!atEnd && strcasecmp(token, "end") == 0) {
      if (!inBlock) {
        reader.fail("Unexpected 'end' encountered in %s section.");
        return;
      }
      const BoneBlock& b = reader.block;
      if (!b.nameSeen) return (void)reader.fail("Name undefined in %s section.");
      if (!b.directionSeen) return (void)reader.fail("Direction undefined in %s section.");
      if (!b.lengthSeen) return (void)reader.fail("Length undefined in %s section.");
      if (!b.axisSeen) return (void)reader.fail("Axis undefined in %s section.");
      if (++completed % 10 == 0 && KtCancelHandler::checkCancel()) return;
      reader.ids.insert(b.bone->id());
      bones.append(reader.block.bone.release());
    } else if (!inBlock) {
      reader.fail("Data specified outside of begin/end pair in %s section.");
      return;
    } else if (!reader.readKeyword()) {
      return;
    }
  }
}
