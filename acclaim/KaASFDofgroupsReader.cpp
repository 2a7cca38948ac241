
#include <cmath>
#include <cstring>
#include <memory>

#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

using namespace KaASFReading;

float KaASFDegreesToRadians(float degrees) {
  return (float)(degrees * (M_PI / 180.0));
}

double KaASFRadiansToDegrees(float radians) {
  return (double)(radians * 180.0f) / M_PI;
}

KtArray<int> KaASFReading::readASFAxisOrder(const char* text) {
  if (!text) {
    KtError("Unable to read axis orientation order.");
    return KtArray<int>();
  }
  KtArray<int> order(3, 0);
  for (int i = 0; i < 3; i++) {
    char c = KtToUpper(text[i]);
    if (c == 'X') {
      order[i] = 1;
    } else if (c == 'Y') {
      order[i] = 2;
    } else if (c == 'Z') {
      order[i] = 3;
    } else {
      KtError("Invalid axis specification.");
      return KtArray<int>();
    }
  }
  return order;
}

namespace {

KaASFDOFGroup* findGroupNoCase(KtList<KaASFDOFGroup*>& groups, const char* name) {
  for (KaASFDOFGroup* group : groups)
    if (KtEqualNoCase(group->name, name)) return group;
  return nullptr;
}

void appendGroupDofs(KaASFDOFGroup& target, KaASFDOFGroup* group) {
  for (const KaASFDOF* dof : group->dofs) target.dofs.append(new KaASFDOF(dof->dof, group));
}

// Reads the picks between "<" and ">" of group; false after a recorded error.
bool readGroupPicks(ASFTokenizer& tokenizer, KaASFDOFGroup* group, KaASFDOFGroup& target,
                    char* buffer) {
  int picked = 0;
  for (;;) {
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    if (strcmp(buffer, ">") == 0) break;
    int code = KaASFDofCode(buffer);
    if (code < 0 || tokenizer.atEnd()) {
      KtError("Unexpected '%s' encountered.", buffer);
      addLineNumber(tokenizer);
      return false;
    }
    if (!group->hasDOF(code)) {
      KtError("Dofgroup '%s' does not contain dof '%s'.", group->name.text(), KaASFDofText(code));
      addLineNumber(tokenizer);
      return false;
    }
    target.dofs.append(new KaASFDOF(code, group));
    picked++;
  }
  if (picked == 0) {
    KtError("No dof specified within < >.");
    addLineNumber(tokenizer);
    return false;
  }
  return true;
}

}  // namespace

void KaASFReading::readASFDofList(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups,
                                  KaASFDOFGroup& target) {
  char buffer[KaASFTokenLength];
  for (;;) {
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    if (tokenizer.atEnd()) return tokenizer.pushBack();
    int code = KaASFDofCode(buffer);
    if (code > 0) {
      if (target.hasDOF(code)) {
        KtError("Dof '%s' specified more than once.", KaASFDofText(code));
        addLineNumber(tokenizer);
        return;
      }
      target.addDOF(code);
      continue;
    }
    KaASFDOFGroup* group = groups ? findGroupNoCase(*groups, buffer) : nullptr;
    if (!group) return tokenizer.pushBack();
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    if (strcmp(buffer, "<") != 0) {
      appendGroupDofs(target, group);
      tokenizer.pushBack();
      continue;
    }
    if (!readGroupPicks(tokenizer, group, target, buffer)) return;
  }
}

void KaASFReading::readASFLimitsList(ASFTokenizer& tokenizer, KaASFDOFGroup& target, int angleFlag,
                                     const char* section) {
  char buffer[KaASFTokenLength];
  KtListIter<KaASFDOF*> it(target.dofs);
  auto nextOwnDof = [&it]() -> KaASFDOF* {
    while (!it.atEnd()) {
      KaASFDOF* dof = *it.next();
      if (!dof->group) return dof;
    }
    return nullptr;
  };
  for (;;) {
    KaASFDOF* dof = nextOwnDof();
    float lower = 0;
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    // A word that is no number ends the list; nothing is recorded for it,
    // so earlier records of the read stay as they are.
    if (tokenizer.atEnd() || !convertASFLimit(buffer, &lower)) return tokenizer.pushBack();
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    float upper = tokenizer.atEnd() ? 0 : readASFLimit(buffer);
    if (tokenizer.atEnd() || theExceptObj.errorOccurred()) {
      KtError("Invalid value for upper limit in %s section.", section);
      addLineNumber(tokenizer);
      return;
    }
    if (lower > upper) {
      KtError("Lower limit greater than upper limit in %s section.", section);
      addLineNumber(tokenizer);
      return;
    }
    if (!dof) {
      KtError("Too many limits specified in %s section.", section);
      addLineNumber(tokenizer);
      return;
    }
    if (angleFlag == 1 && KaASFIsRotationalDof(dof->dof)) {
      lower = KaASFDegreesToRadians(lower);
      upper = KaASFDegreesToRadians(upper);
    }
    dof->_limits.lower = lower;
    dof->_limits.upper = upper;
  }
}

namespace {

const char* const kSection = ":dofgroups";

// The state of the block being read.
struct DofgroupsBlock {
  std::unique_ptr<KaASFDOFGroup> group;
  bool nameSeen = false;
  bool dofSeen = false;
  bool limitsSeen = false;
};

// Reads the blocks of a :dofgroups section. A group's dof list may name the
// groups read before it.
struct DofgroupsReader : ASFBlockReader {
  DofgroupsReader(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>& groups, int angleFlag)
      : tokenizer(tokenizer), groups(groups), angleFlag(angleFlag) {}

  ASFTokenizer& tokenizer;
  KtList<KaASFDOFGroup*>& groups;
  int angleFlag;
  DofgroupsBlock block;

  // Records a message with the line number; always false.
  bool fail(const char* message) {
    failInASFSection(tokenizer, message, kSection);
    return false;
  }

  bool readName();
  bool readDof();
  bool readLimits();

  void beginBlock() override {
    block = DofgroupsBlock();
    block.group.reset(new KaASFDOFGroup);
  }
  bool checkBlock() override { return block.nameSeen || fail("Name undefined in %s section."); }
  void endBlock() override { groups.append(block.group.release()); }
  Keyword readKeyword(const char* keyword) override;
};

bool DofgroupsReader::readName() {
  if (block.nameSeen) return fail("Duplicate name specification in %s section.");
  char token[KaASFTokenLength];
  tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
  block.group->name = token;
  block.nameSeen = true;
  return true;
}

bool DofgroupsReader::readDof() {
  if (block.limitsSeen) return fail("Limits defined before dof in %s section.");
  if (!block.nameSeen) return fail("Dof defined before name in %s section.");
  if (block.dofSeen) return fail("Duplicate dof specification in %s section.");
  KaASFDOFGroup list;
  readASFDofList(tokenizer, &groups, list);
  if (theExceptObj.errorOccurred()) {
    KtError("Unable to read dof in %s section.", kSection);
    return false;
  }
  block.group->setDOFs(list.dofs);
  block.dofSeen = true;
  return true;
}

bool DofgroupsReader::readLimits() {
  if (!block.dofSeen) return fail("Limits defined without the definition of dof in %s section.");
  if (!block.nameSeen) return fail("Limits defined before name in %s section.");
  if (block.limitsSeen) return fail("Duplicate limits specification in %s section.");
  readASFLimitsList(tokenizer, *block.group, angleFlag, kSection);
  if (theExceptObj.errorOccurred()) return false;
  block.limitsSeen = true;
  return true;
}

DofgroupsReader::Keyword DofgroupsReader::readKeyword(const char* keyword) {
  bool read;
  if (KtEqualNoCase(keyword, "name"))
    read = readName();
  else if (KtEqualNoCase(keyword, "dof"))
    read = readDof();
  else if (KtEqualNoCase(keyword, "limits"))
    read = readLimits();
  else
    return Unknown;
  return read ? Read : Failed;
}

}  // namespace

void KaASFReading::readDofgroupsSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>& groups,
                                        const KaASF& skeleton) {
  DofgroupsReader reader(tokenizer, groups, skeleton.header.angleInDegrees);
  readASFBlockSection(tokenizer, kSection, reader);
}
