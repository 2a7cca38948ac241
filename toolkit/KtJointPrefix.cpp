#include "toolkit/KtJointPrefix.h"

#include <ostream>

#include "toolkit/KtExcept.h"
#include "toolkit/KtScriptName.h"

bool KtTakeJointPrefixOption(int argc, const char* const* argv, int* i, KtStr* prefix,
                             std::ostream& err) {
  if (*i + 1 >= argc) {
    err << "\nERROR: Expecting value for -p option.\n\n";
    return false;
  }
  ++*i;
  *prefix = KtStr(argv[*i]);
  prefix->squeeze();
  return true;
}

bool KtCheckJointPrefix(const KtStr& prefix) {
  if (prefix.isEmpty()) return true;
  // Behind a letter the prefix is tested for its characters alone.
  KtStr afterLetter = "a";
  afterLetter += prefix;
  if (!KtIsScriptName(afterLetter)) {
    KtError("The prefix \"%s\" may hold only ASCII letters, digits and underscores.",
            prefix.text());
    return false;
  }
  if (!KtIsScriptName(prefix)) {
    KtError(
        "The prefix \"%s\" begins with a digit, but a joint name must begin with a letter or "
        "an underscore.",
        prefix.text());
    return false;
  }
  return true;
}

KtStr KtJointName(const KtStr& prefix, const char* name) {
  KtStr joint = prefix;
  joint += name;
  return joint;
}

void KtRecordUnsafeJointName(const KtStr& prefix, const char* name) {
  KtError(
      "Bone \"%s\" gives the joint name \"%s\", which may hold only ASCII letters, digits "
      "and underscores.",
      name, KtJointName(prefix, name).text());
}
