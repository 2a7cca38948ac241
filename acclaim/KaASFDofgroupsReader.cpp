#include <strings.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>

#include "acclaim/KaASFReaderSections.h"
#include "toolkit/KtCancelHandler.h"
#include "toolkit/KtExcept.h"

float KaASFDegreesToRadians(float degrees) {
  return (float)(degrees * (M_PI / 180.0));
}

double KaASFRadiansToDegrees(float radians) {
  return (double)(radians * 180.0f) / M_PI;
}

KtArray<int> readASFAxisOrder(const char* text) {
  if (!text) {
    KtError("Unable to read axis orientation order.");
    return KtArray<int>();
  }
  KtArray<int> order(3, 0);
  for (int i = 0; i < 3; i++) {
    char c = (char)std::toupper((unsigned char)text[i]);
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
  KtListIter<KaASFDOFGroup*> it(groups);
  while (!it.atEnd()) {
    KaASFDOFGroup* group = *it.next();
    if (strcasecmp(group->name, name) == 0) return group;
  }
  return nullptr;
}

void appendGroupDofs(KaASFDOFGroup& target, KaASFDOFGroup* group) {
  KtListIter<KaASFDOF*> it(group->dofs);
  while (!it.atEnd()) target.dofs.append(new KaASFDOF((*it.next())->dof, group));
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

void readASFDofList(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>* groups, KaASFDOFGroup& target,
                    char* buffer) {
  bool pending = false;
  for (;;) {
    if (!pending) tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    pending = false;
    if (tokenizer.atEnd()) return;
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
    if (!group) return;
    tokenizer.getNextNonEOLToken(buffer, KaASFTokenLength);
    if (strcmp(buffer, "<") != 0) {
      appendGroupDofs(target, group);
      pending = true;
      continue;
    }
    if (!readGroupPicks(tokenizer, group, target, buffer)) return;
  }
}

void readASFLimitsList(ASFTokenizer& tokenizer, KaASFDOFGroup& target, int angleFlag,
                       const char* section, char* buffer, bool* pending) {
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
    if (tokenizer.atEnd() || !convertASFLimit(buffer, &lower)) {
      *pending = true;
      return;
    }
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

struct DofgroupsBlock {
  std::unique_ptr<KaASFDOFGroup> group;
  bool nameSeen = false;
  bool dofSeen = false;
  bool limitsSeen = false;
};

const char* const kSection = ":dofgroups";

}  // namespace

void readDofgroupsSection(ASFTokenizer& tokenizer, KtList<KaASFDOFGroup*>& groups,
                          const KaASF& skeleton) {
  char token[KaASFTokenLength];
  DofgroupsBlock block;
  bool pending = false;
  int completed = 0;
  auto fail = [&tokenizer](bool withLine) {
    if (withLine) addLineNumber(tokenizer);
  };
  for (;;) {
    if (!pending) tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
    pending = false;
    bool inBlock = block.group != nullptr;
    if (!tokenizer.atEnd() && ASFTokenizer::isEndOfSectionToken(token)) {
      if (inBlock) {
        KtError("Expected 'end' keyword in %s section.", kSection);
        return fail(true);
      }
      return;
    }
    if (strcasecmp(token, "begin") == 0 && !tokenizer.atEnd()) {
      if (inBlock) {
        KtError("Expected 'end' keyword in %s section.", kSection);
        return fail(true);
      }
      block = DofgroupsBlock();
      block.group.reset(new KaASFDOFGroup);
    } else if (strcasecmp(token, "end") == 0 && !tokenizer.atEnd()) {
      if (!inBlock) {
        KtError("Unexpected 'end' encountered in %s section.", kSection);
        return fail(true);
      }
      if (!block.nameSeen) {
        KtError("Name undefined in %s section.", kSection);
        return fail(true);
      }
      if (++completed % 10 == 0 && KtCancelHandler::checkCancel()) return;
      groups.append(block.group.release());
    } else if (!inBlock) {
      KtError("Data specified outside of begin/end pair in %s section.", kSection);
      return fail(true);
    } else if (strcasecmp(token, "name") == 0) {
      if (block.nameSeen) {
        KtError("Duplicate name specification in %s section.", kSection);
        return fail(true);
      }
      tokenizer.getNextNonEOLToken(token, KaASFTokenLength);
      block.group->name = token;
      block.nameSeen = true;
    } else if (strcasecmp(token, "dof") == 0) {
      if (block.limitsSeen) {
        KtError("Limits defined before dof in %s section.", kSection);
        return fail(true);
      }
      if (!block.nameSeen) {
        KtError("Dof defined before name in %s section.", kSection);
        return fail(true);
      }
      if (block.dofSeen) {
        KtError("Duplicate dof specification in %s section.", kSection);
        return fail(true);
      }
      KaASFDOFGroup list;
      readASFDofList(tokenizer, &groups, list, token);
      if (theExceptObj.errorOccurred()) {
        KtError("Unable to read dof in %s section.", kSection);
        return;
      }
      block.group->setDOFs(list.dofs);
      block.dofSeen = true;
      pending = true;
    } else if (strcasecmp(token, "limits") == 0) {
      if (!block.dofSeen) {
        KtError("Limits defined without the definition of dof in %s section.", kSection);
        return fail(true);
      }
      if (!block.nameSeen) {
        KtError("Limits defined before name in %s section.", kSection);
        return fail(true);
      }
      if (block.limitsSeen) {
        KtError("Duplicate limits specification in %s section.", kSection);
        return fail(true);
      }
      readASFLimitsList(tokenizer, *block.group, skeleton.header.angleInDegrees, kSection, token,
                        &pending);
      if (theExceptObj.errorOccurred()) return;
      block.limitsSeen = true;
    } else {
      KtError("Unexpected '%s' encountered in %s section.", token, kSection);
      return fail(true);
    }
  }
}
