#include "toolkit/KtJointPrefix.h"

#include <ostream>

#include "toolkit/KtExcept.h"

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
