#include "acclaim/KaASFBoneNames.h"

#include <string>
#include <unordered_map>

#include "toolkit/KtChars.h"
#include "toolkit/KtExcept.h"

bool KaASFCheckUniqueBoneNames(const KtList<KaASFBone*>& bones) {
  std::unordered_map<std::string, const KaASFBone*> seen;
  for (const KaASFBone* bone : bones) {
    std::string key = KtLowerCase(bone->name.text());
    if (key == "root") {
      KtError(
          "Bone \"%s\" (line %d) and the root have names that are equal without regard to "
          "case.",
          bone->name.text(), bone->line);
      return false;
    }
    auto found = seen.emplace(key, bone);
    if (!found.second) {
      const KaASFBone* first = found.first->second;
      KtError(
          "Bones \"%s\" (line %d) and \"%s\" (line %d) have names that are equal without "
          "regard to case.",
          first->name.text(), first->line, bone->name.text(), bone->line);
      return false;
    }
  }
  return true;
}
