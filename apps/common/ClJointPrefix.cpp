#include "apps/common/ClJointPrefix.h"

#include "apps/common/ClScriptName.h"
#include "toolkit/KtExcept.h"

bool ClTakeJointPrefixOption(int argc, const char* const* argv, int* i, KtStr* prefix) {
  if (*i + 1 >= argc) {
    KtError("Expecting value for -p option.");
    return false;
  }
  ++*i;
  *prefix = KtStr(argv[*i]);
  prefix->squeeze();
  return true;
}

bool ClCheckJointPrefix(const KtStr& prefix) {
  if (prefix.isEmpty()) return true;
  // Behind a letter the prefix is tested for its characters alone.
  KtStr afterLetter = "a";
  afterLetter += prefix;
  if (!ClIsScriptName(afterLetter)) {
    KtError("The prefix \"%s\" may hold only ASCII letters, digits and underscores.",
            prefix.text());
    return false;
  }
  if (!ClIsScriptName(prefix)) {
    KtError(
        "The prefix \"%s\" begins with a digit, but a joint name must begin with a letter or "
        "an underscore.",
        prefix.text());
    return false;
  }
  return true;
}

KtStr ClJointName(const KtStr& prefix, const char* name) {
  KtStr joint = prefix;
  joint += name;
  return joint;
}

void ClRecordUnsafeJointName(const KtStr& prefix, const char* name) {
  KtError(
      "Bone \"%s\" gives the joint name \"%s\", which may hold only ASCII letters, digits "
      "and underscores.",
      name, ClJointName(prefix, name).text());
}
